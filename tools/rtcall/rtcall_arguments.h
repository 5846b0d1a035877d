// rtcall's argument notation: parsed first (so a usage error needs no runtime), then
// built into argument records on the runtime heap and released after the call.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "value.h"

namespace rtcall {

struct Argument {
    enum Kind { kOmitted, kScalar, kText, kByteSet, kArray, kVariable } kind = kOmitted;
    uint32_t type = 0;                 // the record's type code (array: element type)
    uint64_t bits = 0;                 // scalar payload, variable value
    std::string bytes;                 // text or byte-set bytes
    std::vector<uint64_t> elements;    // numeric array elements, as stored
    std::vector<std::string> texts;    // text array elements
};

// Parses one argument; on failure returns false and says why in `error`.
bool ParseArgument(const std::string &text, Argument &out, std::string &error);

// The records and the blocks and variables they point to.
struct BuiltArguments {
    std::vector<rt::TypedValue> records;
    std::vector<int32_t *> variables; // in argument order
    // What the records point to, owned here: a record is packed to four bytes, so the
    // pointer it holds need not be aligned for anyone scanning memory for it.
    std::vector<void *> blocks;                       // texts and byte sets
    std::vector<std::pair<uint32_t, void *>> arrays;  // element type, array
};

// Empty texts and byte sets are passed as the image's shared empty constants.
BuiltArguments BuildArguments(const std::vector<Argument> &arguments, const char *emptyText,
                              const uint8_t *emptyByteSet);
void ReleaseArguments(BuiltArguments &built);

} // namespace rtcall
