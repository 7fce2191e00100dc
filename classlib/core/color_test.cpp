#include "color.h"

#include <gtest/gtest.h>

#include "exceptions.h"

namespace {

// Installs a provider for one test and restores the previous one.
class TSysColorScope {
public:
    explicit TSysColorScope(TSysColorProvider provider) : previous_(SetSysColorProvider(std::move(provider))) {}
    ~TSysColorScope() { SetSysColorProvider(std::move(previous_)); }

private:
    TSysColorProvider previous_;
};

TEST(Color, SystemColoursResolveThroughTheProvider) {
    int asked = -1;
    TSysColorScope scope([&](int index) {
        asked = index;
        return TColor(0x123456);
    });
    EXPECT_EQ(ColorToRGB(clBtnFace), 0x123456);
    EXPECT_EQ(asked, 15);
    EXPECT_EQ(ColorToRGB(clInfoBk), 0x123456);
    EXPECT_EQ(asked, 24);

    asked = -1;
    EXPECT_EQ(ColorToRGB(0xD8E9EC), 0xD8E9EC);
    EXPECT_EQ(ColorToRGB(clNone), clNone);
    EXPECT_EQ(asked, -1) << "plain colours never reach the provider";
}

TEST(Color, BuiltInTableWithoutProvider) {
    TSysColorScope scope(nullptr);
    EXPECT_EQ(ColorToRGB(clWindow), clWhite);
    EXPECT_EQ(ColorToRGB(clWindowText), clBlack);
    EXPECT_EQ(ColorToRGB(clBtnFace), 0xC8D0D4);
    EXPECT_EQ(ColorToRGB(SysColor(200)), clBlack) << "unknown index";
}

TEST(Color, IdentifiersBothWays) {
    std::string ident;
    ASSERT_TRUE(ColorToIdent(clBtnFace, ident));
    EXPECT_EQ(ident, "clBtnFace");
    ASSERT_TRUE(ColorToIdent(clSilver, ident));
    EXPECT_EQ(ident, "clSilver") << "the alias clLtGray is never written";
    EXPECT_FALSE(ColorToIdent(0x123456, ident));

    int32_t color = 0;
    ASSERT_TRUE(IdentToColor("CLBTNFACE", color));
    EXPECT_EQ(color, static_cast<int32_t>(0x8000000F));
    ASSERT_TRUE(IdentToColor("clLtGray", color));
    EXPECT_EQ(color, 0xC0C0C0);
    EXPECT_FALSE(IdentToColor("clBtnFaces", color));
}

TEST(Color, StringForms) {
    EXPECT_EQ(ColorToString(0xD8E9EC), "$00D8E9EC");
    EXPECT_EQ(ColorToString(clWindowText), "clWindowText");
    EXPECT_EQ(ColorToString(SysColor(0x40)), "$80000040");
    EXPECT_EQ(ColorToString(clNone), "clNone");

    EXPECT_EQ(StringToColor("clRed"), clRed);
    EXPECT_EQ(StringToColor("$00D8E9EC"), 0xD8E9EC);
    EXPECT_EQ(StringToColor("$80000005"), clWindow);
    EXPECT_EQ(StringToColor("-2147483633"), clBtnFace);
    EXPECT_EQ(StringToColor("255"), clRed);
    EXPECT_THROW(StringToColor("clRot"), EConvertError);
    EXPECT_THROW(StringToColor(""), EConvertError);
}

TEST(Color, TypeInfosFileByIdentifier) {
    const TTypeInfo* color = TypeInfoColor();
    EXPECT_EQ(color->Kind, tkInteger);
    EXPECT_EQ(color->Name, "TColor");
    std::string ident;
    ASSERT_TRUE(color->IntToIdent(clBtnFace, ident));
    EXPECT_EQ(ident, "clBtnFace");

    const TTypeInfo* charset = TypeInfoFontCharset();
    EXPECT_EQ(charset->Name, "TFontCharset");
    EXPECT_EQ(charset->MinValue, 0);
    EXPECT_EQ(charset->MaxValue, 255);
    int32_t value = 0;
    ASSERT_TRUE(charset->IdentToInt("easteurope_charset", value));
    EXPECT_EQ(value, 238);

    const TTypeInfo* cursor = TypeInfoCursor();
    EXPECT_EQ(cursor->Name, "TCursor");
    EXPECT_EQ(cursor->MinValue, -32768);
    ASSERT_TRUE(cursor->IntToIdent(crHandPoint, ident));
    EXPECT_EQ(ident, "crHandPoint");
}

TEST(Color, CharsetIdentifiers) {
    std::string ident;
    const std::pair<int32_t, const char*> known[] = {
        {0, "ANSI_CHARSET"}, {1, "DEFAULT_CHARSET"}, {2, "SYMBOL_CHARSET"}, {77, "MAC_CHARSET"},
        {128, "SHIFTJIS_CHARSET"}, {161, "GREEK_CHARSET"}, {204, "RUSSIAN_CHARSET"}, {255, "OEM_CHARSET"}};
    for (const auto& [value, name] : known) {
        ASSERT_TRUE(CharsetToIdent(value, ident)) << value;
        EXPECT_EQ(ident, name);
        int32_t back = -1;
        ASSERT_TRUE(IdentToCharset(name, back));
        EXPECT_EQ(back, value);
    }
    EXPECT_FALSE(CharsetToIdent(3, ident));
    int32_t value;
    EXPECT_FALSE(IdentToCharset("LATIN_CHARSET", value));
}

TEST(Color, CursorIdentifiers) {
    std::string ident;
    ASSERT_TRUE(CursorToIdent(crSizeAll, ident));
    EXPECT_EQ(ident, "crSizeAll") << "crSize shares the value and is read only";
    ASSERT_TRUE(CursorToIdent(crNone, ident));
    EXPECT_EQ(ident, "crNone");
    ASSERT_TRUE(CursorToIdent(crDefault, ident));
    EXPECT_EQ(ident, "crDefault");
    EXPECT_FALSE(CursorToIdent(-5, ident));
    EXPECT_FALSE(CursorToIdent(1, ident));

    int32_t cursor = 0;
    ASSERT_TRUE(IdentToCursor("crSize", cursor));
    EXPECT_EQ(cursor, -22);
    ASSERT_TRUE(IdentToCursor("CRHOURGLASS", cursor));
    EXPECT_EQ(cursor, -11);
    EXPECT_FALSE(IdentToCursor("crWait", cursor));
}

}  // namespace
