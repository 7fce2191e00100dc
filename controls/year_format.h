// Whether the short date format shows four-digit years, decided once at
// start-up.
#pragma once
#include <string>

extern bool YearHasFourDigits;

// True when the format, upper-cased, contains "YYYY".
bool FormatHasFourDigitYear(const std::string& shortDateFormat);
// Sets YearHasFourDigits from the user's short date format.
void DecideYearFormat();
