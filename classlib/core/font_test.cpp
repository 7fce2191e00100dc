#include "font.h"

#include <gtest/gtest.h>

#include "exceptions.h"

namespace {

TOwned<TFont> FontAt(int32_t ppi) {
    TOwned<TFont> font = MakeOwned<TFont>();
    font->SetPixelsPerInch(ppi);
    return font;
}

// Sets the screen's pixels per inch for one test.
class TScreenPpiScope {
public:
    explicit TScreenPpiScope(int32_t ppi) : saved_(ScreenPixelsPerInch()) { SetScreenPixelsPerInch(ppi); }
    ~TScreenPpiScope() { SetScreenPixelsPerInch(saved_); }

private:
    int32_t saved_;
};

TEST(Font, Defaults) {
    TScreenPpiScope screen(96);
    TOwned<TFont> font = MakeOwned<TFont>();
    EXPECT_EQ(font->Name(), "MS Sans Serif");
    EXPECT_EQ(font->Charset(), DEFAULT_CHARSET);
    EXPECT_EQ(font->Color(), clWindowText);
    EXPECT_EQ(font->Pitch(), fpDefault);
    EXPECT_TRUE(font->Style().Empty());
    EXPECT_EQ(font->Height(), -11);
    EXPECT_EQ(font->Size(), 8);
    EXPECT_EQ(font->PixelsPerInch(), 96);
}

TEST(Font, NewFontsTakeTheScreensPixelsPerInch) {
    TScreenPpiScope screen(120);
    EXPECT_EQ(MakeOwned<TFont>()->PixelsPerInch(), 120);
    SetScreenPixelsPerInch(0);
    EXPECT_EQ(ScreenPixelsPerInch(), 96);
}

TEST(Font, SizeAndHeightAt96And120) {
    TOwned<TFont> font = FontAt(96);
    font->SetSize(8);
    EXPECT_EQ(font->Height(), -11);  // 10.67 rounds up
    font->SetSize(18);
    EXPECT_EQ(font->Height(), -24);
    font->SetHeight(-13);
    EXPECT_EQ(font->Size(), 10);  // 9.75
    font->SetHeight(-6);
    EXPECT_EQ(font->Size(), 5) << "4.5 rounds away from zero";
    font->SetHeight(16);  // positive heights give negative sizes
    EXPECT_EQ(font->Size(), -12);

    font = FontAt(120);
    font->SetSize(18);
    EXPECT_EQ(font->Height(), -30);
    EXPECT_EQ(font->Size(), 18);
    font->SetSize(8);
    EXPECT_EQ(font->Height(), -13);  // 13.33
    EXPECT_EQ(font->Size(), 8);      // 7.8
}

TEST(Font, ChangingPixelsPerInchKeepsHeight) {
    TOwned<TFont> font = FontAt(120);
    font->SetSize(18);
    int changes = 0;
    font->OnChange = [&](TObject*) { ++changes; };
    font->SetPixelsPerInch(96);
    EXPECT_EQ(font->Height(), -30);
    EXPECT_EQ(font->Size(), 23);  // 22.5
    EXPECT_EQ(changes, 0);
}

TEST(Font, PixelsPerInchOfZeroOrLessConvertsWithTheScreens) {
    TScreenPpiScope screen(120);
    for (int32_t ppi : {0, -96}) {
        TOwned<TFont> font = FontAt(ppi);
        font->SetSize(18);
        EXPECT_EQ(font->Height(), -30) << ppi;
        EXPECT_EQ(font->Size(), 18) << ppi;
        EXPECT_EQ(font->PixelsPerInch(), ppi) << "the stored value stays as set";
    }
}

TEST(Font, AssignAcrossPixelsPerInchKeepsThePointSize) {
    TOwned<TFont> document = FontAt(120);
    document->SetName("Arial");
    document->SetCharset(EASTEUROPE_CHARSET);
    document->SetColor(clNavy);
    document->SetPitch(fpVariable);
    document->SetStyle({fsBold, fsUnderline});
    document->SetSize(18);

    TOwned<TFont> screen = FontAt(96);
    screen->Assign(document.get());
    EXPECT_EQ(screen->Height(), -24);
    EXPECT_EQ(screen->Size(), 18);
    EXPECT_EQ(screen->PixelsPerInch(), 96);
    EXPECT_EQ(screen->Name(), "Arial");
    EXPECT_EQ(screen->Charset(), EASTEUROPE_CHARSET);
    EXPECT_EQ(screen->Color(), clNavy);
    EXPECT_EQ(screen->Pitch(), fpVariable);
    EXPECT_EQ(screen->Style(), TFontStyles({fsBold, fsUnderline}));

    // Same pixels per inch: the height itself, which the size could not
    // reproduce (-13 at 96 is 9.75 pt).
    TOwned<TFont> same = FontAt(96);
    document->SetPixelsPerInch(96);
    document->SetHeight(-13);
    same->Assign(document.get());
    EXPECT_EQ(same->Height(), -13);
}

TEST(Font, AssignFromOtherClassesIsRefused) {
    TOwned<TFont> font = MakeOwned<TFont>();
    TOwned<TPersistent> other = MakeOwned<TPersistent>();
    EXPECT_THROW(font->Assign(other.get()), EConvertError);
    EXPECT_THROW(font->Assign(nullptr), EConvertError);
    font->Assign(font.get());
    EXPECT_EQ(font->Name(), "MS Sans Serif");
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
    font->SetHeight(-20);
    font->SetSize(12);
    EXPECT_EQ(changes, 7);

    // Equal values are no change.
    font->SetName("Arial");
    font->SetColor(clRed);
    font->SetSize(12);
    font->SetName("");
    EXPECT_EQ(changes, 7);
    EXPECT_EQ(font->Name(), "Arial");

    TOwned<TFont> other = FontAt(96);
    font->Assign(other.get());
    EXPECT_EQ(changes, 8) << "one change for the whole Assign";
    font->Assign(other.get());
    EXPECT_EQ(changes, 8);
}

TEST(Font, LongNamesAreKeptWhole) {
    TOwned<TFont> font = MakeOwned<TFont>();
    std::string name(300, 'x');
    font->SetName(name);
    EXPECT_EQ(font->Name(), name);
}

TEST(Font, PublishedProperties) {
    std::vector<std::string> names;
    for (const TPropInfo* p : TFont::StaticClass().Props()) names.push_back(p->Name);
    EXPECT_EQ(names, (std::vector<std::string>{"Charset", "Color", "Height", "Name", "Pitch", "Size", "Style"}));

    const TClassInfo& info = TFont::StaticClass();
    TOwned<TFont> font = MakeOwned<TFont>();
    EXPECT_EQ(info.FindProp("Charset")->PropType, TypeInfoFontCharset());
    EXPECT_EQ(info.FindProp("Charset")->Default, DEFAULT_CHARSET);
    EXPECT_EQ(info.FindProp("Color")->PropType, TypeInfoColor());
    EXPECT_EQ(info.FindProp("Color")->Default, clWindowText);
    EXPECT_EQ(info.FindProp("Height")->Default, NoDefault);
    EXPECT_EQ(info.FindProp("Pitch")->PropType, TypeInfo<TFontPitch>());
    EXPECT_EQ(info.FindProp("Pitch")->Default, fpDefault);
    EXPECT_FALSE(info.FindProp("Size")->IsStored(*font));
    EXPECT_EQ(info.FindProp("Style")->PropType->Kind, tkSet);
    EXPECT_EQ(info.FindProp("Style")->PropType->CompType()->EnumNames,
              (std::vector<std::string>{"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"}));
    EXPECT_EQ(info.FindProp("Style")->Default, 0);
    EXPECT_TRUE(info.CanCreate());
}

TEST(Font, PropertiesByRecord) {
    TOwned<TFont> font = FontAt(96);
    SetOrdProp(*font, *GetPropInfo(*font, "Style"), TFontStyles({fsBold, fsStrikeOut}).Bits());
    EXPECT_EQ(font->Style(), TFontStyles({fsBold, fsStrikeOut}));
    SetEnumProp(*font, "Pitch", "fpFixed");
    EXPECT_EQ(font->Pitch(), fpFixed);
    SetOrdProp(*font, *GetPropInfo(*font, "Size"), 18);
    EXPECT_EQ(font->Height(), -24);
    SetStrProp(*font, *GetPropInfo(*font, "Name"), "Verdana");
    EXPECT_EQ(font->Name(), "Verdana");

    const TPropInfo& charset = *GetPropInfo(*font, "Charset");
    SetOrdProp(*font, charset, OEM_CHARSET);
    EXPECT_EQ(GetOrdProp(*font, charset), 255);
    EXPECT_THROW(SetOrdProp(*font, charset, 256), EReadError);
    EXPECT_THROW(SetOrdProp(*font, charset, -1), EReadError);
    EXPECT_EQ(font->Charset(), OEM_CHARSET);
}

}  // namespace
