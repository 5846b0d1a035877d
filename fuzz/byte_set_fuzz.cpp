// ByteSetData and the byte-set commands with arbitrary sets, positions and data types.
// A walk with a position variable must reach the end (-1) in at most one step per byte.
#include <cstdlib>

#include "conversion_commands.h"
#include "fuzz_values.h"
#include "runtime_fixture.h"
#include "text_commands.h"

namespace {

constexpr int32_t kDataTypeCount = 10; // ByteSetData's valid type numbers are 1 to 10

rt::TypedValue Call(rt::CommandRoutine routine, std::initializer_list<rt::TypedValue> args) {
    return rt::RuntimeHelpers.callCoreCommand(routine, int32_t(args.size()), const_cast<rt::TypedValue *>(args.begin()));
}

void Discard(rt::TypedValue result) { fuzz::Release(result); }

void Walk(rt::TypedValue set, int32_t type, int32_t position, size_t setSize) {
    rt::TypedValue variable{0, 0, rt::kTypeInteger | rt::kIndirectFlag};
    variable.SetPointer(&position);
    for (size_t step = 0; position != -1; ++step) {
        if (step > setSize + 1) std::abort(); // the walk stands still or goes back
        Discard(Call(cmd::ByteSetData, {set, rt::MakeInteger(type), variable}));
    }
}

void OtherCommands(fuzz::FuzzReader &in, rt::TypedValue set) {
    rt::TypedValue a = fuzz::ValueFrom(in, true), b = fuzz::ValueFrom(in, true);
    Discard(Call(cmd::ByteSetLength, {set}));
    Discard(Call(cmd::ByteSetLeft, {set, a}));
    Discard(Call(cmd::FindByteSet, {set, b, a}));
    Discard(Call(cmd::BlankByteSet, {a}));
    Discard(Call(cmd::RepeatByteSet, {a, set}));
    Discard(Call(cmd::ToByteSet, {b}));
    fuzz::Release(a);
    fuzz::Release(b);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    testsupport::StartTestRuntime();
    fuzz::FuzzReader in(data, size);
    int32_t type = 1 + in.Byte() % kDataTypeCount;
    int32_t position = in.Integer();
    bool walk = in.Byte() & 1;
    std::string bytes = in.Text();
    rt::TypedValue set = rt::MakeByteSetValue(bytes.empty() ? nullptr : rt::MakeByteSet(bytes.data(), bytes.size()));
    if (walk && position > 0) Walk(set, type, position, bytes.size());
    else Discard(Call(cmd::ByteSetData, {set, rt::MakeInteger(type), rt::MakeInteger(position)}));
    OtherCommands(in, set);
    fuzz::Release(set);
    return 0;
}
