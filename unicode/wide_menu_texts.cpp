#include "unicode/wide_menu_texts.h"

#include <algorithm>

#include "classlib/core/resstrings.h"
#include "classlib/gui/menu_strings.h"
#include "classlib/gui/sys_locale.h"
#include "unicode/code_pages.h"
#include "unicode/text/platform_flags.h"
#include "unicode/text/uc_errors.h"
#include "unicode/wide_sysutils.h"

namespace {

// A parenthesised hot-key group "(&X)" with its "&" at the 0-based index i.
bool IsHotKeyGroup(const std::wstring& text, size_t i) {
    return SysLocale.FarEast && i > 0 && text.size() - (i + 1) > 1 && text[i - 1] == L'(' && text[i + 2] == L')';
}

}  // namespace

// --- captions ------------------------------------------------------------------------

std::wstring StripHotKeyMarks(const std::wstring& text) {
    std::wstring r = text;
    size_t i = 0;
    while (i < r.size()) {
        if (r[i] == L'&') {
            if (IsHotKeyGroup(r, i)) {
                r.erase(i - 1, 4);
                // The loop's step below brings i back to the character
                // after the group.
                i = i >= 2 ? i - 2 : static_cast<size_t>(-1);
            } else {
                r.erase(i, 1);
            }
        }
        ++i;
    }
    return r;
}

bool WideSameCaption(const std::wstring& a, const std::wstring& b) {
    return WideSameText(StripHotKeyMarks(a), StripHotKeyMarks(b));
}

bool WideSameStrippedCaption(const std::wstring& a, const std::wstring& b) {
    return WideSameStr(StripHotKeyMarks(a), StripHotKeyMarks(b));
}

void SyncHotKeyPosition(const std::wstring& source, std::wstring& dest) {
    if (SystemAnsiFromWide(source) == SystemAnsiFromWide(dest)) return;
    if (!WideSameStrippedCaption(WideFromSystemAnsi(SystemAnsiFromWide(source)),
                                 WideFromSystemAnsi(SystemAnsiFromWide(dest))))
        return;
    dest = StripHotKeyMarks(dest);
    size_t i = 0;
    while (i < source.size()) {
        if (source[i] == L'&') {
            if (IsHotKeyGroup(source, i)) {
                dest.insert(std::min(i - 1, dest.size()), source.substr(i - 1, 4));
                i += 2;
            } else {
                dest.insert(std::min(i, dest.size()), 1, L'&');
                ++i;
            }
        }
        ++i;
    }
    if (SystemAnsiFromWide(source) != SystemAnsiFromWide(dest))
        throw EUcInternalError("Internal Error: SyncHotKeyPosition Failed (\"" + SystemAnsiFromWide(source) + "\" <> \"" +
                               SystemAnsiFromWide(dest) + "\").");
}

std::wstring WideShortCutToText(TShortCut shortCut) {
    WORD key = shortCut & 0xFF;
    bool classLibraryKey = key == VK_BACK || key == VK_TAB || key == VK_RETURN || key == VK_ESCAPE ||
                           (key >= VK_SPACE && key <= VK_DOWN) || key == VK_INSERT || key == VK_DELETE ||
                           (key >= VK_F1 && key <= VK_F24);
    if (!UnicodePlatform || classLibraryKey) return WideFromSystemAnsi(ShortCutToText(shortCut));
    std::wstring name;
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z') || (key >= VK_NUMPAD0 && key <= VK_NUMPAD9)) {
        // A key without a character (the layout maps none) has no name.
        if (auto ch = static_cast<wchar_t>(MapVirtualKeyW(key, 2))) name.assign(1, ch);
    } else if (UINT scan = MapVirtualKeyW(key, 0) << 16) {
        wchar_t buffer[256] = {};
        GetKeyNameTextW(static_cast<LONG>(scan), buffer, 256);
        name = buffer;
    }
    if (name.empty()) return {};
    std::wstring result;
    if (shortCut & scShift) result += WideFromSystemAnsi(MenuStr(SmkcShift));
    if (shortCut & scCtrl) result += WideFromSystemAnsi(MenuStr(SmkcCtrl));
    if (shortCut & scAlt) result += WideFromSystemAnsi(MenuStr(SmkcAlt));
    return result + name;
}

