#include "classlib/dialogs/message_dialogs.h"

#include <gtest/gtest.h>

#include "classlib/gui/application.h"
#include "classlib/dialogs/dialog_test_support.h"

namespace {

TEST(MessageDlg, FlagsNameTheIconAndTheBestFittingButtons) {
    EXPECT_EQ(MessageDlgFlags(mtError, mbOKCancel), static_cast<unsigned>(MB_OKCANCEL | MB_ICONERROR));
    EXPECT_EQ(MessageDlgFlags(mtCustom, {mbRetry, mbCancel, mbHelp}), static_cast<unsigned>(MB_RETRYCANCEL | MB_HELP));
    // Buttons the system lacks are left out, never replaced by others.
    EXPECT_EQ(MessageDlgFlags(mtCustom, {mbYes, mbNo, mbYesToAll, mbNoToAll}), static_cast<unsigned>(MB_YESNO));
    EXPECT_EQ(MessageDlgFlags(mtInformation, {mbOK, mbAll}), static_cast<unsigned>(MB_OK | MB_ICONINFORMATION));
    EXPECT_THROW(MessageDlgFlags(mtCustom, {mbNo}), EInvalidOperation);
    EXPECT_THROW(MessageDlgFlags(mtCustom, {mbYesToAll, mbHelp}), EInvalidOperation);
}

TEST(MessageDlg, ShowsThroughTheSeamAndReturnsTheButtonPressed) {
    TScriptedInteraction seam;
    seam.BoxAnswers = {IDNO, IDCANCEL};
    EXPECT_EQ(MessageDlg("Save changes?", mtConfirmation, mbYesNoCancel, 0), mrNo);
    EXPECT_EQ(MessageDlg("Save changes?", mtWarning, mbYesNoCancel, 0), mrCancel);
    ASSERT_EQ(seam.Boxes.size(), 2u);
    EXPECT_EQ(seam.Boxes[0].Text, "Save changes?");
    EXPECT_EQ(seam.Boxes[0].Caption, "Best\xE4tigen");
    EXPECT_EQ(seam.Boxes[0].Flags, static_cast<unsigned>(MB_YESNOCANCEL | MB_ICONQUESTION));
    EXPECT_EQ(seam.Boxes[1].Caption, "Warnung");

    ShowMessage("Done");
    ASSERT_EQ(seam.Boxes.size(), 3u);
    EXPECT_EQ(seam.Boxes[2].Caption, Application->Title());
    EXPECT_EQ(seam.Boxes[2].Flags, static_cast<unsigned>(MB_OK));
}

TEST(MessageDlg, AnAnswerThatWasNotOfferedIsNoChoiceOfTheUser) {
    TScriptedInteraction seam;
    seam.BoxAnswers = {0, IDOK};
    EXPECT_THROW(MessageDlg("Delete?", mtConfirmation, {mbYes, mbNo}, 0), EOSError);
    EXPECT_THROW(MessageDlg("Delete?", mtConfirmation, {mbYes, mbNo}, 0), EOSError);
}

}  // namespace
