// rtcall COMMAND [ARG ...]: starts the runtime the way the program does (the runtime
// application object over the application image, handler 6 from the entry routine),
// calls one command through helper slot 3 (core library) or 2, prints the result and
// ends through the runtime's clean-up. A runtime error report ends it with 255.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "command_table.h"
#include "console.h"
#include "image_data.h"
#include "runtime_app.h"
#include "runtime_interface.h"
#include "rtcall_arguments.h"
#include "rtcall_output.h"

extern const rt::ImageHeader ApplicationImageHeader;
extern const rt::WindowSetOperations *const ApplicationWindowSet;

namespace {

constexpr int kUsageError = 2;

struct Request {
    const cmd::CommandEntry *command = nullptr;
    std::vector<rtcall::Argument> arguments;
};
Request request;

int Usage(const std::string &problem) {
    std::fprintf(stderr, "rtcall: %s\nusage: rtcall COMMAND [ARG ...]   (rtcall --list names the commands)\n",
                 problem.c_str());
    return kUsageError;
}

void ListCommands() {
    for (const cmd::CommandEntry *e = cmd::AllCommands(); e->name; ++e) std::printf("%s\n", e->name);
}

bool ParseRequest(const std::vector<std::string> &words, std::string &problem) {
    request.command = cmd::FindCommand(words[0].c_str());
    if (!request.command) return problem = "unknown command '" + words[0] + "'", false;
    for (size_t i = 1; i < words.size(); ++i) {
        rtcall::Argument a;
        std::string why;
        if (!rtcall::ParseArgument(words[i], a, why))
            return problem = "argument " + std::to_string(i) + " '" + words[i] + "': " + why, false;
        request.arguments.push_back(a);
    }
    return true;
}

rt::TypedValue Call(rtcall::BuiltArguments &built) {
    auto count = int32_t(built.records.size());
    rt::TypedValue *args = built.records.empty() ? nullptr : built.records.data();
    return request.command->library == 1 ? rt::RuntimeHelpers.callCoreCommand(request.command->routine, count, args)
                                         : rt::RuntimeHelpers.callLibraryCommand(request.command->routine, count, args);
}

void PrintVariables(const rtcall::BuiltArguments &built) {
    for (int32_t *v : built.variables) std::printf("var:i:%d\n", *v);
}

} // namespace

// The tool's entry routine, in the place of the application's.
int ApplicationEntry() {
    rt::RuntimeHelpers.handler(rt::kHandlerInitialize, nullptr);
    const char *emptyText = reinterpret_cast<const char *>(image::ConstantArea + image::kEmptyText);
    const uint8_t *emptyByteSet = image::ConstantArea + image::kEmptyByteSet;
    rtcall::BuiltArguments built = rtcall::BuildArguments(request.arguments, emptyText, emptyByteSet);
    rt::TypedValue result = Call(built);
    std::fputs(rtcall::DescribeResult(result).c_str(), stdout);
    PrintVariables(built);
    std::fflush(stdout);
    rtcall::ReleaseResult(result);
    rtcall::ReleaseArguments(built);
    return 0; // the framework goes on to the exit step: the runtime clean-up
}

int main(int argc, char **argv) {
    console::SetUpConsole();
    if (argc < 2) return Usage("no command given");
    if (std::string(argv[1]) == "--list") {
        ListCommands();
        return 0;
    }
    std::string problem;
    if (!ParseRequest(console::Utf8Arguments(argc, argv), problem)) return Usage(problem);
    rt::RuntimeApp app(&ApplicationImageHeader, &ApplicationEntry, ApplicationWindowSet);
    return fw::FrameworkMain();
}
