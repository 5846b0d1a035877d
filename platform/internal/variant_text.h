// Numbers, booleans and dates as automation text: "." before the fraction, dates in the locale's form.
#pragma once

#include <wtypes.h>

#include <string>

#include "variant_locale.h"

namespace ole {

struct Number {
    enum Kind { Int, UInt, Real, Currency } kind = Int;
    int64_t i = 0;  // Int, or Currency scaled by 10000
    uint64_t u = 0; // UInt
    double d = 0;   // Real
};

// A number as OLE reads it: blanks around, sign, thousands commas, fraction, exponent, &H and &O.
bool ParseNumberText(std::u16string_view text, Number &out);
// The locale's Boolean words or the English ones, in any letter case.
bool ParseBoolText(std::u16string_view text, const TextLocale &locale, bool &out);
// Three numbers split by "/", "-" or "." in the locale's order (a year above 31 always
// first), optionally followed by "H:mm[:ss]" with or without AM/PM; or a time alone.
bool ParseDateText(std::u16string_view text, const TextLocale &locale, double &date);

std::u16string FormatReal(double value, int significantDigits);
std::u16string FormatInteger(int64_t value);
std::u16string FormatUnsigned(uint64_t value);
std::u16string FormatCurrency(int64_t scaled);
std::u16string FormatDate(double date, const TextLocale &locale);

// Valid range of DATE values: years 100 to 9999.
const double kMinDate = -657434.0;
const double kMaxDate = 2958466.0;

} // namespace ole
