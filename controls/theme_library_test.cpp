#include "controls/theme_library.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

namespace seam = theme_library_testing;

bool TableEmpty() {
    const auto* slots = reinterpret_cast<const FARPROC*>(&ThemeEntries);
    return std::all_of(slots, slots + ThemeEntryPointCount, [](FARPROC p) { return p == nullptr; });
}

// Each test starts and ends with the unit stopped and the real name.
class ThemeLibrary : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(seam::ReferenceCount(), 0);
        StartThemeLibraryUnit();
    }
    void TearDown() override {
        StopThemeLibraryUnit();
        seam::SetLibraryName(nullptr);
    }
};

TEST_F(ThemeLibrary, AMissingLibraryIsTriedAtEveryAcquisitionAndNeverFreed) {
    seam::SetLibraryName("no_such_theme_library.dll");
    const int loads = seam::LoadAttempts(), frees = seam::FreeCalls();
    for (int i = 0; i < 3; ++i) EXPECT_FALSE(AcquireThemeLibrary());
    EXPECT_EQ(seam::ReferenceCount(), 3);
    EXPECT_EQ(seam::LoadAttempts(), loads + 3);
    EXPECT_FALSE(ThemesActive());
    EXPECT_TRUE(TableEmpty());
    StopThemeLibraryUnit();
    StartThemeLibraryUnit();  // for TearDown
    EXPECT_EQ(seam::ReferenceCount(), 0);
    EXPECT_EQ(seam::FreeCalls(), frees);
}

TEST_F(ThemeLibrary, ALibraryWithoutTheEntriesIsNeverActive) {
    seam::SetLibraryName("msimg32.dll");
    ASSERT_TRUE(AcquireThemeLibrary());
    EXPECT_EQ(ThemeEntries.IsAppThemed, nullptr);
    EXPECT_FALSE(ThemesActive());
    ReleaseThemeLibrary();
    EXPECT_EQ(seam::LibraryHandle(), nullptr);
}

TEST_F(ThemeLibrary, TheLastReleaseUnloadsAndClearsEveryEntry) {
    const int loads = seam::LoadAttempts();
    ASSERT_TRUE(AcquireThemeLibrary());
    ASSERT_TRUE(AcquireThemeLibrary());
    EXPECT_EQ(seam::LoadAttempts(), loads + 1);
    EXPECT_NE(ThemeEntries.OpenThemeData, nullptr);
    EXPECT_NE(ThemeEntries.IsAppThemed, nullptr);
    ReleaseThemeLibrary();
    EXPECT_NE(seam::LibraryHandle(), nullptr);
    EXPECT_NE(ThemeEntries.DrawThemeBackground, nullptr);
    ReleaseThemeLibrary();
    EXPECT_EQ(seam::LibraryHandle(), nullptr);
    EXPECT_TRUE(TableEmpty());
    ReleaseThemeLibrary();  // at 0 nothing changes
    EXPECT_EQ(seam::ReferenceCount(), 0);
}

int isThemeActiveCalls = 0;
BOOL WINAPI NotThemed() { return FALSE; }
BOOL WINAPI Themed() { return TRUE; }
BOOL WINAPI CountedActive() {
    ++isThemeActiveCalls;
    return TRUE;
}

TEST_F(ThemeLibrary, AnUnthemedApplicationSkipsTheActiveQuestion) {
    ASSERT_TRUE(AcquireThemeLibrary());
    ThemeEntries.IsAppThemed = NotThemed;
    ThemeEntries.IsThemeActive = CountedActive;
    isThemeActiveCalls = 0;
    EXPECT_FALSE(ThemesActive());
    EXPECT_EQ(isThemeActiveCalls, 0);
    ThemeEntries.IsAppThemed = Themed;
    EXPECT_TRUE(ThemesActive());
    EXPECT_EQ(isThemeActiveCalls, 1);
    ThemeEntries.IsThemeActive = nullptr;
    EXPECT_FALSE(ThemesActive());
    ReleaseThemeLibrary();
}

TEST_F(ThemeLibrary, AfterShutDownNothingIsActiveOrBound) {
    ASSERT_TRUE(AcquireThemeLibrary());
    StopThemeLibraryUnit();
    EXPECT_FALSE(ThemesActive());
    EXPECT_TRUE(TableEmpty());
    EXPECT_EQ(seam::ReferenceCount(), 0);
    StartThemeLibraryUnit();
}

}  // namespace
