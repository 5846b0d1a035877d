// How a locale writes dates, times and Boolean words in automation text.
#pragma once

#include <windef.h>

namespace ole {

struct TextLocale {
    enum Order { YearMonthDay, MonthDayYear, DayMonthYear } order;
    char16_t dateSeparator;
    bool padDate;    // "02/01/1970" rather than "2/1/1970"
    bool twelveHour; // "1:05:09 PM" rather than "13:05:09"
    bool padHour;    // "08:05:09" rather than "8:05:09"
    const char16_t *trueText;
    const char16_t *falseText;
};

// The conventions of lcid; the neutral and default identifiers mean the user's locale,
// and a locale without conventions of its own gets the user's.
const TextLocale &LocaleOf(LCID lcid);

// The English words, which VARIANT_ALPHABOOL always uses.
const TextLocale &EnglishLocale();

} // namespace ole
