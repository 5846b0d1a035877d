// The 13 helper slots the application calls the runtime through.
#include "declared_functions.h"
#include "handlers.h"
#include "memory.h"
#include "runtime_app.h"
#include "runtime_error.h"
#include "runtime_interface.h"

namespace rt {
namespace {

// The result record is zeroed before the call, so a command that writes nothing
// returns the all-zero triple.
TypedValue CallCommand(CommandRoutine command, int32_t count, TypedValue *args) {
    TypedValue result{0, 0, 0};
    TypedValue none{0, 0, 0};
    command(&result, count, args ? args : &none);
    return result;
}

uint64_t ReadUnitProperty(uint32_t window, uint32_t unit, int32_t property, int32_t index) {
    const WindowSetOperations *ops = App().windowSet;
    return ops ? ops->readProperty(window, unit, property, index) : 0;
}

void WriteUnitProperty(uint32_t window, uint32_t unit, int32_t property, int32_t index, uint32_t low, uint32_t high) {
    if (const WindowSetOperations *ops = App().windowSet) ops->writeProperty(window, unit, property, index, low, high);
}

void *Allocate(intptr_t bytes) { return AllocateMemory(size_t(bytes < 0 ? 0 : bytes)); }
void *Reallocate(void *block, intptr_t bytes) { return ReallocateMemory(block, size_t(bytes < 0 ? 0 : bytes)); }
void Exit(int32_t code) { ExitProgram(code); }
void ReportByNumber(int32_t number) { ReportRuntimeErrorNumber(number); }

} // namespace

const RuntimeHelperTable RuntimeHelpers = {
    ReportByNumber,          CallDeclaredFunction,    CallCommand, CallCommand, ReadUnitProperty,
    WriteUnitProperty,       Allocate,                Reallocate,  FreeMemory,  Exit,
    RunMainLoop,             LoadStartupWindow,       DispatchHandler,
};

} // namespace rt
