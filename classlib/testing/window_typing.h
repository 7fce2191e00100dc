// Typing into one window without the focus or the screen: per character
// the key-down, character and key-up messages a keyboard gives it.
#pragma once
#include <string>

#include "classlib/gui/win32.h"
#include "classlib/testing/gui_testing.h"

inline void TypeIntoWindow(HWND window, const std::string& text) {
    for (char ch : text) {
        const WORD vk = LOBYTE(VkKeyScanA(ch));
        const LPARAM press = (static_cast<LPARAM>(MapVirtualKeyA(vk, 0)) << 16) | 1;
        const LPARAM release = press | (LPARAM(1) << 30) | (LPARAM(1) << 31);
        // Sent, not posted: the message loop would translate a posted key
        // into a second character.
        SendMessageA(window, WM_KEYDOWN, vk, press);
        SendMessageA(window, WM_CHAR, static_cast<unsigned char>(ch), press);
        SendMessageA(window, WM_KEYUP, vk, release);
    }
    DrainMessages();
}
