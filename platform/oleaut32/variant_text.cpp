// Text forms of automation numbers, booleans and dates.
#include "variant_text.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "ole_text.h"

namespace ole {

namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == 0x3000; }

std::u16string_view Trim(std::u16string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

std::u16string Widen(const char *s) { return ToU16(s); }

bool ParseRadix(std::u16string_view s, bool negative, Number &out) {
    int radix = FoldAscii(s[1]) == u'H' ? 16 : 8;
    if (s.size() < 3 || s.size() > 2 + (radix == 16 ? 16 : 22)) return false;
    uint64_t value = 0;
    for (char16_t c : s.substr(2)) {
        int d = (c >= u'0' && c <= u'9') ? c - u'0' : (FoldAscii(c) >= u'A' && FoldAscii(c) <= u'F') ? FoldAscii(c) - u'A' + 10 : 99;
        if (d >= radix) return false;
        value = value * uint64_t(radix) + uint64_t(d);
    }
    // Hexadecimal and octal literals of up to 16 bits are signed shorts, as in OLE.
    int64_t v = value <= 0xFFFF ? int16_t(value) : value <= 0xFFFFFFFF ? int32_t(value) : int64_t(value);
    out.kind = Number::Int;
    out.i = negative ? -v : v;
    return true;
}

// Copies a decimal number into plain ASCII, dropping thousands commas; false if malformed.
bool Normalise(std::u16string_view s, std::string &ascii, bool &integral) {
    size_t i = 0, digits = 0;
    integral = true;
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) ascii += char(s[i++]);
    for (; i < s.size() && ((s[i] >= u'0' && s[i] <= u'9') || (s[i] == u',' && digits)); ++i)
        if (s[i] != u',') ascii += char(s[i]), ++digits;
    if (i < s.size() && s[i] == u'.') {
        ascii += '.', ++i, integral = false;
        for (; i < s.size() && s[i] >= u'0' && s[i] <= u'9'; ++i) ascii += char(s[i]), ++digits;
    }
    if (!digits) return false;
    if (i < s.size() && FoldAscii(s[i]) == u'E') {
        ascii += 'e', ++i, integral = false;
        if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) ascii += char(s[i++]);
        size_t start = i;
        for (; i < s.size() && s[i] >= u'0' && s[i] <= u'9'; ++i) ascii += char(s[i]);
        if (i == start) return false;
    }
    return i == s.size();
}

} // namespace

bool ParseNumberText(std::u16string_view text, Number &out) {
    std::u16string_view s = Trim(text);
    if (s.empty()) return false;
    bool negative = false;
    std::u16string_view body = s;
    if (body[0] == u'-' || body[0] == u'+') negative = body[0] == u'-', body.remove_prefix(1);
    if (body.size() >= 2 && body[0] == u'&' && (FoldAscii(body[1]) == u'H' || FoldAscii(body[1]) == u'O'))
        return ParseRadix(body, negative, out);
    std::string ascii;
    bool integral;
    if (!Normalise(s, ascii, integral)) return false;
    errno = 0;
    if (integral) {
        long long v = std::strtoll(ascii.c_str(), nullptr, 10);
        if (errno == 0) {
            out.kind = Number::Int;
            out.i = v;
            return true;
        }
        errno = 0;
    }
    double d = std::strtod(ascii.c_str(), nullptr);
    if (errno == ERANGE && std::isinf(d)) d = negative ? -HUGE_VAL : HUGE_VAL;
    out.kind = Number::Real;
    out.d = d;
    return true;
}

bool ParseBoolText(std::u16string_view text, const TextLocale &locale, bool &out) {
    std::u16string s(Trim(text));
    for (const TextLocale *words : {&locale, &EnglishLocale()}) {
        if (EqualsNoCase(s.c_str(), words->trueText)) return out = true, true;
        if (EqualsNoCase(s.c_str(), words->falseText)) return out = false, true;
    }
    return false;
}

namespace {

// Days from 1970-01-01 of a proleptic Gregorian date.
int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    int64_t era = (y >= 0 ? y : y - 399) / 400;
    unsigned yoe = unsigned(y - era * 400);
    unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + int64_t(doe) - 719468;
}

void CivilFromDays(int64_t z, int64_t &y, unsigned &m, unsigned &d) {
    z += 719468;
    int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    unsigned doe = unsigned(z - era * 146097);
    unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    y = int64_t(yoe) + era * 400;
    unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    unsigned mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    y += m <= 2;
}

const int64_t kEpochOffset = 25569; // days from 1899-12-30 to 1970-01-01

unsigned DaysInMonth(int64_t y, unsigned m) {
    static const unsigned days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    return m == 2 && leap ? 29 : days[m - 1];
}

// Reads up to three numbers separated by one of the given separators.
size_t ReadFields(std::u16string_view s, std::u16string_view separators, long fields[3], size_t &used) {
    size_t count = 0, i = 0;
    char16_t separator = 0;
    while (count < 3) {
        size_t start = i;
        long value = 0;
        while (i < s.size() && s[i] >= u'0' && s[i] <= u'9' && i - start < 6) value = value * 10 + (s[i++] - u'0');
        if (i == start) break;
        fields[count++] = value;
        used = i;
        if (i >= s.size() || separators.find(s[i]) == std::u16string_view::npos) break;
        if (separator && s[i] != separator) break;
        separator = s[i++];
    }
    return count;
}

// "AM" or "PM" after a time, in any letter case; 0 when absent, -1 when it is something else.
int Meridiem(std::u16string_view rest) {
    rest = Trim(rest);
    if (rest.empty()) return 0;
    if (rest.size() != 2 || FoldAscii(rest[1]) != u'M') return -1;
    if (FoldAscii(rest[0]) == u'A') return 1;
    return FoldAscii(rest[0]) == u'P' ? 2 : -1;
}

bool ParseTime(std::u16string_view s, double &fraction) {
    long f[3] = {0, 0, 0};
    size_t used = 0;
    size_t n = ReadFields(s, u":", f, used);
    int meridiem = Meridiem(s.substr(used));
    if (n < 2 || meridiem < 0 || f[0] > (meridiem ? 12 : 23) || f[1] > 59 || f[2] > 59) return false;
    if (meridiem) f[0] = f[0] % 12 + (meridiem == 2 ? 12 : 0);
    fraction = (f[0] * 3600 + f[1] * 60 + f[2]) / 86400.0;
    return true;
}

// Two-digit years fall in 1930 to 2029.
long FullYear(long year) { return year >= 100 ? year : year < 30 ? 2000 + year : 1900 + year; }

// Year, month and day from three fields in the locale's order; a first field that can
// only be a year puts the year first whatever the locale.
void ArrangeFields(const long f[3], const TextLocale &locale, long &y, long &m, long &d) {
    if (f[0] > 31 || locale.order == TextLocale::YearMonthDay) {
        y = f[0], m = f[1], d = f[2];
    } else if (locale.order == TextLocale::MonthDayYear) {
        m = f[0], d = f[1], y = f[2];
    } else {
        d = f[0], m = f[1], y = f[2];
    }
    y = FullYear(y);
}

} // namespace

bool ParseDateText(std::u16string_view text, const TextLocale &locale, double &date) {
    std::u16string_view s = Trim(text);
    long f[3];
    size_t used = 0;
    size_t n = ReadFields(s, u"/-.", f, used);
    double fraction = 0;
    if (n == 3) {
        long y, m, d;
        ArrangeFields(f, locale, y, m, d);
        if (y > 9999 || m < 1 || m > 12 || d < 1 || unsigned(d) > DaysInMonth(y, unsigned(m))) return false;
        std::u16string_view rest = Trim(s.substr(used));
        if (!rest.empty() && !ParseTime(rest, fraction)) return false;
        double day = double(DaysFromCivil(y, unsigned(m), unsigned(d)) + kEpochOffset);
        date = day < 0 ? day - fraction : day + fraction;
        return true;
    }
    if (!ParseTime(s, fraction)) return false;
    date = fraction;
    return true;
}

std::u16string FormatReal(double value, int significantDigits) {
    if (value == 0) return u"0";
    char text[64];
    std::snprintf(text, sizeof text, "%.*G", significantDigits, value);
    return Widen(text);
}

std::u16string FormatInteger(int64_t value) { return Widen(std::to_string(value).c_str()); }

std::u16string FormatUnsigned(uint64_t value) { return Widen(std::to_string(value).c_str()); }

std::u16string FormatCurrency(int64_t scaled) {
    std::string text = std::to_string(scaled < 0 ? -(scaled / 10000) : scaled / 10000);
    int64_t fraction = scaled % 10000;
    if (fraction < 0) fraction = -fraction;
    if (fraction) {
        char digits[8];
        std::snprintf(digits, sizeof digits, ".%04d", int(fraction));
        std::string tail = digits;
        while (tail.back() == '0') tail.pop_back();
        text += tail;
    }
    if (scaled < 0) text = "-" + text;
    return Widen(text.c_str());
}

namespace {

std::string DayText(int64_t day, const TextLocale &locale) {
    int64_t y;
    unsigned m, d;
    CivilFromDays(day - kEpochOffset, y, m, d);
    const char *form = locale.padDate ? "%02u" : "%u";
    char month[8], dayOfMonth[8], year[24], separator = char(locale.dateSeparator);
    std::snprintf(month, sizeof month, form, m);
    std::snprintf(dayOfMonth, sizeof dayOfMonth, form, d);
    std::snprintf(year, sizeof year, "%lld", (long long)y);
    switch (locale.order) {
    case TextLocale::YearMonthDay: return std::string(year) + separator + month + separator + dayOfMonth;
    case TextLocale::MonthDayYear: return std::string(month) + separator + dayOfMonth + separator + year;
    default: return std::string(dayOfMonth) + separator + month + separator + year;
    }
}

std::string TimeText(int64_t seconds, const TextLocale &locale) {
    int hour = int(seconds / 3600);
    const char *suffix = "";
    if (locale.twelveHour) suffix = hour < 12 ? " AM" : " PM", hour = hour % 12 ? hour % 12 : 12;
    char text[32];
    std::snprintf(text, sizeof text, locale.padHour ? "%02d:%02d:%02d%s" : "%d:%02d:%02d%s", hour,
                  int(seconds / 60 % 60), int(seconds % 60), suffix);
    return text;
}

} // namespace

std::u16string FormatDate(double date, const TextLocale &locale) {
    // The day is the whole part; the time of day is the fraction's absolute value.
    double whole = std::trunc(date);
    int64_t day = int64_t(whole);
    int64_t seconds = std::llround(std::fabs(date - whole) * 86400.0);
    if (seconds >= 86400) seconds = 0, day += date < 0 ? -1 : 1;
    std::string out;
    if (day != 0 || seconds == 0) out = DayText(day, locale);
    if (seconds) out += (out.empty() ? "" : " ") + TimeText(seconds, locale);
    return Widen(out.c_str());
}

} // namespace ole
