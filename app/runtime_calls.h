// Small helpers that make the application's calls through the runtime's doors
// readable: the handler slot, the command convention and owned text variables.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "runtime_interface.h"

namespace app {

inline uint64_t CallHandler(int32_t number, std::initializer_list<uintptr_t> args) {
    return rt::RuntimeHelpers.handler(number, args.begin());
}

} // namespace app
