// The text commands, number conversions and date parts on arbitrary bytes and
// arguments, called through the runtime's command door as the application calls them.
#include "conversion_commands.h"
#include "date_time_commands.h"
#include "fuzz_values.h"
#include "runtime_fixture.h"
#include "text_commands.h"

namespace {

struct Command {
    rt::CommandRoutine routine;
    bool bounded; // an integer argument sizes the result
};

const Command kCommands[] = {
    {cmd::TextLength, false},   {cmd::TextLeft, false},        {cmd::TextRight, false},
    {cmd::TextMiddle, false},   {cmd::CharFromCode, false},    {cmd::FindText, false},
    {cmd::FindTextReverse, false}, {cmd::ToUpperCase, false},  {cmd::ToLowerCase, false},
    {cmd::ToFullWidth, false},  {cmd::ToHalfWidth, false},     {cmd::TrimSpaces, false},
    {cmd::RemoveAllSpaces, false}, {cmd::ReplaceSubtext, true}, {cmd::SplitText, false},
    {cmd::SpaceText, true},     {cmd::RepeatText, true},       {cmd::ToNumber, false},
    {cmd::ToInteger, false},    {cmd::ToText, false},          {cmd::HexText, false},
    {cmd::GetYear, false},      {cmd::GetMonth, false},        {cmd::GetDay, false},
    {cmd::GetHour, false},      {cmd::GetMinute, false},       {cmd::GetSecond, false},
};
constexpr size_t kCommandCount = sizeof kCommands / sizeof kCommands[0];
constexpr int32_t kMostArguments = 5;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    testsupport::StartTestRuntime();
    fuzz::FuzzReader in(data, size);
    const Command &command = kCommands[in.Byte() % kCommandCount];
    int32_t count = in.Byte() % (kMostArguments + 1);
    rt::TypedValue args[kMostArguments] = {};
    for (int32_t i = 0; i < count; ++i) args[i] = fuzz::ValueFrom(in, command.bounded);
    rt::TypedValue result = rt::RuntimeHelpers.callCoreCommand(command.routine, count, args);
    fuzz::Release(result);
    for (int32_t i = 0; i < count; ++i) fuzz::Release(args[i]);
    return 0;
}
