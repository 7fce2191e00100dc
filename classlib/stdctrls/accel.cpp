#include "classlib/stdctrls/accel.h"

#include "classlib/gui/win32.h"

char HotKeyOf(const std::string& caption) {
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&') continue;
        if (caption[i + 1] == '&') {
            ++i;  // a literal ampersand
            continue;
        }
        return caption[i + 1];
    }
    return 0;
}

bool IsAccel(unsigned charCode, const std::string& caption) {
    char hot = HotKeyOf(caption);
    if (!hot || charCode == 0 || charCode > 0xFF) return false;
    // ANSI upper case, so that accented letters match too.
    char a[2] = {hot, 0};
    char b[2] = {static_cast<char>(charCode), 0};
    CharUpperBuffA(a, 1);
    CharUpperBuffA(b, 1);
    return a[0] == b[0];
}

std::string LiteralCaption(const std::string& text) {
    std::string caption;
    caption.reserve(text.size());
    for (char c : text) {
        caption += c;
        if (c == '&') caption += '&';
    }
    return caption;
}
