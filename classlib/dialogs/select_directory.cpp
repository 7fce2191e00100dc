#include "classlib/dialogs/select_directory.h"

// Before the shell's header: the macros that would rename our methods go.
#include "classlib/gui/win32.h"

#include <shlobj.h>

#include "classlib/core/class_builder.h"
#include "classlib/core/current_dir_keeper.h"
#include "classlib/core/fileutils.h"
#include "classlib/core/paths.h"
#include "classlib/core/resstrings.h"
#include "classlib/core/scope_exit.h"
#include "classlib/dialogs/common_dialog.h"
#include "classlib/gui/application.h"
#include "classlib/gui/callback_barrier.h"
#include "classlib/gui/scoped_win32.h"
#include "classlib/platform/interaction.h"

DEFINE_ENUM_TYPE(TSelectDirOpt, "sdAllowCreate", "sdPerformCreate", "sdPrompt")

namespace {

struct TBrowseState {
    std::string start;
    std::string typed;  // a name typed into the edit box, when it named no folder
};

int CALLBACK SelectCallback(HWND dialog, UINT msg, LPARAM lParam, LPARAM data) {
    auto* state = reinterpret_cast<TBrowseState*>(data);
    return CallbackBarrier(static_cast<TObject*>(nullptr), 0, [&] {
        if (msg == BFFM_INITIALIZED && DirectoryExists(state->start))
            SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(state->start.c_str()));
        if (msg == BFFM_VALIDATEFAILEDA && lParam) state->typed = reinterpret_cast<const char*>(lParam);
        return 0;
    });
}

}  // namespace

bool SelectDirectory(std::string& directory, TSelectDirOpts options, int32_t) {
    TBrowseState state{directory, ""};
    char display[MAX_PATH] = {};
    BROWSEINFOA info{};
    info.hwndOwner = DialogOwnerWindow();
    info.pszDisplayName = display;
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    if (options.Contains(sdAllowCreate)) info.ulFlags |= BIF_EDITBOX | BIF_VALIDATE;
    info.lpfn = &SelectCallback;
    info.lParam = reinterpret_cast<LPARAM>(&state);

    TTaskMemory<ITEMIDLIST> chosen;
    {
        HWND active = GetActiveWindow();
        std::vector<HWND> disabled;
        if (Application) disabled = Application->DisableTaskWindows(info.hwndOwner);
        TScopeExit modalEnd([&] {
            if (Application) Application->EnableTaskWindows(disabled);
            if (active && IsWindow(active)) SetActiveWindow(active);
        });
        TCurrentDirKeeper currentDir;
        chosen.reset(static_cast<LPITEMIDLIST>(Interaction().BrowseForFolder(&info)));
    }
    if (!chosen) return false;
    char path[MAX_PATH] = {};
    if (!SHGetPathFromIDListA(chosen.get(), path)) return false;
    std::string result = path;
    if (!state.typed.empty()) {
        // A typed name is taken as it stands when it has a drive or a root,
        // else below the folder selected in the tree.
        const bool rooted = !ExtractFileDrive(state.typed).empty() || IsPathSeparator(state.typed[0]);
        result = rooted ? state.typed : IncludeTrailingBackslash(result) + state.typed;
        if (!DirectoryExists(result) && options.Contains(sdPerformCreate)) {
            if (options.Contains(sdPrompt) &&
                Interaction().MessageBox(info.hwndOwner, LoadStr(SConfirmCreateDir).c_str(), nullptr,
                                         MB_YESNO | MB_ICONQUESTION) != IDYES)
                return false;
            if (!ForceDirectories(result)) return false;
        }
    }
    directory = ExtractFileDir(IncludeTrailingBackslash(result));
    return true;
}
