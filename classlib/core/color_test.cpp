#include "classlib/core/color.h"

#include <gtest/gtest.h>

#include "classlib/core/exceptions.h"

namespace {

TEST(Color, SystemColoursResolveThroughTheProvider) {
    int asked = -1;
    TSysColorProvider previous = SetSysColorProvider([&](int index) {
        asked = index;
        return TColor(0x123456);
    });
    EXPECT_EQ(ColorToRGB(clBtnFace), 0x123456);
    EXPECT_EQ(asked, 15);
    asked = -1;
    EXPECT_EQ(ColorToRGB(0xD8E9EC), 0xD8E9EC);
    EXPECT_EQ(ColorToRGB(clNone), clNone);
    EXPECT_EQ(asked, -1) << "plain colours never reach the provider";

    SetSysColorProvider(nullptr);  // the built-in classic scheme
    EXPECT_EQ(ColorToRGB(clWindow), clWhite);
    EXPECT_EQ(ColorToRGB(clBtnFace), 0xC8D0D4);
    EXPECT_EQ(ColorToRGB(SysColor(200)), clBlack) << "unknown index";
    SetSysColorProvider(std::move(previous));
}

TEST(Color, IdentifiersAndStrings) {
    std::string ident;
    ASSERT_TRUE(ColorToIdent(clSilver, ident));
    EXPECT_EQ(ident, "clSilver") << "the alias clLtGray is never written";
    int32_t color = 0;
    ASSERT_TRUE(IdentToColor("CLLTGRAY", color));
    EXPECT_EQ(color, clSilver);

    EXPECT_EQ(ColorToString(0xD8E9EC), "$00D8E9EC");
    EXPECT_EQ(ColorToString(clWindowText), "clWindowText");
    EXPECT_EQ(ColorToString(SysColor(0x40)), "$80000040");
    EXPECT_EQ(StringToColor("clbtnface"), static_cast<TColor>(0x8000000F));
    EXPECT_EQ(StringToColor("$00D8E9EC"), 0xD8E9EC);
    EXPECT_EQ(StringToColor("-2147483633"), clBtnFace);
    EXPECT_THROW(StringToColor("clRot"), EConvertError);
    EXPECT_THROW(StringToColor(""), EConvertError);

    std::string written;
    ASSERT_TRUE(TypeInfoColor()->IntToIdent(clBtnFace, written));
    EXPECT_EQ(written, "clBtnFace");
}

TEST(Color, CharsetsAndCursors) {
    std::string ident;
    int32_t value = -1;
    ASSERT_TRUE(CharsetToIdent(EASTEUROPE_CHARSET, ident));
    EXPECT_EQ(ident, "EASTEUROPE_CHARSET");
    ASSERT_TRUE(TypeInfoFontCharset()->IdentToInt("oem_charset", value));
    EXPECT_EQ(value, 255);
    EXPECT_FALSE(CharsetToIdent(3, ident));
    EXPECT_EQ(TypeInfoFontCharset()->MaxValue, 255);

    ASSERT_TRUE(CursorToIdent(-22, ident));
    EXPECT_EQ(ident, "crSizeAll") << "crSize shares the value and is only read";
    ASSERT_TRUE(IdentToCursor("crSize", value));
    EXPECT_EQ(value, crSizeAll);
    ASSERT_TRUE(TypeInfoCursor()->IntToIdent(crNone, ident));
    EXPECT_EQ(ident, "crNone");
    EXPECT_FALSE(CursorToIdent(-5, ident));
}

}  // namespace
