#include "classlib/core/resstrings.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

TEST(ResStrings, GermanTextsByNumber) {
    EXPECT_EQ(LoadStr(SEndOfFile), "Lesen \xFC" "ber Dateiende hinaus");
    EXPECT_EQ(LoadStr(SFileNotOpen), "Datei nicht ge\xF6" "ffnet");
    EXPECT_EQ(LoadStr(SInOutError), "E/A-Fehler %d");
    EXPECT_EQ(LoadStr(SInvalidOp), "Ung\xFCltige Gleitkommaoperation");
    EXPECT_EQ(LoadStr(12345), "");
}

TEST(ResStrings, NumbersOtherCodeRefersTo) {
    EXPECT_EQ(LoadStr(65448), "Stream-Read-Fehler");
    EXPECT_EQ(LoadStr(65335), "Ung\xFCltiger Dateiname - %s");
    EXPECT_EQ(LoadStr(65383), "&Hilfe");
    // Kept free for the themed buttons' captions.
    for (int number = 65283; number <= 65292; ++number) EXPECT_EQ(LoadStr(number), "") << number;
}

TEST(ResStrings, RegisteredTablesAddAndReplace) {
    RegisterResourceStrings({{70001, "eins"}, {70002, nullptr}});
    EXPECT_EQ(LoadStr(70001), "eins");
    EXPECT_EQ(LoadStr(70002), "");
    RegisterResourceStrings({{70001, "zwei"}});
    EXPECT_EQ(LoadStr(70001), "zwei");
}

TEST(ResStrings, LookupsWhileAnotherThreadRegisters) {
    std::thread writer([] {
        for (int i = 0; i < 2000; ++i) RegisterResourceStrings({{71000 + i % 50, "x"}});
    });
    for (int i = 0; i < 2000; ++i) ASSERT_EQ(LoadStr(SDiskFull), "Disk voll");
    writer.join();
    EXPECT_EQ(LoadStr(71049), "x");
}
