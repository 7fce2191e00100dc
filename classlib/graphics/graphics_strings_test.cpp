#include "classlib/graphics/graphics_strings.h"

#include <gtest/gtest.h>

#include "classlib/core/resstrings.h"

TEST(GraphicsStrings, TextsByTheirFixedNumbers) {
    EXPECT_EQ(GraphicsStr(SInvalidBitmap), "Bitmap ist ung\xFCltig");
    EXPECT_EQ(LoadStr(65439), "Bitmap ist ung\xFCltig");
    EXPECT_EQ(GraphicsStr(SVJpegImages), "JPEG-Bilddatei");
    // Registering them leaves the class library's own texts alone.
    EXPECT_EQ(LoadStr(SReadError), "Stream-Read-Fehler");
    EXPECT_EQ(LoadStr(SHelpButton), "&Hilfe");
}
