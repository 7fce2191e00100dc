#include "classlib/core/color.h"

#include <iterator>
#include <mutex>

#include "classlib/core/strutils.h"

namespace {

struct TIdentEntry {
    int32_t Value;
    const char* Name;
};

template <size_t N>
bool ValueToIdent(const TIdentEntry (&map)[N], int32_t value, std::string& ident) {
    for (const TIdentEntry& e : map)
        if (e.Value == value) {
            ident = e.Name;
            return true;
        }
    return false;
}

template <size_t N>
bool IdentToValue(const TIdentEntry (&map)[N], const std::string& ident, int32_t& value) {
    for (const TIdentEntry& e : map)
        if (SameText(e.Name, ident)) {
            value = e.Value;
            return true;
        }
    return false;
}

// The first entry of a value is its identifier; later ones are aliases
// accepted when reading.
const TIdentEntry kColors[] = {
    {clBlack, "clBlack"}, {clMaroon, "clMaroon"}, {clGreen, "clGreen"}, {clOlive, "clOlive"},
    {clNavy, "clNavy"}, {clPurple, "clPurple"}, {clTeal, "clTeal"}, {clGray, "clGray"},
    {clSilver, "clSilver"}, {clRed, "clRed"}, {clLime, "clLime"}, {clYellow, "clYellow"},
    {clBlue, "clBlue"}, {clFuchsia, "clFuchsia"}, {clAqua, "clAqua"}, {clWhite, "clWhite"},
    {clScrollBar, "clScrollBar"}, {clBackground, "clBackground"},
    {clActiveCaption, "clActiveCaption"}, {clInactiveCaption, "clInactiveCaption"},
    {clMenu, "clMenu"}, {clWindow, "clWindow"}, {clWindowFrame, "clWindowFrame"},
    {clMenuText, "clMenuText"}, {clWindowText, "clWindowText"}, {clCaptionText, "clCaptionText"},
    {clActiveBorder, "clActiveBorder"}, {clInactiveBorder, "clInactiveBorder"},
    {clAppWorkSpace, "clAppWorkSpace"}, {clHighlight, "clHighlight"},
    {clHighlightText, "clHighlightText"}, {clBtnFace, "clBtnFace"}, {clBtnShadow, "clBtnShadow"},
    {clGrayText, "clGrayText"}, {clBtnText, "clBtnText"},
    {clInactiveCaptionText, "clInactiveCaptionText"}, {clBtnHighlight, "clBtnHighlight"},
    {cl3DDkShadow, "cl3DDkShadow"}, {cl3DLight, "cl3DLight"}, {clInfoText, "clInfoText"},
    {clInfoBk, "clInfoBk"}, {clNone, "clNone"}, {clDefault, "clDefault"},
    {clLtGray, "clLtGray"}, {clDkGray, "clDkGray"},
};

const TIdentEntry kCharsets[] = {
    {ANSI_CHARSET, "ANSI_CHARSET"}, {DEFAULT_CHARSET, "DEFAULT_CHARSET"},
    {SYMBOL_CHARSET, "SYMBOL_CHARSET"}, {MAC_CHARSET, "MAC_CHARSET"},
    {SHIFTJIS_CHARSET, "SHIFTJIS_CHARSET"}, {HANGEUL_CHARSET, "HANGEUL_CHARSET"},
    {JOHAB_CHARSET, "JOHAB_CHARSET"}, {GB2312_CHARSET, "GB2312_CHARSET"},
    {CHINESEBIG5_CHARSET, "CHINESEBIG5_CHARSET"}, {GREEK_CHARSET, "GREEK_CHARSET"},
    {TURKISH_CHARSET, "TURKISH_CHARSET"}, {VIETNAMESE_CHARSET, "VIETNAMESE_CHARSET"},
    {HEBREW_CHARSET, "HEBREW_CHARSET"}, {ARABIC_CHARSET, "ARABIC_CHARSET"},
    {BALTIC_CHARSET, "BALTIC_CHARSET"}, {RUSSIAN_CHARSET, "RUSSIAN_CHARSET"},
    {THAI_CHARSET, "THAI_CHARSET"}, {EASTEUROPE_CHARSET, "EASTEUROPE_CHARSET"},
    {OEM_CHARSET, "OEM_CHARSET"},
};

const TIdentEntry kCursors[] = {
    {crDefault, "crDefault"}, {crNone, "crNone"}, {crArrow, "crArrow"}, {crCross, "crCross"},
    {crIBeam, "crIBeam"}, {crSizeNESW, "crSizeNESW"}, {crSizeNS, "crSizeNS"},
    {crSizeNWSE, "crSizeNWSE"}, {crSizeWE, "crSizeWE"}, {crUpArrow, "crUpArrow"},
    {crHourGlass, "crHourGlass"}, {crDrag, "crDrag"}, {crNoDrop, "crNoDrop"},
    {crHSplit, "crHSplit"}, {crVSplit, "crVSplit"}, {crMultiDrag, "crMultiDrag"},
    {crSQLWait, "crSQLWait"}, {crNo, "crNo"}, {crAppStart, "crAppStart"}, {crHelp, "crHelp"},
    {crHandPoint, "crHandPoint"}, {crSizeAll, "crSizeAll"}, {crSize, "crSize"},
};

// The classic Windows scheme, for programs that run without the system's
// colours (native builds, tests that inject none).
TColor ClassicSysColor(int index) {
    static const TColor table[] = {
        0xC8D0D4, 0xA56E3A, 0x6A240A, 0x808080, 0xC8D0D4, 0xFFFFFF, 0x000000, 0x000000,
        0x000000, 0xFFFFFF, 0xC8D0D4, 0xC8D0D4, 0x808080, 0x6A240A, 0xFFFFFF, 0xC8D0D4,
        0x808080, 0x808080, 0x000000, 0xC8D0D4, 0xFFFFFF, 0x404040, 0xC8D0D4, 0x000000,
        0xE1FFFF,
    };
    if (index < 0 || index >= static_cast<int>(std::size(table))) return clBlack;
    return table[index];
}

std::mutex& ProviderLock() {
    static std::mutex lock;
    return lock;
}

TSysColorProvider& Provider() {
    static TSysColorProvider provider;
    return provider;
}

TTypeInfo MakeIdentType(const char* name, int64_t minValue, int64_t maxValue,
                        bool (*toIdent)(int32_t, std::string&),
                        bool (*toInt)(const std::string&, int32_t&)) {
    TTypeInfo t = MakeIntegerType(name, minValue, maxValue);
    t.IntToIdent = toIdent;
    t.IdentToInt = toInt;
    return t;
}

}  // namespace

TSysColorProvider SetSysColorProvider(TSysColorProvider provider) {
    std::lock_guard<std::mutex> guard(ProviderLock());
    TSysColorProvider previous = std::move(Provider());
    Provider() = std::move(provider);
    return previous;
}

TColor ColorToRGB(TColor color) {
    if (color >= 0) return color;
    TSysColorProvider provider;
    {
        std::lock_guard<std::mutex> guard(ProviderLock());
        provider = Provider();
    }
    int index = static_cast<int>(static_cast<uint32_t>(color) & 0xFFu);
    return provider ? provider(index) : ClassicSysColor(index);
}

bool ColorToIdent(int32_t color, std::string& ident) {
    return ValueToIdent(kColors, color, ident);
}

bool IdentToColor(const std::string& ident, int32_t& color) {
    return IdentToValue(kColors, ident, color);
}

std::string ColorToString(TColor color) {
    std::string ident;
    if (ColorToIdent(color, ident)) return ident;
    std::string hex = IntToHex32(color, 8);
    return "$" + hex;
}

TColor StringToColor(const std::string& text) {
    int32_t color;
    if (IdentToColor(text, color)) return color;
    return StrToInt(text);
}

const TTypeInfo* TypeInfoColor() {
    static const TTypeInfo info = MakeIdentType("TColor", INT32_MIN, INT32_MAX, ColorToIdent, IdentToColor);
    return &info;
}

bool CharsetToIdent(int32_t charset, std::string& ident) {
    return ValueToIdent(kCharsets, charset, ident);
}

bool IdentToCharset(const std::string& ident, int32_t& charset) {
    return IdentToValue(kCharsets, ident, charset);
}

const TTypeInfo* TypeInfoFontCharset() {
    static const TTypeInfo info = MakeIdentType("TFontCharset", 0, 255, CharsetToIdent, IdentToCharset);
    return &info;
}

bool CursorToIdent(int32_t cursor, std::string& ident) {
    return ValueToIdent(kCursors, cursor, ident);
}

bool IdentToCursor(const std::string& ident, int32_t& cursor) {
    return IdentToValue(kCursors, ident, cursor);
}

const TTypeInfo* TypeInfoCursor() {
    static const TTypeInfo info = MakeIdentType("TCursor", -32768, 32767, CursorToIdent, IdentToCursor);
    return &info;
}
