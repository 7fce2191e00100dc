// TBrowseFolderDlg: the shell's folder-browse dialog with a pre-selected
// folder, an optional Help button, screen centring and an OK button that
// only existing folders enable; BrowseDirectory asks for a folder with it.
// The dialog runs through the interaction seam (tests answer it).
#pragma once
#include <cstdint>
#include <string>

#include "classlib/core/component.h"
#include "classlib/core/events.h"
#include "classlib/core/exceptions.h"
#include "classlib/gui/win32.h"

// The shell could not give a folder the dialog needs.
CLASSLIB_EXCEPTION(EOleError, Exception)

enum TBrowseKind { bfFolders, bfComputers };
DECLARE_ENUM_TYPE(TBrowseKind)
enum TDialogPosition { dpDefault, dpScreenCenter };
DECLARE_ENUM_TYPE(TDialogPosition)

// The control id of the Help button added to the dialog.
constexpr int BrowseHelpButtonId = 0xFFFF;

class TBrowseFolderDlg : public TComponent {
    DECLARE_CLASS(TBrowseFolderDlg, TComponent)
public:
    explicit TBrowseFolderDlg(TComponent* owner);
    ~TBrowseFolderDlg() override;

    // True when the user confirmed an item: FolderName is then the chosen
    // folder (or computer); on cancel it stays as it was.
    bool Execute();
    // While the dialog runs: selects the folder / enables its OK button.
    void SetSelection(const std::string& path);
    void EnableOK(bool value);

    TBrowseKind BrowseKind() const { return browse_kind_; }
    void SetBrowseKind(TBrowseKind value) { browse_kind_ = value; }
    // The tree starts at the desktop (folders only); else at My Computer
    // (folders) or the network (computers).
    bool DesktopRoot() const { return desktop_root_; }
    void SetDesktopRoot(bool value) { desktop_root_ = value; }
    const std::string& DialogText() const { return dialog_text_; }
    void SetDialogText(const std::string& value) { dialog_text_ = value; }
    const std::string& FolderName() const { return folder_name_; }
    void SetFolderName(const std::string& value) { folder_name_ = value; }
    // Not 0: the dialog gets a Help button that opens this help topic.
    int32_t HelpContext() const { return help_context_; }
    void SetHelpContext(int32_t value) { help_context_ = value; }
    TDialogPosition Position() const { return position_; }
    void SetPosition(TDialogPosition value) { position_ = value; }

    // The dialog's window while it runs, else nullptr.
    HWND DialogHandle() const { return dialog_; }
    // The item selected while the dialog runs; the result after it.
    const std::string& SelectionName() const { return selection_name_; }
    // The system image-list index of the chosen item.
    int32_t FolderImage() const { return folder_image_; }

    TNotifyEvent OnInitialized;
    TNotifyEvent OnSelChanged;

private:
    static int CALLBACK BrowseCallback(HWND dialog, UINT msg, LPARAM lParam, LPARAM data);
    static LRESULT CALLBACK DialogProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
    void Initialized(HWND dialog);
    void SelectionChanged(HWND dialog, const void* itemList);
    void Subclass(HWND dialog);
    void Unsubclass();
    LRESULT DialogMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    void AddHelpButton();

    WNDPROC previous_proc_ = nullptr;
    HWND subclassed_ = nullptr;
    int32_t help_context_ = 0;
    HWND dialog_ = nullptr;
    bool desktop_root_ = true;
    TBrowseKind browse_kind_ = bfFolders;
    TDialogPosition position_ = dpScreenCenter;
    std::string dialog_text_;
    std::string display_buffer_;
    std::string selection_name_;
    std::string folder_name_;
    int32_t folder_image_ = 0;
};

// Asks for a folder (the dialog text above the tree); true with `folder`
// set when confirmed, `folder` unchanged otherwise.
bool BrowseDirectory(std::string& folder, const std::string& dialogText, int32_t helpContext);
