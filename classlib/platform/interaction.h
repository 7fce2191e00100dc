// The one seam through which the programs meet the user outside their own
// windows' message handling: message boxes, common dialogs, modal forms and
// the shell's open verb. The real implementation calls the platform; tests
// install their own to answer and record.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

class TObject;

enum TCommonDialogKind { cdkOpen, cdkSave, cdkFont, cdkColor, cdkBrowseFolder };

class TInteraction {
public:
    virtual ~TInteraction() = default;
    // Returns the button pressed (IDOK, IDCANCEL, IDYES, ...). A null caption
    // shows the system's default caption.
    virtual int MessageBox(void* owner, const char* text, const char* caption, unsigned flags);
    // Returns the platform's result (> 32 on success).
    virtual intptr_t ShellExecute(void* owner, const char* verb, const char* file, const char* parameters,
                                  const char* directory, int showCommand);
    // Runs a common dialog on its platform structure (OPENFILENAMEA,
    // CHOOSEFONTA, CHOOSECOLORA); true when confirmed, false when
    // cancelled. A dialog that could not run raises EOSError.
    virtual bool ExecuteDialog(TCommonDialogKind kind, void* dialogStruct);
    // Runs the shell's folder-browse dialog on its BROWSEINFOA; returns the
    // chosen item's ID list (the caller frees it with CoTaskMemFree), or
    // nullptr when cancelled.
    virtual void* BrowseForFolder(void* browseInfo);
    // Shows a form modally; `show` runs the real modal loop and returns the
    // modal result.
    virtual int ShowModal(TObject* form, const std::function<int()>& show);
};

// The current seam (the real one unless a test replaced it).
TInteraction& Interaction();
// Installs a replacement; nullptr restores the real seam. Not owned.
void SetInteraction(TInteraction* replacement);
