// Helpers of the shell-namespace component: paths to item-ID lists, the
// shell's STRRET results as text, network and shell-link names, file-mask
// matching and system error texts. All text is wide. None raises: failures
// give an empty list or an empty text.
#pragma once
#include <cstdint>
#include <string>

#include "shell/item_id_list.h"

// Loads "Shell32" and "shlwapi" and binds the shlwapi functions used here
// (they stay unbound where the system lacks them); initialises OLE for the
// program. Run once from the program's entry; raises Exception when a
// library cannot be loaded.
void StartShellHelpers();
void StopShellHelpers();

// The list of path relative to folder (nullptr: the desktop). An empty path
// gives the absolute list of My Computer; "X:" is read as "X:\". On failure
// the result is empty and the shell's HRESULT is the thread's last error.
TItemIdList PathToItemIdList(IShellFolder* folder, const std::wstring& path);

// The text of a STRRET the shell returned for list. Without shlwapi's
// converter the user is told to install it and the program is asked to end.
std::wstring StrRetToWideString(const ITEMIDLIST* list, STRRET strRet);

// The system's message for an error code (also an HRESULT).
std::wstring SystemErrorText(uint32_t code);

// The remote name of a network domain or server item; empty otherwise.
std::wstring NetworkRemoteName(IShellFolder* folder, const ITEMIDLIST* list);

// The target path of a shell link file; empty when it is none or has none.
std::wstring ResolveShellLinkA(const std::wstring& linkPath);
std::wstring ResolveShellLinkW(const std::wstring& linkPath);

// The mask "*.*" (exactly) means "the name has a dot"; other masks follow
// the shell's own matching.
bool MatchesFileMask(const std::wstring& name, const std::wstring& mask);
