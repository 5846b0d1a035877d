#include "value_numbers.h"

#include <cmath>

namespace cmd {

int32_t TruncateToInteger(double value) {
    double whole = std::trunc(value);
    if (!(whole >= -2147483648.0 && whole <= 2147483647.0)) return INT32_MIN;
    return int32_t(whole);
}

double NumberOf(const rt::TypedValue &value) {
    switch (value.type) {
    case rt::kTypeByte: return double(uint8_t(value.low));
    case rt::kTypeShortInteger: return double(int16_t(value.low));
    case rt::kTypeInteger: return double(value.AsInteger());
    case rt::kTypeLongInteger: return double(value.AsLong());
    case rt::kTypeFloat: return double(value.AsFloat());
    case rt::kTypeDouble:
    case rt::kTypeDateTime: return value.AsDouble();
    default: return 0.0;
    }
}

int32_t IntegerOf(const rt::TypedValue &value) {
    switch (value.type) {
    case rt::kTypeByte: return int32_t(uint8_t(value.low));
    case rt::kTypeShortInteger: return int32_t(int16_t(value.low));
    case rt::kTypeFloat: return TruncateToInteger(double(value.AsFloat()));
    case rt::kTypeDouble: return TruncateToInteger(value.AsDouble());
    default: return value.AsInteger();
    }
}

} // namespace cmd
