#include "classlib/dialogs/color_dialog.h"

#include <gtest/gtest.h>

#include <commdlg.h>

#include <array>

#include "classlib/dialogs/dialog_test_support.h"

namespace {

TEST(ColorDialog, ExecuteHandsOverColourAndCustomColoursAndTakesTheAnswer) {
    TScriptedInteraction seam;
    auto dialog = MakeOwned<TColorDialog>(nullptr);
    dialog->SetColor(clRed);
    dialog->SetOptions({cdFullOpen, cdAnyColor});
    dialog->CustomColors()->Add("ColorB=00FF00");
    dialog->CustomColors()->Add("Note=kept");
    dialog->CustomColors()->Add("ColorA=123456");

    CHOOSECOLORA seen{};
    std::array<COLORREF, 16> custom{};
    seam.DialogAnswers.push_back([&](TCommonDialogKind, void* data) {
        auto* cc = static_cast<CHOOSECOLORA*>(data);
        seen = *cc;
        std::copy(cc->lpCustColors, cc->lpCustColors + 16, custom.begin());
        cc->rgbResult = RGB(0x10, 0x20, 0x30);
        cc->lpCustColors[2] = RGB(0xAB, 0xCD, 0xEF);
        return true;
    });
    ASSERT_TRUE(dialog->Execute());
    EXPECT_EQ(seam.Dialogs, std::vector<TCommonDialogKind>{cdkColor});
    EXPECT_EQ(seen.lStructSize, sizeof(CHOOSECOLORA));
    EXPECT_EQ(seen.rgbResult, RGB(255, 0, 0));
    EXPECT_EQ(seen.Flags, static_cast<DWORD>(CC_RGBINIT | CC_FULLOPEN | CC_ANYCOLOR));
    EXPECT_EQ(custom[0], 0x123456u);
    EXPECT_EQ(custom[1], RGB(0, 0xFF, 0));
    EXPECT_EQ(custom[2], RGB(255, 255, 255));  // not given: white
    EXPECT_EQ(custom[15], RGB(255, 255, 255));

    EXPECT_EQ(dialog->Color(), static_cast<TColor>(RGB(0x10, 0x20, 0x30)));
    TStrings* colors = dialog->CustomColors();
    EXPECT_EQ(colors->Values("ColorA"), "123456");
    EXPECT_EQ(colors->Values("ColorB"), "00FF00");
    EXPECT_EQ(colors->Values("ColorC"), "EFCDAB");
    EXPECT_EQ(colors->Values("ColorP"), "FFFFFF");
    EXPECT_EQ(colors->Values("Note"), "kept");
    EXPECT_EQ(colors->Count(), 17);
}

TEST(ColorDialog, CancelAndAnUnchangedSystemColourKeepTheValues) {
    TScriptedInteraction seam;
    auto dialog = MakeOwned<TColorDialog>(nullptr);
    dialog->SetColor(clBtnFace);
    seam.DialogAnswers.push_back([](TCommonDialogKind, void* data) {
        auto* cc = static_cast<CHOOSECOLORA*>(data);
        cc->rgbResult = RGB(1, 2, 3);
        cc->lpCustColors[0] = RGB(1, 2, 3);
        return false;
    });
    EXPECT_FALSE(dialog->Execute());
    EXPECT_EQ(dialog->Color(), clBtnFace);
    EXPECT_EQ(dialog->CustomColors()->Count(), 0);

    COLORREF shown = 0;
    seam.DialogAnswers.push_back([&](TCommonDialogKind, void* data) {
        shown = static_cast<CHOOSECOLORA*>(data)->rgbResult;
        return true;
    });
    EXPECT_TRUE(dialog->Execute());
    EXPECT_EQ(shown, static_cast<COLORREF>(ColorToRGB(clBtnFace)));
    EXPECT_EQ(dialog->Color(), clBtnFace);
}

TEST(ColorDialog, ABadCustomColourIsReportedBeforeAnythingIsShown) {
    TScriptedInteraction seam;
    auto dialog = MakeOwned<TColorDialog>(nullptr);
    for (const char* bad : {"ColorD=blue", "ColorD=1FFFFFF", "ColorD=-1", "ColorD=$FF"}) {
        dialog->CustomColors()->SetText(bad);
        EXPECT_THROW(dialog->Execute(), EConvertError) << bad;
        EXPECT_EQ(dialog->CustomColors()->Text(), std::string(bad) + "\r\n");
    }
    EXPECT_TRUE(seam.Dialogs.empty());
}

}  // namespace
