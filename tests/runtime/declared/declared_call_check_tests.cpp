// The check after a declared call (error 6), through the runtime's own door, on every
// build: a wrong argument count fails wherever the export's count or the stack pointer
// can tell; a wrong calling convention fails where the stack pointer is compared.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "exit_codes.h"
#include "image.h"
#include "runtime_app.h"
#include "runtime_interface.h"
#include "word_call.h"

using namespace rt;

namespace {

// The probe beside this program, as a DOS path (the form the runtime names files in).
std::string ProbePath() {
    char self[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string path(self, length);
    return path.substr(0, path.find_last_of('\\') + 1) + "convention_probe.dll";
}

enum Declared : int32_t { kSumStdcall, kSumCdecl, kTickCount, kDeclaredCount };

const std::string probe = ProbePath();
const char *const dllNames[kDeclaredCount] = {probe.c_str(), probe.c_str(), "kernel32.dll"};
const char *const exportNames[kDeclaredCount] = {"ProbeSumStdcall", "ProbeSumCdecl", "GetTickCount"};
alignas(8) const uint8_t kArea[16] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0};
const ImageHeader image = {3, 0, 0, 0, kArea, sizeof kArea, nullptr, 0, 0, nullptr, kDeclaredCount, dllNames,
                           exportNames};

void CallAndSay(int32_t number, std::initializer_list<uintptr_t> args) {
    static RuntimeApp app(&image, nullptr, nullptr);
    RuntimeHelpers.handler(kHandlerInitialize, nullptr);
    uint64_t result = RuntimeHelpers.callDeclared(number, args.begin(), int32_t(args.size()));
    std::fprintf(stderr, "seen: %d\n", int(result));
    std::fflush(stderr);
    std::_Exit(0);
}

TEST(DeclaredCallCheckDeathTest, AStackLeftElsewhereIsError6) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(CallAndSay(kSumStdcall, {2, 3}), testing::ExitedWithCode(0), "seen: 5");
    EXPECT_EXIT(CallAndSay(kTickCount, {1}), testing::ExitedWithCode(testsupport::kRuntimeErrorExit), "错误代码：6");
    if (kStackPointerCompared)
        EXPECT_EXIT(CallAndSay(kSumCdecl, {2, 3}), testing::ExitedWithCode(testsupport::kRuntimeErrorExit),
                    "错误代码：6");
    else // nothing tells the conventions apart; the call goes through
        EXPECT_EXIT(CallAndSay(kSumCdecl, {2, 3}), testing::ExitedWithCode(0), "seen: 5");
}

} // namespace
