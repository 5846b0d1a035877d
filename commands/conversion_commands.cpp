#include "conversion_commands.h"

#include <cstring>
#include <string>

#include "core_library.h"
#include "gbk.h"
#include "number_text.h"
#include "ole_date.h"
#include "text_numbers.h"
#include "value_numbers.h"

namespace cmd {
namespace {

struct Bytes {
    const uint8_t *data = nullptr;
    size_t size = 0;
};

// The first dimension's elements of an array of a numeric type; nothing for others.
Bytes NumericArrayBytes(const rt::TypedValue &value) {
    uint32_t width = rt::NumericTypeSize(rt::BaseType(value.type));
    const auto *block = value.Pointer<const uint8_t>();
    if (!width || !block) return {};
    uint32_t dimensions, first = 0;
    std::memcpy(&dimensions, block, 4);
    if (dimensions) std::memcpy(&first, block + 4, 4);
    return {block + rt::ArrayHeaderSize(block), size_t(first) * width};
}

Bytes ByteSetOf(const rt::TypedValue &value) {
    const auto *block = value.Pointer<const uint8_t>();
    return block ? Bytes{rt::ByteSetBytes(block), rt::ByteSetSize(block)} : Bytes{};
}

const char *TextOf(const rt::TypedValue &value) {
    const char *text = value.Pointer<const char>();
    return text ? text : "";
}

char *TextUpToZero(Bytes bytes) {
    const void *zero = bytes.size ? std::memchr(bytes.data, 0, bytes.size) : nullptr;
    size_t length = zero ? size_t(static_cast<const uint8_t *>(zero) - bytes.data) : bytes.size;
    return rt::MakeText(bytes.data, length);
}

char *NumberText(const char *digits, size_t length) { return rt::MakeText(digits, length); }

// The text of a value of a system type; null for the empty text.
char *ScalarText(const rt::TypedValue &value) {
    char buffer[kNumberTextSize];
    switch (value.type) {
    case rt::kTypeByte: return NumberText(buffer, WriteUnsigned(uint8_t(value.low), buffer));
    case rt::kTypeShortInteger: return NumberText(buffer, WriteSigned(int16_t(value.low), buffer));
    case rt::kTypeInteger: return NumberText(buffer, WriteSigned(value.AsInteger(), buffer));
    case rt::kTypeLongInteger: return NumberText(buffer, WriteSigned(value.AsLong(), buffer));
    case rt::kTypeFloat: return NumberText(buffer, WriteFloat(value.AsFloat(), buffer));
    case rt::kTypeDouble: return NumberText(buffer, WriteDouble(value.AsDouble(), buffer));
    case rt::kTypeBoolean: return rt::CopyText(rt::GbkLiteral(value.low ? "真" : "假"));
    case rt::kTypeDateTime: {
        std::string text = rt::DateTimeText(value.AsDouble());
        return rt::MakeText(text.data(), text.size());
    }
    case rt::kTypeText: return rt::CopyText(TextOf(value));
    case rt::kTypeByteSet: return TextUpToZero(ByteSetOf(value));
    default: return nullptr;
    }
}

// What ByteSetData reads for each type number 1 to 10.
struct DataKind {
    uint32_t type;
    uint32_t width; // 0 for text
};
constexpr DataKind kDataKinds[] = {
    {rt::kTypeByte, 1},    {rt::kTypeShortInteger, 2}, {rt::kTypeInteger, 4},
    {rt::kTypeLongInteger, 8}, {rt::kTypeFloat, 4},    {rt::kTypeDouble, 8},
    {rt::kTypeBoolean, 4}, {rt::kTypeDateTime, 8},     {rt::kTypeSubroutinePointer, 4},
    {rt::kTypeText, 0},
};

// A value of `kind` from the bytes at `data` (up to `available` of them); returns the
// number of bytes it takes up.
size_t ReadData(const DataKind &kind, const uint8_t *data, size_t available, rt::TypedValue &out) {
    out = {0, 0, kind.type};
    if (kind.type == rt::kTypeText) {
        const void *zero = available ? std::memchr(data, 0, available) : nullptr;
        size_t length = zero ? size_t(static_cast<const uint8_t *>(zero) - data) : available;
        out.SetPointer(rt::MakeText(data, length));
        return zero ? length + 1 : length;
    }
    uint64_t bits = 0; // missing high bytes count as zero
    if (available) std::memcpy(&bits, data, available < kind.width ? available : kind.width);
    out.SetBits(bits);
    if (kind.type == rt::kTypeBoolean) out.low = uint32_t(bits) != 0;
    if (kind.type == rt::kTypeDateTime) out = rt::MakeDateTime(rt::ClampDate(out.AsDouble()));
    return kind.width;
}

// The position argument: a plain Integer or the address of an Integer variable.
struct Position {
    bool given = false;
    int32_t *variable = nullptr;
    int64_t value = 1;
};

Position PositionOf(int32_t count, const rt::TypedValue *args) {
    Position position;
    if (count < 3 || args[2].type == rt::kTypeNone) return position;
    if (rt::IsIndirect(args[2].type)) {
        position.variable = args[2].Pointer<int32_t>();
        if (!position.variable) return position;
        int32_t value;
        std::memcpy(&value, position.variable, 4);
        position.value = value;
    } else {
        position.value = IntegerOf(args[2]);
    }
    position.given = true;
    return position;
}

void StoreVariable(int32_t *variable, int32_t value) {
    if (variable) std::memcpy(variable, &value, 4);
}

} // namespace

void ToNumber(rt::TypedValue *result, int32_t count, rt::TypedValue *args) {
    double number = 0.0;
    if (count > 0) {
        const rt::TypedValue &value = args[0];
        switch (value.type) {
        case rt::kTypeBoolean: number = value.low ? 1.0 : 0.0; break;
        case rt::kTypeSubroutinePointer: number = double(uintptr_t(value.Pointer<void>())); break;
        case rt::kTypeText: number = ParseDecimalReal(HalfWidthOf(TextOf(value)).c_str()); break;
        case rt::kTypeDateTime: break;
        default: number = NumberOf(value); break;
        }
    }
    *result = rt::MakeDouble(number);
}

void ToInteger(rt::TypedValue *result, int32_t count, rt::TypedValue *args) {
    int32_t number = 0;
    if (count > 0) {
        const rt::TypedValue &value = args[0];
        switch (value.type) {
        case rt::kTypeBoolean: number = value.low ? 1 : 0; break;
        case rt::kTypeText: number = ParseDecimalInteger(HalfWidthOf(TextOf(value)).c_str()); break;
        case rt::kTypeByte:
        case rt::kTypeShortInteger:
        case rt::kTypeInteger:
        case rt::kTypeLongInteger:
        case rt::kTypeFloat:
        case rt::kTypeDouble: number = IntegerOf(value); break;
        case rt::kTypeSubroutinePointer: number = value.AsInteger(); break;
        default: break;
        }
    }
    *result = rt::MakeInteger(number);
}

void ToText(rt::TypedValue *result, int32_t count, rt::TypedValue *args) {
    char *text = nullptr;
    if (count > 0) {
        const rt::TypedValue &value = args[0];
        text = rt::IsIndirect(value.type) ? TextUpToZero(NumericArrayBytes(value)) : ScalarText(value);
    }
    *result = rt::MakeTextValue(text);
}

void HexText(rt::TypedValue *result, int32_t count, rt::TypedValue *args) {
    char buffer[kNumberTextSize];
    size_t length = WriteHex(uint32_t(count > 0 ? IntegerOf(args[0]) : 0), buffer);
    *result = rt::MakeTextValue(rt::MakeText(buffer, length));
}

void ToByteSet(rt::TypedValue *result, int32_t count, rt::TypedValue *args) {
    Bytes bytes;
    if (count > 0) {
        const rt::TypedValue &value = args[0];
        if (rt::IsIndirect(value.type)) {
            bytes = NumericArrayBytes(value);
        } else if (rt::TypeCategoryOf(value.type) == rt::kCategorySystem) {
            rt::ValueData data = rt::ValueDataOf(value);
            bytes = {static_cast<const uint8_t *>(data.data), data.size};
            if (value.type == rt::kTypeText && bytes.size) --bytes.size; // not the terminating zero
        }
    }
    *result = rt::MakeByteSetValue(rt::MakeByteSet(bytes.data, bytes.size));
}

void ByteSetData(rt::TypedValue *result, int32_t count, rt::TypedValue *args) {
    int32_t kindNumber = count > 1 ? IntegerOf(args[1]) : 0;
    if (kindNumber < 1 || kindNumber > 10) {
        ReportProblem(rt::GbkLiteral("“欲取出数据的类型”参数值无效"));
        return;
    }
    const DataKind &kind = kDataKinds[kindNumber - 1];
    Bytes set = count > 0 ? ByteSetOf(args[0]) : Bytes{};
    Position position = PositionOf(count, args);
    int64_t offset = position.value - 1;
    bool readable = offset >= 0 && offset < int64_t(set.size);
    size_t available = readable ? set.size - size_t(offset) : 0;
    size_t consumed = ReadData(kind, readable ? set.data + offset : nullptr, available, *result);
    // A position before the start reads nothing and leaves the variable at the end
    // (-1), so a loop over the set cannot restart or stand still.
    int64_t next = offset + int64_t(consumed);
    bool atEnd = offset < 0 || next >= int64_t(set.size);
    if (position.given) StoreVariable(position.variable, atEnd ? -1 : int32_t(next + 1));
}

const CommandEntry kConversionCommands[] = {
    {"ToNumber", ToNumber, 1},   {"ToInteger", ToInteger, 1}, {"ToText", ToText, 1},
    {"HexText", HexText, 1},     {"ToByteSet", ToByteSet, 1}, {"ByteSetData", ByteSetData, 1},
    {nullptr, nullptr, 0},
};

} // namespace cmd
