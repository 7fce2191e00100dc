// Wide text in and out of 8-bit code pages: 65000 (UTF-7) and 65001
// (UTF-8) by the layer's own coders, others by the system's conversions.
#pragma once
#include <cstdint>
#include <string>

constexpr uint32_t kCodePageUtf7 = 65000;
constexpr uint32_t kCodePageUtf8 = 65001;

// The layer's default code page for ANSI views; 0 is the system ANSI code
// page. Set by StartUnicodeConversions.
extern uint32_t DefaultAnsiCodePage;
void StartUnicodeConversions();
void StopUnicodeConversions();

std::wstring StringToWideWithCodePage(const std::string& s, uint32_t codePage);
std::string WideToStringWithCodePage(const std::wstring& w, uint32_t codePage);

// The system ANSI code page's conversions.
std::wstring WideFromSystemAnsi(const std::string& s);
std::string SystemAnsiFromWide(const std::wstring& w);

// Exchanges the two bytes of every code unit up to the first zero unit.
void SwapWideByteOrder(wchar_t* text);
