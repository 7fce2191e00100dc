// Colours, font character sets and cursors: the integer values controls and
// fonts carry, their identifiers in layouts ("clBtnFace", "ANSI_CHARSET",
// "crHandPoint"), and the type information that files them by name.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "classlib/core/typinfo.h"

// $00BBGGRR for plain colours (red in the low byte); $80000000 + index for
// the system's colours, which ColorToRGB resolves.
using TColor = int32_t;

constexpr TColor SysColor(int index) {
    return static_cast<TColor>(0x80000000u | static_cast<uint32_t>(index));
}

constexpr TColor clScrollBar = SysColor(0);
constexpr TColor clBackground = SysColor(1);
constexpr TColor clActiveCaption = SysColor(2);
constexpr TColor clInactiveCaption = SysColor(3);
constexpr TColor clMenu = SysColor(4);
constexpr TColor clWindow = SysColor(5);
constexpr TColor clWindowFrame = SysColor(6);
constexpr TColor clMenuText = SysColor(7);
constexpr TColor clWindowText = SysColor(8);
constexpr TColor clCaptionText = SysColor(9);
constexpr TColor clActiveBorder = SysColor(10);
constexpr TColor clInactiveBorder = SysColor(11);
constexpr TColor clAppWorkSpace = SysColor(12);
constexpr TColor clHighlight = SysColor(13);
constexpr TColor clHighlightText = SysColor(14);
constexpr TColor clBtnFace = SysColor(15);
constexpr TColor clBtnShadow = SysColor(16);
constexpr TColor clGrayText = SysColor(17);
constexpr TColor clBtnText = SysColor(18);
constexpr TColor clInactiveCaptionText = SysColor(19);
constexpr TColor clBtnHighlight = SysColor(20);
constexpr TColor cl3DDkShadow = SysColor(21);
constexpr TColor cl3DLight = SysColor(22);
constexpr TColor clInfoText = SysColor(23);
constexpr TColor clInfoBk = SysColor(24);

constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;
// Aliases; ColorToIdent names them clSilver and clGray.
constexpr TColor clLtGray = clSilver;
constexpr TColor clDkGray = clGray;

// Resolves a system-colour index (0..255) to $00BBGGRR.
using TSysColorProvider = std::function<TColor(int index)>;
// Installs the provider ColorToRGB asks; nullptr restores the built-in
// table of the classic Windows scheme. Returns the previous provider.
TSysColorProvider SetSysColorProvider(TSysColorProvider provider);
// Makes ColorToRGB follow the running system (GetSysColor); program entries
// call it once at start-up. Without Win32 it keeps the built-in table.
void InstallWin32SysColors();

// A system colour as the current RGB; any other value is returned as is.
TColor ColorToRGB(TColor color);

bool ColorToIdent(int32_t color, std::string& ident);
// Case-insensitive; also accepts clLtGray and clDkGray.
bool IdentToColor(const std::string& ident, int32_t& color);
// The identifier, else "$" and eight upper-case hex digits.
std::string ColorToString(TColor color);
// An identifier or any integer text StrToInt accepts; else EConvertError.
TColor StringToColor(const std::string& text);
// Integer type "TColor" that files colours by identifier where one exists.
const TTypeInfo* TypeInfoColor();

// Font character sets.
#ifndef ANSI_CHARSET
constexpr uint8_t ANSI_CHARSET = 0;
#endif
#ifndef DEFAULT_CHARSET
constexpr uint8_t DEFAULT_CHARSET = 1;
#endif
#ifndef SYMBOL_CHARSET
constexpr uint8_t SYMBOL_CHARSET = 2;
#endif
#ifndef MAC_CHARSET
constexpr uint8_t MAC_CHARSET = 77;
#endif
#ifndef SHIFTJIS_CHARSET
constexpr uint8_t SHIFTJIS_CHARSET = 128;
#endif
#ifndef HANGEUL_CHARSET
constexpr uint8_t HANGEUL_CHARSET = 129;
#endif
#ifndef JOHAB_CHARSET
constexpr uint8_t JOHAB_CHARSET = 130;
#endif
#ifndef GB2312_CHARSET
constexpr uint8_t GB2312_CHARSET = 134;
#endif
#ifndef CHINESEBIG5_CHARSET
constexpr uint8_t CHINESEBIG5_CHARSET = 136;
#endif
#ifndef GREEK_CHARSET
constexpr uint8_t GREEK_CHARSET = 161;
#endif
#ifndef TURKISH_CHARSET
constexpr uint8_t TURKISH_CHARSET = 162;
#endif
#ifndef VIETNAMESE_CHARSET
constexpr uint8_t VIETNAMESE_CHARSET = 163;
#endif
#ifndef HEBREW_CHARSET
constexpr uint8_t HEBREW_CHARSET = 177;
#endif
#ifndef ARABIC_CHARSET
constexpr uint8_t ARABIC_CHARSET = 178;
#endif
#ifndef BALTIC_CHARSET
constexpr uint8_t BALTIC_CHARSET = 186;
#endif
#ifndef RUSSIAN_CHARSET
constexpr uint8_t RUSSIAN_CHARSET = 204;
#endif
#ifndef THAI_CHARSET
constexpr uint8_t THAI_CHARSET = 222;
#endif
#ifndef EASTEUROPE_CHARSET
constexpr uint8_t EASTEUROPE_CHARSET = 238;
#endif
#ifndef OEM_CHARSET
constexpr uint8_t OEM_CHARSET = 255;
#endif

bool CharsetToIdent(int32_t charset, std::string& ident);
bool IdentToCharset(const std::string& ident, int32_t& charset);
// Integer type "TFontCharset", 0..255, filed by identifier where one exists.
const TTypeInfo* TypeInfoFontCharset();

// Mouse cursors: negative values are the built-in ones.
using TCursor = int16_t;

constexpr TCursor crDefault = 0;
constexpr TCursor crNone = -1;
constexpr TCursor crArrow = -2;
constexpr TCursor crCross = -3;
constexpr TCursor crIBeam = -4;
constexpr TCursor crSizeNESW = -6;
constexpr TCursor crSizeNS = -7;
constexpr TCursor crSizeNWSE = -8;
constexpr TCursor crSizeWE = -9;
constexpr TCursor crUpArrow = -10;
constexpr TCursor crHourGlass = -11;
constexpr TCursor crDrag = -12;
constexpr TCursor crNoDrop = -13;
constexpr TCursor crHSplit = -14;
constexpr TCursor crVSplit = -15;
constexpr TCursor crMultiDrag = -16;
constexpr TCursor crSQLWait = -17;
constexpr TCursor crNo = -18;
constexpr TCursor crAppStart = -19;
constexpr TCursor crHelp = -20;
constexpr TCursor crHandPoint = -21;
constexpr TCursor crSizeAll = -22;
constexpr TCursor crSize = crSizeAll;  // alias; CursorToIdent names it crSizeAll

bool CursorToIdent(int32_t cursor, std::string& ident);
bool IdentToCursor(const std::string& ident, int32_t& cursor);
// Integer type "TCursor", -32768..32767, filed by identifier where one exists.
const TTypeInfo* TypeInfoCursor();
