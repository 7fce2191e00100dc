#include "classlib/gui/shortcuts.h"

#include <gtest/gtest.h>

namespace {

TEST(ShortCutToText, ModifiersComeInTheOrderShiftCtrlAlt) {
    EXPECT_EQ(ShortCutToText(scCtrl | 'A'), "Strg+A");
    EXPECT_EQ(ShortCutToText(scShift | scCtrl | scAlt | 'A'), "Umsch+Strg+Alt+A");
    EXPECT_EQ(ShortCutToText(scAlt | '7'), "Alt+7");
    EXPECT_EQ(ShortCutToText(scCtrl | VK_F5), "Strg+F5");
    EXPECT_EQ(ShortCutToText(scShift | VK_DELETE), "Umsch+Entf");
    EXPECT_EQ(ShortCutToText(VK_F24), "F24");
}

TEST(ShortCutToText, KeysWithoutANameGiveNoText) {
    // Key names beyond the fixed ones come from the system's keyboard.
    UINT scan = MapVirtualKeyA(VK_NUMPAD1, 0);
    char name[256] = {};
    int n = scan ? GetKeyNameTextA(static_cast<LONG>(scan << 16), name, sizeof name) : 0;
    std::string expected = n > 0 ? std::string("Strg+") + name : std::string();
    EXPECT_EQ(ShortCutToText(scCtrl | VK_NUMPAD1), expected);
    EXPECT_EQ(ShortCutToText(scCtrl | 0x07), "") << "an unassigned key: no modifiers alone";
    EXPECT_EQ(ShortCutToText(0), "");
}

TEST(ShortCut, KeyAndShiftStateRoundTrip) {
    TShortCut sc = ShortCut('S', TShiftState{ssCtrl, ssShift});
    EXPECT_EQ(sc, scCtrl | scShift | 'S');
    WORD key = 0;
    TShiftState shift;
    ShortCutToKey(sc, key, shift);
    EXPECT_EQ(key, 'S');
    EXPECT_EQ(shift, (TShiftState{ssCtrl, ssShift}));
    EXPECT_EQ(ShortCut(0x1234, {}), scNone) << "a key above one byte has no shortcut";
}

}  // namespace
