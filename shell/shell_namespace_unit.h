// What the shell-namespace component's unit prepares once per process: the
// desktop folder every path is parsed against, the "Shell IDList Array"
// clipboard format, the list of the network neighbourhood folder, the
// byte-size formatter, the system's version flags and the Windows drive.
#pragma once
#include <string>

#include "shell/item_id_list.h"

// Run once from the program's entry, before the shell helpers' start;
// raises Exception ("Qarkit: Cannot open Shell!") when the shell has no
// desktop folder.
void StartShellNamespaceUnit();
void StopShellNamespaceUnit();

// The desktop's folder (nullptr before the start).
IShellFolder* ShellDesktopFolder();
// The absolute list of the network neighbourhood folder (nullptr when the
// shell has none).
const ITEMIDLIST* ShellNetHoodList();
UINT ShellIdListArrayFormat();

struct TShellSystemFlags {
    bool NTPlatform = false;  // platform id 2
    bool OldShell = false;    // version 4.0 to 4.10
    bool XP = false;          // exactly 5.1
    bool XPOrLater = false;   // 5.1 or any major version above 5
    bool VistaOrLater = false;  // major version above 5
};
const TShellSystemFlags& ShellSystemFlags();
// Puts other flags in force while it lives (tests reach the branches of
// other systems through it).
class TScopedShellSystemFlags {
public:
    explicit TScopedShellSystemFlags(const TShellSystemFlags& flags);
    ~TScopedShellSystemFlags();
    TScopedShellSystemFlags(const TScopedShellSystemFlags&) = delete;
    TScopedShellSystemFlags& operator=(const TScopedShellSystemFlags&) = delete;

private:
    TShellSystemFlags saved_;
};
class TMenuItem;
// The unit's menu items without owner, ready for context menus (nullptr
// outside the range or before the start).
constexpr int kShellMenuItemCount = 256;
TMenuItem* ShellMenuItem(int index);

// The drive of the Windows folder with a trailing backslash ("C:\").
const std::wstring& WindowsDriveRoot();
