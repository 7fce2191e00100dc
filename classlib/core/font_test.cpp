#include "classlib/core/font.h"

#include <gtest/gtest.h>

#include <climits>

#include "classlib/core/exceptions.h"

namespace {

TOwned<TFont> FontAt(int32_t ppi) {
    TOwned<TFont> font = MakeOwned<TFont>();
    font->SetPixelsPerInch(ppi);
    return font;
}

TEST(Font, SizeAndHeightAt96And120) {
    TOwned<TFont> font = FontAt(96);
    EXPECT_EQ(font->Size(), 8);  // the default height -11
    font->SetSize(18);
    EXPECT_EQ(font->Height(), -24);
    font->SetHeight(-13);
    EXPECT_EQ(font->Size(), 10);  // 9.75
    font->SetHeight(-6);
    EXPECT_EQ(font->Size(), 5) << "4.5 rounds away from zero";
    font->SetHeight(16);
    EXPECT_EQ(font->Size(), -12);

    font = FontAt(120);
    font->SetSize(8);
    EXPECT_EQ(font->Height(), -13);  // 13.33
    EXPECT_EQ(font->Size(), 8);      // 7.8
    font->SetPixelsPerInch(96);      // the height stays, the size follows
    EXPECT_EQ(font->Height(), -13);
    EXPECT_EQ(font->Size(), 10);
}

TEST(Font, PixelsPerInchOfZeroOrLessConvertsWithTheScreens) {
    int32_t saved = ScreenPixelsPerInch();
    SetScreenPixelsPerInch(120);
    EXPECT_EQ(MakeOwned<TFont>()->PixelsPerInch(), 120);
    for (int32_t ppi : {0, -96}) {
        TOwned<TFont> font = FontAt(ppi);
        font->SetSize(18);
        EXPECT_EQ(font->Height(), -30) << ppi;
        EXPECT_EQ(font->Size(), 18) << ppi;
    }
    SetScreenPixelsPerInch(0);
    EXPECT_EQ(ScreenPixelsPerInch(), 96);
    SetScreenPixelsPerInch(saved);
}

// Sizes and heights from a document may be anything: converting them
// saturates at +-INT32_MAX, and a size read back converts to the same one.
TEST(Font, SizesAndHeightsAtTheEndsOfTheRangeSaturate) {
    TOwned<TFont> font = FontAt(96);
    font->SetHeight(INT32_MIN);
    EXPECT_EQ(font->Size(), 1610612736);
    font->SetSize(INT32_MAX);
    EXPECT_EQ(font->Height(), -INT32_MAX);
    font->SetSize(INT32_MIN);
    EXPECT_EQ(font->Height(), INT32_MAX);
    EXPECT_EQ(font->Size(), -1610612735);

    TOwned<TFont> coarse = FontAt(36);
    coarse->SetSize(INT32_MAX);
    EXPECT_EQ(coarse->Height(), -1073741824);
    EXPECT_EQ(coarse->Size(), INT32_MAX);
    coarse->SetSize(INT32_MIN + 1);
    EXPECT_EQ(coarse->Size(), -INT32_MAX);

    for (int32_t ppi : {0, 1, 36, 96, 120, 5000, INT32_MAX}) {
        for (int32_t size : {INT32_MIN, INT32_MIN + 1, -7, 0, 1, 11, 1610612736, INT32_MAX}) {
            TOwned<TFont> first = FontAt(ppi);
            first->SetSize(size);
            TOwned<TFont> second = FontAt(ppi);
            second->SetSize(first->Size());
            EXPECT_EQ(second->Size(), first->Size()) << ppi << " " << size;
        }
    }
}

TEST(Font, AssignAcrossPixelsPerInchKeepsThePointSize) {
    TOwned<TFont> document = FontAt(120);
    document->SetName(std::string(300, 'x'));
    document->SetCharset(EASTEUROPE_CHARSET);
    document->SetColor(clNavy);
    document->SetPitch(fpVariable);
    document->SetStyle({fsBold, fsUnderline});
    document->SetSize(18);
    EXPECT_EQ(document->Height(), -30);

    TOwned<TFont> screen = FontAt(96);
    screen->Assign(document.get());
    EXPECT_EQ(screen->Height(), -24);
    EXPECT_EQ(screen->Size(), 18);
    EXPECT_EQ(screen->PixelsPerInch(), 96);
    EXPECT_EQ(screen->Name(), std::string(300, 'x'));
    EXPECT_EQ(screen->Charset(), EASTEUROPE_CHARSET);
    EXPECT_EQ(screen->Color(), clNavy);
    EXPECT_EQ(screen->Pitch(), fpVariable);
    EXPECT_EQ(screen->Style(), TFontStyles({fsBold, fsUnderline}));

    // Same pixels per inch: the height itself, which no whole size gives.
    document->SetPixelsPerInch(96);
    document->SetHeight(-13);
    screen->Assign(document.get());
    EXPECT_EQ(screen->Height(), -13);

    TOwned<TPersistent> other = MakeOwned<TPersistent>();
    EXPECT_THROW(screen->Assign(other.get()), EConvertError);
}

TEST(Font, OnChangeOncePerChange) {
    TOwned<TFont> font = FontAt(96);
    int changes = 0;
    font->OnChange = [&](TObject* sender) {
        EXPECT_EQ(sender, font.get());
        ++changes;
    };
    font->SetName("Arial");
    font->SetCharset(ANSI_CHARSET);
    font->SetColor(clRed);
    font->SetPitch(fpFixed);
    font->SetStyle({fsItalic});
    font->SetSize(12);
    font->SetPixelsPerInch(120);  // no change of the font
    EXPECT_EQ(changes, 6);

    font->SetName("Arial");
    font->SetHeight(font->Height());
    font->SetName("");  // ignored: a face must be named
    EXPECT_EQ(changes, 6);
    EXPECT_EQ(font->Name(), "Arial");

    TOwned<TFont> other = FontAt(120);
    font->Assign(other.get());
    EXPECT_EQ(changes, 7) << "one change for the whole Assign";
    font->Assign(other.get());
    EXPECT_EQ(changes, 7);
}

TEST(Font, PublishedProperties) {
    std::vector<std::string> names;
    for (const TPropInfo* p : TFont::StaticClass().Props()) names.push_back(p->Name);
    EXPECT_EQ(names, (std::vector<std::string>{"Charset", "Color", "Height", "Name", "Pitch", "Size", "Style"}));

    TOwned<TFont> font = FontAt(96);
    const TClassInfo& info = TFont::StaticClass();
    EXPECT_EQ(info.FindProp("Color")->PropType, TypeInfoColor());
    EXPECT_EQ(info.FindProp("Color")->Default, clWindowText);
    EXPECT_EQ(info.FindProp("Height")->Default, NoDefault);
    EXPECT_FALSE(info.FindProp("Size")->IsStored(*font));
    EXPECT_EQ(info.FindProp("Style")->PropType->CompType()->EnumName(fsStrikeOut), "fsStrikeOut");

    SetOrdProp(*font, *GetPropInfo(*font, "Size"), 18);
    EXPECT_EQ(font->Height(), -24);
    SetEnumProp(*font, "Pitch", "fpFixed");
    EXPECT_EQ(font->Pitch(), fpFixed);
    // Layouts carry the character set as a plain integer: out of range is
    // refused, not cut to a byte.
    const TPropInfo& charset = *GetPropInfo(*font, "Charset");
    EXPECT_EQ(charset.PropType, TypeInfoFontCharset());
    SetOrdProp(*font, charset, OEM_CHARSET);
    EXPECT_THROW(SetOrdProp(*font, charset, 256 + ANSI_CHARSET), EReadError);
    EXPECT_THROW(SetOrdProp(*font, charset, -1), EReadError);
    EXPECT_EQ(font->Charset(), OEM_CHARSET);
}

}  // namespace
