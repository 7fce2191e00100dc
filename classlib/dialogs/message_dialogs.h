// The class library's message boxes: MessageDlg and ShowMessage, shown by
// the system's message box through the interaction seam.
#pragma once
#include <cstdint>
#include <string>

#include "classlib/gui/forms.h"

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
DECLARE_ENUM_TYPE(TMsgDlgType)
enum TMsgDlgBtn { mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp };
DECLARE_ENUM_TYPE(TMsgDlgBtn)
using TMsgDlgButtons = TSet<TMsgDlgBtn>;

constexpr TMsgDlgButtons mbYesNoCancel{mbYes, mbNo, mbCancel};
constexpr TMsgDlgButtons mbOKCancel{mbOK, mbCancel};
constexpr TMsgDlgButtons mbAbortRetryIgnore{mbAbort, mbRetry, mbIgnore};

// The system's MB_* flags for the dialog: its icon, the largest group of
// system buttons made only of buttons asked for (mbAll, mbNoToAll and
// mbYesToAll have none and are left out) and MB_HELP for mbHelp. Raises
// EInvalidOperation when no system button was asked for.
unsigned MessageDlgFlags(TMsgDlgType type, TMsgDlgButtons buttons);

// Shows the message and returns the modal result of the button pressed
// (mrYes, mrNo, mrOk, ...). The caption names the type ("Warnung", ...;
// the application's title for mtCustom). An answer that is none of the
// buttons shown (the box could not be shown) raises EOSError.
TModalResult MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons, int32_t helpContext);
// A message with an OK button under the application's title.
void ShowMessage(const std::string& text);
