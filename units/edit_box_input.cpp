#include "edit_box_input.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <climits>
#include <vector>

#include "gbk.h"
#include "ole_date.h"

namespace units {
namespace {

bool IsDigit(uint32_t c) { return c >= '0' && c <= '9'; }

size_t SkipSpaces(const std::string &t, size_t i) {
    while (i < t.size() && (t[i] == ' ' || t[i] == '\t')) ++i;
    return i;
}

// The leading integer of the text, saturated to 64 bits; 0 when there is none.
int64_t LeadingInteger(const std::string &t) {
    size_t i = SkipSpaces(t, 0);
    bool negative = i < t.size() && t[i] == '-';
    if (i < t.size() && (t[i] == '-' || t[i] == '+')) ++i;
    int64_t value = 0;
    for (; i < t.size() && IsDigit(uint8_t(t[i])); ++i) {
        int digit = t[i] - '0';
        if (value > (INT64_MAX - digit) / 10) return negative ? INT64_MIN : INT64_MAX;
        value = value * 10 + digit;
    }
    return negative ? -value : value;
}

// The leading number of the text (digits, point, exponent), in any locale.
double LeadingNumber(const std::string &t) {
    size_t i = SkipSpaces(t, 0);
    if (i < t.size() && t[i] == '+') ++i;
    double value = 0;
    std::from_chars(t.data() + i, t.data() + t.size(), value, std::chars_format::general);
    return value;
}

std::string General(double value, int precision) {
    char text[64];
    auto r = std::to_chars(text, text + sizeof text, value, std::chars_format::general, precision);
    return std::string(text, r.ptr);
}

bool IsLeapYear(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(int y, int m) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && IsLeapYear(y) ? 29 : days[m - 1];
}

// Year, month, day and up to three time fields, separated by anything but digits,
// written as every date value is written as text.
std::string DateTimeNormalised(const std::string &t) {
    std::vector<int> fields;
    for (size_t i = 0; i < t.size() && fields.size() < 6;) {
        if (!IsDigit(uint8_t(t[i]))) {
            i += uint8_t(t[i]) >= 0x80 ? 2 : 1;
            continue;
        }
        int value = 0;
        for (; i < t.size() && IsDigit(uint8_t(t[i])) && value < 100000; ++i) value = value * 10 + (t[i] - '0');
        fields.push_back(value);
    }
    if (fields.size() < 3) return {};
    fields.resize(6, 0);
    int y = fields[0], mo = fields[1], d = fields[2], h = fields[3], mi = fields[4], s = fields[5];
    if (y < 100 || y > 9999 || mo < 1 || mo > 12 || d < 1 || d > DaysInMonth(y, mo) || h > 23 || mi > 59 || s > 59)
        return {};
    double date = rt::OleDateOf(y, mo, d, h, mi, s);
    return date == 0 ? std::string() : rt::DateTimeText(date); // the zero date is no date
}

std::string Numeric(int32_t mode, const std::string &t) {
    switch (mode) {
    case kInputByte: return std::to_string(std::clamp<int64_t>(LeadingInteger(t), 0, 255));
    case kInputShort: return std::to_string(std::clamp<int64_t>(LeadingInteger(t), -32768, 32767));
    case kInputInteger: return std::to_string(std::clamp<int64_t>(LeadingInteger(t), INT32_MIN, INT32_MAX));
    case kInputLong: return std::to_string(LeadingInteger(t));
    case kInputFloat: return General(double(float(LeadingNumber(t))), 6);
    default: return General(LeadingNumber(t), 13);
    }
}

} // namespace

bool AcceptsCharacter(int32_t mode, uint32_t c) {
    if (c < 32) return true;
    switch (mode) {
    case kInputIntegerText:
    case kInputShort:
    case kInputInteger:
    case kInputLong: return IsDigit(c) || c == '-';
    case kInputDecimalText:
    case kInputFloat:
    case kInputDouble: return IsDigit(c) || c == '-' || c == '.';
    case kInputByte: return IsDigit(c);
    default: return true;
    }
}

std::string NormaliseInput(int32_t mode, const std::string &text) {
    if (mode == kInputDateTime) return DateTimeNormalised(text);
    if (mode < kInputByte || mode > kInputDouble) return text;
    std::string normalised = Numeric(mode, text);
    return normalised == "0" ? std::string() : normalised;
}

} // namespace units
