// What the runtime's shell component shares per process: the shell's own
// allocator, which makes and frees every item-ID list here, the desktop
// folder, and the narrow-string forms of the shell helpers.
#pragma once
#include <memory>
#include <string>

#include "classlib/gui/win32.h"
#include <shlobj.h>

// Initialises OLE and binds the shell's allocator and desktop. Without
// them the user is told "Cannot find Shell!" and the program is asked to
// end (Application->Terminated()). Run first at the runtime's entry.
void StartOlderShellUnit();
void StopOlderShellUnit();

IMalloc* OlderShellAllocator();
IShellFolder* OlderShellDesktop();
bool OlderShellNTPlatform();
class TMenuItem;
// The unit's menu items without owner, ready for context menus (nullptr
// outside the range or before the start).
constexpr int kOlderShellMenuItemCount = 256;
TMenuItem* OlderShellMenuItem(int index);

struct TShellMallocFree {
    void operator()(void* block) const noexcept;
};
// An item-ID list owned through the shell's allocator.
using TShellIdList = std::unique_ptr<ITEMIDLIST, TShellMallocFree>;

std::size_t ShellIdListSize(const ITEMIDLIST* list);
int ShellIdListCount(const ITEMIDLIST* list);
TShellIdList ShellIdListCopy(const ITEMIDLIST* list);
TShellIdList ShellIdListConcat(const ITEMIDLIST* first, const ITEMIDLIST* second);
TShellIdList ShellIdListItem(const ITEMIDLIST* list, int index);
TShellIdList ShellIdListTruncate(const ITEMIDLIST* list, int count);

// The lists above as the shell-namespace pieces take them.
struct TShellMallocIdLists {
    using List = TShellIdList;
    static List Copy(const ITEMIDLIST* list) { return ShellIdListCopy(list); }
    static List Concat(const ITEMIDLIST* first, const ITEMIDLIST* second) { return ShellIdListConcat(first, second); }
    static int Count(const ITEMIDLIST* list) { return ShellIdListCount(list); }
    static List Truncate(const ITEMIDLIST* list, int count) { return ShellIdListTruncate(list, count); }
    static List Item(const ITEMIDLIST* list, int index) { return ShellIdListItem(list, index); }
};
const ITEMIDLIST* OlderEmptyIdList();

// The narrow path parsed by folder (nullptr: the desktop); empty on failure.
TShellIdList NarrowPathToIdList(IShellFolder* folder, const std::string& path);
// The text of a STRRET the shell returned for list; a wide text in it is
// freed with the shell's allocator.
std::string StrRetToNarrow(const ITEMIDLIST* list, STRRET& strRet);
// The remote name of a network domain or server item; empty otherwise.
std::string NarrowNetworkName(IShellFolder* folder, const ITEMIDLIST* list);
