#include "command_arguments.h"

#include "core_library.h"

namespace cmd {

bool ArgumentGiven(int32_t count, const rt::TypedValue *args, int32_t index) {
    return index < count && args[index].type != rt::kTypeNone;
}

const char *TextArgument(int32_t count, const rt::TypedValue *args, int32_t index) {
    if (index >= count || args[index].type != rt::kTypeText) return "";
    const char *text = args[index].Pointer<const char>();
    return text ? text : "";
}

int32_t IntegerArgument(int32_t count, const rt::TypedValue *args, int32_t index) {
    if (!ArgumentGiven(count, args, index)) return 0;
    if (args[index].type == rt::kTypeInteger) return args[index].AsInteger();
    return int32_t(CoreService(rt::kServiceToInteger, reinterpret_cast<intptr_t>(&args[index])));
}

bool BooleanArgument(int32_t count, const rt::TypedValue *args, int32_t index) {
    if (!ArgumentGiven(count, args, index)) return false;
    if (args[index].type == rt::kTypeBoolean) return args[index].low != 0;
    return IntegerArgument(count, args, index) != 0;
}

} // namespace cmd
