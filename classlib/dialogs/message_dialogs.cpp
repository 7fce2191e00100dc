#include "classlib/dialogs/message_dialogs.h"

#include "classlib/gui/application.h"
#include "classlib/dialogs/common_dialog.h"
#include "classlib/core/exceptions.h"
#include "classlib/platform/interaction.h"

DEFINE_ENUM_TYPE(TMsgDlgType, "mtWarning", "mtError", "mtInformation", "mtConfirmation", "mtCustom")
DEFINE_ENUM_TYPE(TMsgDlgBtn, "mbYes", "mbNo", "mbOK", "mbCancel", "mbAbort", "mbRetry", "mbIgnore", "mbAll",
                 "mbNoToAll", "mbYesToAll", "mbHelp")

namespace {

struct TButtonGroup {
    UINT flag;
    TMsgDlgButtons buttons;
};

// The system's button groups, larger ones first so the best fit wins.
const TButtonGroup kButtonGroups[] = {
    {MB_YESNOCANCEL, {mbYes, mbNo, mbCancel}},
    {MB_ABORTRETRYIGNORE, {mbAbort, mbRetry, mbIgnore}},
    {MB_YESNO, {mbYes, mbNo}},
    {MB_OKCANCEL, {mbOK, mbCancel}},
    {MB_RETRYCANCEL, {mbRetry, mbCancel}},
    {MB_OK, {mbOK}},
};

const TButtonGroup& ButtonGroup(TMsgDlgButtons buttons) {
    for (const TButtonGroup& group : kButtonGroups)
        if ((group.buttons - buttons).Empty()) return group;
    throw EInvalidOperation("The message dialog has no button the system can show");
}

TMsgDlgButtons ButtonsOfResult(TModalResult result) {
    switch (result) {
    case IDOK: return {mbOK};
    case IDCANCEL: return {mbCancel};
    case IDABORT: return {mbAbort};
    case IDRETRY: return {mbRetry};
    case IDIGNORE: return {mbIgnore};
    case IDYES: return {mbYes};
    case IDNO: return {mbNo};
    default: return {};
    }
}

std::string Caption(TMsgDlgType type) {
    switch (type) {
    case mtWarning: return "Warnung";
    case mtError: return "Fehler";
    case mtInformation: return "Information";
    case mtConfirmation: return "Best\xE4tigen";
    case mtCustom: break;
    }
    return Application ? Application->Title() : std::string();
}

}  // namespace

unsigned MessageDlgFlags(TMsgDlgType type, TMsgDlgButtons buttons) {
    unsigned flags = ButtonGroup(buttons).flag;
    if (buttons.Contains(mbHelp)) flags |= MB_HELP;
    switch (type) {
    case mtWarning: flags |= MB_ICONWARNING; break;
    case mtError: flags |= MB_ICONERROR; break;
    case mtInformation: flags |= MB_ICONINFORMATION; break;
    case mtConfirmation: flags |= MB_ICONQUESTION; break;
    case mtCustom: break;
    }
    return flags;
}

TModalResult MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons, int32_t) {
    unsigned flags = MessageDlgFlags(type, buttons);
    TMsgDlgButtons shown = ButtonGroup(buttons).buttons;
    std::string caption = Caption(type);
    TModalResult result = Interaction().MessageBox(DialogOwnerWindow(), text.c_str(), caption.c_str(), flags);
    TMsgDlgButtons pressed = ButtonsOfResult(result);
    // Callers act on the answer; one they did not offer must not pass for
    // a choice of the user.
    if (pressed.Empty() || !(pressed - shown).Empty())
        throw EOSError("The message box could not be shown");
    return result;
}

void ShowMessage(const std::string& text) {
    MessageDlg(text, mtCustom, {mbOK}, 0);
}
