#include <windows.h>
#include <cderr.h>
#include <commdlg.h>
#include <shellapi.h>
#include <shlobj.h>

#include <string>
#undef MessageBox
#undef ShellExecute

#include "classlib/platform/interaction.h"

#include "classlib/core/exceptions.h"
#include "classlib/core/strutils.h"

int TInteraction::MessageBox(void* owner, const char* text, const char* caption, unsigned flags) {
    return MessageBoxA(static_cast<HWND>(owner), text, caption, flags);
}

intptr_t TInteraction::ShellExecute(void* owner, const char* verb, const char* file, const char* parameters,
                                    const char* directory, int showCommand) {
    return reinterpret_cast<intptr_t>(
        ShellExecuteA(static_cast<HWND>(owner), verb, file, parameters, directory, showCommand));
}

namespace {

// The common dialogs' library (and the printer spooler it imports) is
// bound when the first dialog runs, not at every program start: most
// starts show no dialog at all.
HMODULE CommonDialogLibrary() {
    static const HMODULE library = LoadLibraryA("comdlg32.dll");
    return library;
}

template <class F>
F CommonDialogFunction(const char* name) {
    FARPROC function = CommonDialogLibrary() ? GetProcAddress(CommonDialogLibrary(), name) : nullptr;
    if (!function) throw EOSError(std::string("The dialog could not be shown (") + name + " is missing)");
    return reinterpret_cast<F>(reinterpret_cast<void*>(function));
}

template <class Struct>
bool Run(const char* name, void* dialogStruct) {
    return CommonDialogFunction<BOOL(WINAPI*)(Struct*)>(name)(static_cast<Struct*>(dialogStruct)) != FALSE;
}

bool RunCommonDialog(TCommonDialogKind kind, void* dialogStruct) {
    switch (kind) {
    case cdkOpen: return Run<OPENFILENAMEA>("GetOpenFileNameA", dialogStruct);
    case cdkSave: return Run<OPENFILENAMEA>("GetSaveFileNameA", dialogStruct);
    case cdkFont: return Run<CHOOSEFONTA>("ChooseFontA", dialogStruct);
    case cdkColor: return Run<CHOOSECOLORA>("ChooseColorA", dialogStruct);
    case cdkBrowseFolder: break;  // BrowseForFolder
    }
    return false;
}

}  // namespace

bool TInteraction::ExecuteDialog(TCommonDialogKind kind, void* dialogStruct) {
    if (RunCommonDialog(kind, dialogStruct)) return true;
    // A dialog that could not run must not pass for one the user cancelled.
    DWORD error = CommonDialogFunction<DWORD(WINAPI*)()>("CommDlgExtendedError")();
    if (error == 0) return false;
    if (error == FNERR_BUFFERTOOSMALL) throw EOSError("The selected file names are too long");
    throw EOSError("The dialog could not be shown (error $" + IntToHex(error, 4) + ")");
}

void* TInteraction::BrowseForFolder(void* browseInfo) {
    return SHBrowseForFolderA(static_cast<BROWSEINFOA*>(browseInfo));
}

int TInteraction::ShowModal(TObject*, const std::function<int()>& show) {
    return show();
}

namespace {
TInteraction* g_replacement = nullptr;
}

TInteraction& Interaction() {
    static TInteraction real;
    return g_replacement ? *g_replacement : real;
}

void SetInteraction(TInteraction* replacement) {
    g_replacement = replacement;
}
