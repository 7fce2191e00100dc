#include "controls/browse_folder_dialog.h"

#include <shlobj.h>

#include <cstring>

#include "classlib/core/class_builder.h"
#include "classlib/core/current_dir_keeper.h"
#include "classlib/core/exceptions.h"
#include "classlib/core/resstrings.h"
#include "classlib/core/scope_exit.h"
#include "classlib/gui/application.h"
#include "classlib/gui/callback_barrier.h"
#include "classlib/gui/scoped_win32.h"
#include "classlib/platform/interaction.h"
#include "controls/path_utils.h"
#include "controls/window_utils.h"

DEFINE_ENUM_TYPE(TBrowseKind, "bfFolders", "bfComputers")
DEFINE_ENUM_TYPE(TDialogPosition, "dpDefault", "dpScreenCenter")

namespace {

constexpr size_t kPathRoom = MAX_PATH;
// The window property that leads the subclassed dialog to its component.
const char* const kOwnerProperty = "QuilloryBrowseFolderDlg";

std::string ZeroTerminated(const std::string& buffer) {
    return std::string(buffer.c_str());
}

[[noreturn]] void RaiseLastSystemError() {
    const DWORD error = GetLastError();
    char text[512] = {};
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, text,
                   sizeof text, nullptr);
    throw EOSError(text[0] ? std::string(text) : "System error " + std::to_string(error));
}

}  // namespace

const TClassInfo& TBrowseFolderDlg::StaticClass() {
    static const TClassInfo info =
        DefineClass<TBrowseFolderDlg>("TBrowseFolderDlg", &TComponent::StaticClass(), [](auto& c) {
            c.Creatable();
            PROPERTY(c, BrowseKind).Default(bfFolders);
            PROPERTY(c, DesktopRoot).Default(true);
            PROPERTY(c, DialogText);
            PROPERTY(c, FolderName);
            PROPERTY(c, HelpContext).Default(0);
            PROPERTY(c, Position).Default(dpScreenCenter);
            EVENT(c, OnInitialized);
            EVENT(c, OnSelChanged);
        });
    return info;
}

TBrowseFolderDlg::TBrowseFolderDlg(TComponent* owner) : TComponent(owner) {
    display_buffer_.assign(kPathRoom, '\0');
}

TBrowseFolderDlg::~TBrowseFolderDlg() {
    Unsubclass();
}

bool TBrowseFolderDlg::Execute() {
    TTaskMemory<ITEMIDLIST> root;
    if (!desktop_root_ || browse_kind_ != bfFolders) {
        const int folder = browse_kind_ == bfComputers ? CSIDL_NETWORK : CSIDL_DRIVES;
        LPITEMIDLIST list = nullptr;
        const HRESULT result = SHGetSpecialFolderLocation(nullptr, folder, &list);
        root.reset(list);
        if (FAILED(result))
            throw EOleError("The shell's folder could not be reached (error $" +
                            std::to_string(static_cast<unsigned long>(result)) + ")");
    }

    display_buffer_.assign(kPathRoom, '\0');
    BROWSEINFOA info{};
    info.hwndOwner = Application ? Application->Handle() : nullptr;
    info.pidlRoot = root.get();
    info.pszDisplayName = display_buffer_.data();
    info.lpszTitle = dialog_text_.empty() ? nullptr : dialog_text_.c_str();
    info.ulFlags = browse_kind_ == bfComputers ? BIF_BROWSEFORCOMPUTER : BIF_RETURNONLYFSDIRS | BIF_RETURNFSANCESTORS;
    info.lpfn = &BrowseCallback;
    info.lParam = reinterpret_cast<LPARAM>(this);
    info.iImage = 0;

    TTaskMemory<ITEMIDLIST> chosen;
    {
        HWND active = GetActiveWindow();
        std::vector<HWND> disabled;
        if (Application) disabled = Application->DisableTaskWindows(nullptr);
        TScopeExit modalEnd([&] {
            Unsubclass();
            dialog_ = nullptr;
            if (Application) Application->EnableTaskWindows(disabled);
            if (active && IsWindow(active)) SetActiveWindow(active);
        });
        TCurrentDirKeeper currentDir;
        chosen.reset(static_cast<LPITEMIDLIST>(Interaction().BrowseForFolder(&info)));
    }
    if (!chosen) return false;
    if (browse_kind_ == bfComputers) {
        folder_name_ = ZeroTerminated(display_buffer_);
    } else {
        char path[kPathRoom] = {};
        if (!SHGetPathFromIDListA(chosen.get(), path)) RaiseLastSystemError();
        folder_name_ = RemoveTrailingBackslash(path);
    }
    selection_name_ = folder_name_;
    folder_image_ = info.iImage;
    return true;
}

void TBrowseFolderDlg::SetSelection(const std::string& path) {
    if (dialog_) SendMessageA(dialog_, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(path.c_str()));
}

void TBrowseFolderDlg::EnableOK(bool value) {
    if (dialog_) SendMessageA(dialog_, BFFM_ENABLEOK, 0, value ? 1 : 0);
}

int CALLBACK TBrowseFolderDlg::BrowseCallback(HWND dialog, UINT msg, LPARAM lParam, LPARAM data) {
    auto* self = reinterpret_cast<TBrowseFolderDlg*>(data);
    CallbackBarrier(self, [&] {
        if (msg == BFFM_INITIALIZED) self->Initialized(dialog);
        else if (msg == BFFM_SELCHANGED) self->SelectionChanged(dialog, reinterpret_cast<const void*>(lParam));
    });
    return 0;
}

void TBrowseFolderDlg::Initialized(HWND dialog) {
    if (position_ == dpScreenCenter) CenterWindowOnScreen(dialog);
    dialog_ = dialog;
    Subclass(dialog);
    if (browse_kind_ == bfComputers || IsExistingDirectory(folder_name_)) SetSelection(folder_name_);
    if (help_context_ != 0) AddHelpButton();
    if (OnInitialized) OnInitialized(this);
}

void TBrowseFolderDlg::AddHelpButton() {
    HWND first = FindWindowExA(dialog_, nullptr, "BUTTON", nullptr);
    if (!first) return;
    RECT bounds;
    GetWindowRect(first, &bounds);
    MapWindowPoints(nullptr, dialog_, reinterpret_cast<POINT*>(&bounds), 2);
    HWND help = CreateWindowExA(0, "BUTTON", LoadStr(SHelpButton).c_str(),
                                WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP, 12, bounds.top,
                                bounds.right - bounds.left, bounds.bottom - bounds.top, dialog_,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(BrowseHelpButtonId)),
                                GetModuleHandleA(nullptr), nullptr);
    if (HFONT font = reinterpret_cast<HFONT>(SendMessageA(dialog_, WM_GETFONT, 0, 0)))
        SendMessageA(help, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    UpdateWindow(dialog_);
}

void TBrowseFolderDlg::SelectionChanged(HWND dialog, const void* itemList) {
    dialog_ = dialog;
    if (browse_kind_ == bfComputers) {
        selection_name_ = ZeroTerminated(display_buffer_);
    } else {
        char path[kPathRoom] = {};
        if (itemList && SHGetPathFromIDListA(static_cast<LPCITEMIDLIST>(itemList), path)) {
            selection_name_ = path;
            EnableOK(IsExistingDirectory(selection_name_));
        } else {
            selection_name_.clear();
            EnableOK(false);
        }
    }
    if (OnSelChanged) OnSelChanged(this);
}

void TBrowseFolderDlg::Subclass(HWND dialog) {
    if (subclassed_ == dialog) return;
    Unsubclass();
    SetPropA(dialog, kOwnerProperty, this);
    previous_proc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(dialog, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&DialogProc)));
    subclassed_ = dialog;
}

// Gives a window that outlives the run (or the component) its own
// procedure back.
void TBrowseFolderDlg::Unsubclass() {
    if (!subclassed_) return;
    if (IsWindow(subclassed_) &&
        GetWindowLongPtrA(subclassed_, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&DialogProc))
        SetWindowLongPtrA(subclassed_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_proc_));
    if (IsWindow(subclassed_)) RemovePropA(subclassed_, kOwnerProperty);
    subclassed_ = nullptr;
    previous_proc_ = nullptr;
}

LRESULT CALLBACK TBrowseFolderDlg::DialogProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = static_cast<TBrowseFolderDlg*>(GetPropA(window, kOwnerProperty));
    if (!self) return DefWindowProcA(window, msg, wParam, lParam);
    return CallbackBarrier(self, LRESULT{0}, [&] { return self->DialogMessage(msg, wParam, lParam); });
}

LRESULT TBrowseFolderDlg::DialogMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    HWND window = subclassed_;
    WNDPROC previous = previous_proc_;
    // Only the whole word parameter tells our Help button: the long
    // parameter is the button's window.
    if (msg == WM_COMMAND && wParam == static_cast<WPARAM>(BrowseHelpButtonId) && help_context_ != 0) {
        if (Application) Application->HelpCommand(HELP_CONTEXT, static_cast<ULONG_PTR>(help_context_));
        return 0;
    }
    if (msg == WM_NCDESTROY) {
        Unsubclass();
        dialog_ = nullptr;
    }
    return CallWindowProcA(previous, window, msg, wParam, lParam);
}

bool BrowseDirectory(std::string& folder, const std::string& dialogText, int32_t helpContext) {
    TOwned<TBrowseFolderDlg> dialog(New<TBrowseFolderDlg>(Application));
    dialog->SetDialogText(dialogText);
    dialog->SetFolderName(folder);
    dialog->SetHelpContext(helpContext);
    if (!dialog->Execute()) return false;
    folder = dialog->FolderName();
    return true;
}
