#include "controls/year_format.h"

#include "classlib/core/strutils.h"
#include "classlib/gui/win32.h"

bool YearHasFourDigits = false;

bool FormatHasFourDigitYear(const std::string& shortDateFormat) {
    return UpperCase(shortDateFormat).find("YYYY") != std::string::npos;
}

void DecideYearFormat() {
    char format[128] = {};
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, format, sizeof format);
    YearHasFourDigits = FormatHasFourDigitYear(format);
}
