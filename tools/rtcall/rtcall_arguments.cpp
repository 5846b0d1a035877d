#include "rtcall_arguments.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "gbk.h"
#include "memory.h"

namespace rtcall {
namespace {

// Decimal, optionally negative, or 0x hexadecimal, within [low, high].
bool ParseInteger(const std::string &text, int64_t low, uint64_t high, uint64_t &out) {
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    int base = 10;
    if (text.compare(i, 2, "0x") == 0 || text.compare(i, 2, "0X") == 0) base = 16, i += 2;
    if (i >= text.size() || !std::isxdigit(static_cast<unsigned char>(text[i]))) return false;
    errno = 0;
    char *end = nullptr;
    unsigned long long magnitude = std::strtoull(text.c_str() + i, &end, base);
    if (errno || *end) return false;
    if (negative) {
        if (magnitude > uint64_t(-(low + 1)) + 1) return false;
        out = uint64_t(0) - magnitude;
    } else {
        if (magnitude > high) return false;
        out = magnitude;
    }
    return true;
}

bool ParseReal(const std::string &text, double &out) {
    if (text.empty()) return false;
    char *end = nullptr;
    out = std::strtod(text.c_str(), &end);
    return *end == '\0';
}

bool ParseHex(const std::string &text, std::string &out) {
    if (text.size() % 2) return false;
    out.clear();
    for (size_t i = 0; i < text.size(); i += 2) {
        if (!std::isxdigit(static_cast<unsigned char>(text[i])) || !std::isxdigit(static_cast<unsigned char>(text[i + 1])))
            return false;
        out.push_back(char(std::strtoul(text.substr(i, 2).c_str(), nullptr, 16)));
    }
    return true;
}

struct NumberKind {
    char letter;
    uint32_t type;
    int64_t low;
    uint64_t high;
};
constexpr NumberKind kNumberKinds[] = {
    {'b', rt::kTypeByte, -128, 255},
    {'s', rt::kTypeShortInteger, -32768, 65535},
    {'i', rt::kTypeInteger, INT32_MIN, UINT32_MAX},
    {'l', rt::kTypeLongInteger, INT64_MIN, UINT64_MAX},
};

const NumberKind *IntegerKind(char letter) {
    for (const NumberKind &k : kNumberKinds)
        if (k.letter == letter) return &k;
    return nullptr;
}

// A numeric value in its stored width, for scalars and array elements.
bool ParseNumber(char letter, const std::string &text, uint64_t &bits) {
    if (const NumberKind *k = IntegerKind(letter)) {
        if (!ParseInteger(text, k->low, k->high, bits)) return false;
        if (k->type != rt::kTypeLongInteger) bits &= (k->type == rt::kTypeInteger ? 0xFFFFFFFFu : k->type == rt::kTypeShortInteger ? 0xFFFFu : 0xFFu);
        return true;
    }
    double d;
    if (!ParseReal(text, d)) return false;
    if (letter == 'f') {
        float f = float(d);
        uint32_t word;
        std::memcpy(&word, &f, 4);
        bits = word;
    } else {
        std::memcpy(&bits, &d, 8);
    }
    return true;
}

uint32_t NumberType(char letter) {
    switch (letter) {
    case 'f': return rt::kTypeFloat;
    case 'd': return rt::kTypeDouble;
    default: return IntegerKind(letter) ? IntegerKind(letter)->type : 0;
    }
}

std::vector<std::string> SplitCommas(const std::string &text) {
    std::vector<std::string> parts;
    if (text.empty()) return parts;
    size_t start = 0;
    for (;;) {
        size_t comma = text.find(',', start);
        parts.push_back(text.substr(start, comma - start));
        if (comma == std::string::npos) return parts;
        start = comma + 1;
    }
}

bool ParseArray(char letter, const std::string &body, Argument &out, std::string &error) {
    out.kind = Argument::kArray;
    for (const std::string &item : SplitCommas(body)) {
        if (letter == 't') {
            std::string bytes;
            if (!ParseHex(item, bytes)) return error = "array element '" + item + "' is not hex bytes", false;
            out.texts.push_back(bytes);
        } else {
            uint64_t bits;
            if (!ParseNumber(letter, item, bits)) return error = "array element '" + item + "' is not a valid number", false;
            out.elements.push_back(bits);
        }
    }
    out.type = letter == 't' ? rt::kTypeText : NumberType(letter);
    return true;
}

bool ParseTyped(const std::string &prefix, const std::string &body, Argument &out, std::string &error) {
    out.kind = Argument::kScalar;
    if (prefix.size() == 1 && NumberType(prefix[0])) {
        out.type = NumberType(prefix[0]);
        return ParseNumber(prefix[0], body, out.bits) || (error = "'" + body + "' is not a valid number", false);
    }
    if (prefix == "bool" || prefix == "sp") {
        uint64_t bits;
        bool ok = prefix == "bool" ? ParseInteger(body, INT32_MIN, UINT32_MAX, bits) : ParseInteger(body, INT64_MIN, UINT64_MAX, bits);
        if (!ok) return error = "'" + body + "' is not a valid integer", false;
        out.type = prefix == "bool" ? rt::kTypeBoolean : rt::kTypeSubroutinePointer;
        out.bits = prefix == "bool" ? (bits & 0xFFFFFFFFu) : bits;
        return true;
    }
    if (prefix == "dt") {
        double d;
        if (!ParseReal(body, d)) return error = "'" + body + "' is not a valid date number", false;
        out.type = rt::kTypeDateTime;
        std::memcpy(&out.bits, &d, 8);
        return true;
    }
    if (prefix == "t" || prefix == "bs") {
        out.kind = prefix == "t" ? Argument::kText : Argument::kByteSet;
        out.type = prefix == "t" ? rt::kTypeText : rt::kTypeByteSet;
        return ParseHex(body, out.bytes) || (error = "'" + body + "' is not hex bytes", false);
    }
    if (prefix == "u") {
        out.kind = Argument::kText;
        out.type = rt::kTypeText;
        out.bytes = rt::ToGbk(body);
        return true;
    }
    if (prefix.size() == 2 && prefix[0] == 'a' && (prefix[1] == 't' || NumberType(prefix[1])))
        return ParseArray(prefix[1], body, out, error);
    if (prefix == "var") {
        uint64_t bits;
        if (body.compare(0, 2, "i:") != 0 || !ParseInteger(body.substr(2), INT32_MIN, INT32_MAX, bits))
            return error = "a variable is written var:i:N", false;
        out.kind = Argument::kVariable;
        out.type = rt::kTypeInteger | rt::kIndirectFlag;
        out.bits = bits & 0xFFFFFFFFu;
        return true;
    }
    return error = "unknown argument kind '" + prefix + ":'", false;
}

void *BuildArray(const Argument &a) {
    uint32_t count = uint32_t(a.kind == Argument::kArray && a.type == rt::kTypeText ? a.texts.size() : a.elements.size());
    void *array = rt::MakeArray(a.type, count);
    void *first = rt::ArrayElementsOf(array).first;
    uint32_t width = rt::StorageSizeOf(a.type);
    for (uint32_t i = 0; i < count; ++i) {
        if (a.type == rt::kTypeText)
            rt::SetPointerElement(first, i, rt::MakeText(a.texts[i].data(), a.texts[i].size()));
        else
            std::memcpy(static_cast<uint8_t *>(first) + size_t(i) * width, &a.elements[i], width);
    }
    return array;
}

} // namespace

bool ParseArgument(const std::string &text, Argument &out, std::string &error) {
    out = Argument{};
    if (text == "-") return true;
    size_t colon = text.find(':');
    if (colon == std::string::npos) return error = "expected KIND:VALUE or -", false;
    return ParseTyped(text.substr(0, colon), text.substr(colon + 1), out, error);
}

BuiltArguments BuildArguments(const std::vector<Argument> &arguments, const char *emptyText,
                              const uint8_t *emptyByteSet) {
    BuiltArguments built;
    for (const Argument &a : arguments) {
        rt::TypedValue record{0, 0, a.type};
        switch (a.kind) {
        case Argument::kOmitted: break;
        case Argument::kScalar: record.SetBits(a.bits); break;
        case Argument::kText: {
            char *text = rt::MakeText(a.bytes.data(), a.bytes.size());
            if (text) built.blocks.push_back(text);
            record.SetPointer(text ? text : emptyText);
            break;
        }
        case Argument::kByteSet: {
            uint8_t *set = rt::MakeByteSet(a.bytes.data(), a.bytes.size());
            if (set) built.blocks.push_back(set);
            record.SetPointer(set ? set : emptyByteSet);
            break;
        }
        case Argument::kArray:
            record.type = a.type | rt::kIndirectFlag;
            record.SetPointer(BuildArray(a));
            built.arrays.emplace_back(rt::BaseType(record.type), record.Pointer<void>());
            break;
        case Argument::kVariable: {
            auto *variable = static_cast<int32_t *>(rt::AllocateMemory(sizeof(int32_t)));
            *variable = int32_t(uint32_t(a.bits));
            built.variables.push_back(variable);
            record.SetPointer(variable);
            break;
        }
        }
        built.records.push_back(record);
    }
    return built;
}

void ReleaseArguments(BuiltArguments &built) {
    for (auto &[type, array] : built.arrays) rt::FreeArray(type, array);
    for (void *block : built.blocks) rt::FreeMemory(block);
    for (int32_t *v : built.variables) rt::FreeMemory(v);
    built = {};
}

} // namespace rtcall
