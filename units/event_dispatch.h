// Delivering unit events to the application's handler routines (services 2008 and
// 2031) and the current event source (service 2017).
#pragma once

#include <cstdint>
#include <initializer_list>

namespace units {

struct SimpleEvent {
    uint32_t window;
    uint32_t unit;
    int32_t event;
    int32_t count; // 0 to 5
    uint32_t args[5];
    int32_t resultPresent;
    uint32_t result;
};

struct TypedArgument {
    uint32_t low;
    uint32_t high;
    uint32_t type;
    uint32_t flags;
};

struct TypedEvent {
    uint32_t window;
    uint32_t unit;
    int32_t event;
    int32_t count; // 0 to 12
    TypedArgument args[12];
    int32_t resultPresent;
    uint64_t result;
};

// 1 when a handler ran.
intptr_t RaiseEvent(SimpleEvent &event);
intptr_t RaiseTypedEvent(TypedEvent &event);
// Writes (window, unit) of the running handler; 1 when one is running.
intptr_t CurrentEventSource(uint32_t *out);

// Convenience for the framework and unit types: raises a simple event; `present` and
// `result` receive the handler's value. Returns true when a handler ran.
bool Raise(uint32_t window, uint32_t unit, int32_t event, std::initializer_list<uint32_t> args = {},
           bool *present = nullptr, uint32_t *result = nullptr);

// The words a typed argument passes to a handler.
uint64_t ArgumentWord(const TypedArgument &argument);

} // namespace units
