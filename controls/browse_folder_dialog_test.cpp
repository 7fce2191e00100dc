#include "controls/browse_folder_dialog.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <vector>

#include "classlib/core/resstrings.h"
#include "classlib/core/scratch_folder_test.h"
#include "classlib/dialogs/dialog_test_support.h"
#include "classlib/gui/application.h"
#include "classlib/gui/scoped_win32.h"
#include "classlib/testing/gui_testing.h"
#include "controls/path_utils.h"

namespace {

// A window in place of the shell's dialog: it records the messages the
// component sends it and holds one push button, as the dialog does.
class TStandInDialog {
public:
    TStandInDialog() {
        static const char* className = [] {
            WNDCLASSA wc{};
            wc.lpfnWndProc = &Proc;
            wc.hInstance = GetModuleHandleA(nullptr);
            wc.lpszClassName = "BrowseStandIn";
            RegisterClassA(&wc);
            return "BrowseStandIn";
        }();
        window_.Reset(CreateWindowExA(0, className, "Stand-in", WS_POPUP, 40, 40, 300, 260, nullptr, nullptr,
                                      GetModuleHandleA(nullptr), nullptr));
        ok_ = CreateWindowExA(0, "BUTTON", "OK", WS_CHILD | WS_VISIBLE, 130, 200, 75, 23, window_.Get(),
                              reinterpret_cast<HMENU>(IDOK), GetModuleHandleA(nullptr), nullptr);
        Log().clear();
    }
    HWND Window() const { return window_.Get(); }
    HWND Ok() const { return ok_; }

    struct Sent {
        UINT msg;
        WPARAM wParam;
        std::string path;  // BFFM_SETSELECTIONA
        LPARAM lParam;
    };
    static std::vector<Sent>& Log() {
        static std::vector<Sent> log;
        return log;
    }

private:
    static LRESULT CALLBACK Proc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
        if (msg == BFFM_SETSELECTIONA)
            Log().push_back({msg, wParam, reinterpret_cast<const char*>(lParam), lParam});
        else if (msg == BFFM_ENABLEOK || msg == WM_COMMAND)
            Log().push_back({msg, wParam, "", lParam});
        return DefWindowProcA(window, msg, wParam, lParam);
    }
    TOwnedWindow window_;
    HWND ok_;
};

// Calls the browse callback the dialog was given, as the shell does.
int Notify(void* browseInfo, HWND dialog, UINT msg, LPARAM lParam) {
    auto* info = static_cast<BROWSEINFOA*>(browseInfo);
    return info->lpfn(dialog, msg, lParam, info->lParam);
}

using BrowseFolderDialog = ScratchFolderTest;

TEST_F(BrowseFolderDialog, ASeamAnswerDrivesTheCallbackAndGivesTheFolder) {
    TScriptedInteraction seam;
    TStandInDialog standIn;
    TOwned<TBrowseFolderDlg> dialog(New<TBrowseFolderDlg>(nullptr));
    dialog->SetFolderName(RemoveTrailingBackslash(scratch.Folder()));
    dialog->SetDialogText("Pick one");
    dialog->SetPosition(dpDefault);
    ASSERT_TRUE(CreateDir(scratch.Path("chosen")));
    int initialized = 0, changed = 0;
    dialog->OnInitialized = [&](TObject*) { ++initialized; };
    dialog->OnSelChanged = [&](TObject*) { ++changed; };
    seam.FolderAnswers.push_back([&](void* browseInfo) -> void* {
        auto* info = static_cast<BROWSEINFOA*>(browseInfo);
        EXPECT_EQ(info->pidlRoot, nullptr);  // the desktop
        EXPECT_EQ(info->ulFlags, static_cast<UINT>(BIF_RETURNONLYFSDIRS | BIF_RETURNFSANCESTORS));
        EXPECT_STREQ(info->lpszTitle, "Pick one");
        EXPECT_EQ(info->hwndOwner, Application->Handle());
        Notify(browseInfo, standIn.Window(), BFFM_INITIALIZED, 0);
        EXPECT_EQ(dialog->DialogHandle(), standIn.Window());
        // An existing folder is pre-selected; no Help button without a
        // help context.
        EXPECT_EQ(FindWindowExA(standIn.Window(), standIn.Ok(), "BUTTON", nullptr), nullptr);
        TTaskMemory<ITEMIDLIST> existing(ILCreateFromPathA(scratch.Path("chosen").c_str()));
        Notify(browseInfo, standIn.Window(), BFFM_SELCHANGED, reinterpret_cast<LPARAM>(existing.get()));
        EXPECT_EQ(dialog->SelectionName(), scratch.Path("chosen"));
        // An item without a path disables OK.
        PIDLIST_ABSOLUTE drivesList = nullptr;
        SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &drivesList);
        TTaskMemory<ITEMIDLIST> drives(drivesList);
        Notify(browseInfo, standIn.Window(), BFFM_SELCHANGED, reinterpret_cast<LPARAM>(drives.get()));
        EXPECT_EQ(dialog->SelectionName(), "");
        return ILCreateFromPathA(scratch.Path("chosen\\").c_str());
    });
    ASSERT_TRUE(dialog->Execute());
    EXPECT_EQ(seam.Dialogs, std::vector<TCommonDialogKind>{cdkBrowseFolder});
    EXPECT_EQ(dialog->FolderName(), scratch.Path("chosen"));
    EXPECT_EQ(dialog->SelectionName(), scratch.Path("chosen"));
    EXPECT_EQ(dialog->DialogHandle(), nullptr);
    EXPECT_EQ(initialized, 1);
    EXPECT_EQ(changed, 2);

    const auto& log = TStandInDialog::Log();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0].msg, static_cast<UINT>(BFFM_SETSELECTIONA));
    EXPECT_EQ(log[0].wParam, 1u);
    EXPECT_EQ(log[0].path, RemoveTrailingBackslash(scratch.Folder()));
    EXPECT_EQ(log[1].msg, static_cast<UINT>(BFFM_ENABLEOK));
    EXPECT_EQ(log[1].lParam, 1);
    EXPECT_EQ(log[2].msg, static_cast<UINT>(BFFM_ENABLEOK));
    EXPECT_EQ(log[2].lParam, 0);
    // The stand-in outlives the run with its own procedure back.
    EXPECT_EQ(GetPropA(standIn.Window(), "QuilloryBrowseFolderDlg"), nullptr);
}

TEST_F(BrowseFolderDialog, AMissingFolderIsNotPreselectedAndCancelKeepsIt) {
    TScriptedInteraction seam;
    TStandInDialog standIn;
    TOwned<TBrowseFolderDlg> dialog(New<TBrowseFolderDlg>(nullptr));
    const std::string missing = scratch.Path("not there");
    dialog->SetFolderName(missing);
    dialog->SetDesktopRoot(false);
    seam.FolderAnswers.push_back([&](void* browseInfo) -> void* {
        EXPECT_NE(static_cast<BROWSEINFOA*>(browseInfo)->pidlRoot, nullptr);  // My Computer
        Notify(browseInfo, standIn.Window(), BFFM_INITIALIZED, 0);
        return nullptr;
    });
    EXPECT_FALSE(dialog->Execute());
    EXPECT_EQ(dialog->FolderName(), missing);
    EXPECT_TRUE(TStandInDialog::Log().empty());

    std::string folder = "C:\\kept";
    EXPECT_FALSE(BrowseDirectory(folder, "text", 0));  // no answer: cancelled
    EXPECT_EQ(folder, "C:\\kept");
    EXPECT_EQ(seam.Dialogs.size(), 2u);
}

// Takes the help requests WinHelp sends to the help viewer's window.
struct THelpViewer {
    THelpViewer() {
        static bool registered = [] {
            WNDCLASSA wc{};
            wc.lpfnWndProc = &Proc;
            wc.hInstance = GetModuleHandleA(nullptr);
            wc.lpszClassName = "MS_WINHELP";
            return RegisterClassA(&wc) != 0;
        }();
        (void)registered;
        window.Reset(CreateWindowExA(0, "MS_WINHELP", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                     GetModuleHandleA(nullptr), nullptr));
        Contexts().clear();
    }
    static std::vector<LONG>& Contexts() {
        static std::vector<LONG> contexts;
        return contexts;
    }
    static LRESULT CALLBACK Proc(HWND w, UINT msg, WPARAM wParam, LPARAM lParam) {
        if (msg == WM_COPYDATA) {
            auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
            struct Request {
                WORD size, command;
                LONG data, reserved;
            };
            auto* request = static_cast<const Request*>(data->lpData);
            if (request->command == HELP_CONTEXT) Contexts().push_back(request->data);
            return TRUE;
        }
        return DefWindowProcA(w, msg, wParam, lParam);
    }
    TOwnedWindow window;
};

TEST(BrowseFolderHelp, TheHelpButtonStandsLeftOnTheButtonRowAndOpensItsTopic) {
    TScriptedInteraction seam;
    TStandInDialog standIn;
    THelpViewer viewer;
    TOwned<TBrowseFolderDlg> dialog(New<TBrowseFolderDlg>(nullptr));
    dialog->SetHelpContext(77);
    seam.FolderAnswers.push_back([&](void* browseInfo) -> void* {
        Notify(browseInfo, standIn.Window(), BFFM_INITIALIZED, 0);
        HWND help = GetDlgItem(standIn.Window(), BrowseHelpButtonId);
        EXPECT_NE(help, nullptr);
        if (!help) return nullptr;
        char caption[32] = {};
        GetWindowTextA(help, caption, sizeof caption);
        EXPECT_EQ(caption, LoadStr(SHelpButton));
        EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(help, GWL_STYLE)), 0x54010000u);
        RECT bounds, ok;
        GetWindowRect(help, &bounds);
        GetWindowRect(standIn.Ok(), &ok);
        MapWindowPoints(nullptr, standIn.Window(), reinterpret_cast<POINT*>(&bounds), 2);
        MapWindowPoints(nullptr, standIn.Window(), reinterpret_cast<POINT*>(&ok), 2);
        EXPECT_EQ(bounds.left, 12);
        EXPECT_EQ(bounds.top, ok.top);
        EXPECT_EQ(bounds.right - bounds.left, ok.right - ok.left);
        // The button's click names the button's window in the long
        // parameter: only the word parameter tells it.
        TStandInDialog::Log().clear();
        SendMessageA(standIn.Window(), WM_COMMAND, BrowseHelpButtonId, reinterpret_cast<LPARAM>(help));
        EXPECT_EQ(THelpViewer::Contexts(), std::vector<LONG>{77});
        EXPECT_TRUE(TStandInDialog::Log().empty());  // handled, not passed on
        // Other commands reach the dialog.
        SendMessageA(standIn.Window(), WM_COMMAND, IDOK, reinterpret_cast<LPARAM>(standIn.Ok()));
        EXPECT_EQ(TStandInDialog::Log().size(), 1u);
        return nullptr;
    });
    dialog->Execute();
}

TEST(BrowseFolderSmoke, TheShellsDialogRunsTheCallbacksAndCancels) {
    TDialogWatchdog watchdog(5000);
    TOwned<TBrowseFolderDlg> dialog(New<TBrowseFolderDlg>(nullptr));
    dialog->SetHelpContext(5);
    dialog->SetFolderName("C:\\windows");
    bool initialized = false, helpButton = false;
    dialog->OnInitialized = [&](TObject*) {
        initialized = dialog->DialogHandle() != nullptr;
        helpButton = GetDlgItem(dialog->DialogHandle(), BrowseHelpButtonId) != nullptr;
        PostMessageA(dialog->DialogHandle(), WM_COMMAND, IDCANCEL, 0);
    };
    EXPECT_FALSE(dialog->Execute());
    EXPECT_TRUE(initialized);
    EXPECT_TRUE(helpButton);
    EXPECT_FALSE(TDialogWatchdog::Fired());
    EXPECT_EQ(dialog->FolderName(), "C:\\windows");
    EXPECT_EQ(dialog->DialogHandle(), nullptr);
}

}  // namespace
