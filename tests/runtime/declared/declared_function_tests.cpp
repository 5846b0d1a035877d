// Declared external functions: the search order, ordinals, caching, the argument-count
// check and the failure reports. Every scenario starts the runtime with its own image
// in a fresh child process (death tests) and reports what it saw on stderr.
#include <gtest/gtest.h>

#include "exit_codes.h"
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "declared_functions.h"
#include "image.h"
#include "module_exports.h"
#include "runtime_app.h"
#include "runtime_interface.h"
#include "temp_folder.h"

using namespace rt;
namespace fs = std::filesystem;

namespace {

fs::path ProgramDirectory() { return fs::read_symlink("/proc/self/exe").parent_path(); }

std::string Dos(const fs::path &host) {
    std::string s = "Z:" + host.string();
    for (char &c : s)
        if (c == '/') c = '\\';
    return s;
}

enum Declared : int32_t {
    kMultiByteToWideChar,
    kProbeIdentity,
    kOrdinalTwelve,
    kOrdinalTwelveWide,
    kMissingOrdinal,
    kMissingExport,
    kMissingLibrary,
    kProbeTwelve,
    kProbeSeven,
    kProbeByPath,
    kPathRemoveBlanks,
    kStringLength,
    kOrdinalTwelveHuge,
    kDeclaredCount
};

const std::string elsewherePath = Dos(ProgramDirectory() / "elsewhere" / "declared_probe.dll");
const char *const dllNames[kDeclaredCount] = {
    "", "declared_probe.dll", "declared_probe.dll", "declared_probe.dll", "declared_probe.dll", "",
    "no_such_library.dll", "declared_probe.dll", "declared_probe.dll", elsewherePath.c_str(), "shlwapi.dll", "Kernel32", "declared_probe.dll"};
const char *const exportNames[kDeclaredCount] = {
    "MultiByteToWideChar", "ProbeIdentity", "#12", "#65548", "#99", "NoSuchExport", "Anything", "ProbeTwelve",
    "ProbeSeven", "ProbeIdentity", "PathRemoveBlanksA", "lstrlenA",
    "#18446744073709617164"}; // 2^64 + 65548

alignas(8) const uint8_t kArea[16] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0};
const ImageHeader image = {3, 0, 0, 0, kArea, sizeof kArea, nullptr, 0, 0, nullptr, kDeclaredCount, dllNames,
                           exportNames};

void StartRuntime() {
    static RuntimeApp app(&image, nullptr, nullptr);
    RuntimeHelpers.handler(kHandlerInitialize, nullptr);
}

uint64_t Call(int32_t number, std::initializer_list<uintptr_t> args) {
    return RuntimeHelpers.callDeclared(number, args.begin(), int32_t(args.size()));
}

template <typename T> uintptr_t W(T *p) { return reinterpret_cast<uintptr_t>(p); }

// How many references others hold on a module (this probe's own load not counted).
// Destructive: the module is fully released afterwards.
// The references others hold; looking never unloads the module.
int References(const char *name) {
    HMODULE m = LoadLibraryA(name);
    if (!m) return -1;
    int n = platform::ModuleReferences(m) - 1;
    FreeLibrary(m);
    return n;
}

[[noreturn]] void Done(const std::string &seen) {
    std::fprintf(stderr, "seen: %s\n", seen.c_str());
    std::fflush(stderr);
    _exit(0);
}

void EmptyDllNameSearchesTheSystemLibraries() {
    StartRuntime();
    wchar_t wide[4] = {};
    uint64_t n = Call(kMultiByteToWideChar, {936, 0, W("\xD6\xD0"), uintptr_t(-1), W(wide), 4});
    Done(std::to_string(int32_t(n)) + " " + std::to_string(int(wide[0] == 0x4E2D)) + " kernel32 " +
         std::to_string(References("kernel32.dll")) + " gdi32 " + std::to_string(References("gdi32.dll")));
}

void BareNameBesideTheProgramWins() {
    StartRuntime();
    fs::current_path(ProgramDirectory() / "elsewhere"); // the other copy is in the current directory
    int beside = int(Call(kProbeIdentity, {}));
    Done("beside " + std::to_string(beside) + ", by path " + std::to_string(int(Call(kProbeByPath, {}))));
}

void OrdinalsResolve() {
    StartRuntime();
    Done(std::to_string(int64_t(Call(kOrdinalTwelve, {5}))) + " " +
         std::to_string(int64_t(Call(kOrdinalTwelveWide, {uintptr_t(-3)}))) + " " +
         std::to_string(int64_t(Call(kOrdinalTwelveHuge, {2}))));
}

void SecondCallDoesNotLoadAgain() {
    StartRuntime();
    Call(kProbeIdentity, {});
    Call(kProbeIdentity, {});
    Call(kOrdinalTwelve, {1}); // another entry of the same file holds its own reference
    std::string path = Dos(ProgramDirectory() / "declared_probe.dll");
    int held = References(path.c_str());
    ReleaseDeclaredFunctions();
    Done("held " + std::to_string(held) + ", after release " + std::to_string(References(path.c_str())));
}

void ConcurrentFirstCallsHoldOneReference() {
    StartRuntime();
    std::vector<std::thread> threads;
    std::atomic<int> sum{0};
    for (int i = 0; i < 8; ++i) threads.emplace_back([&] { sum += int(Call(kProbeIdentity, {})); });
    for (auto &t : threads) t.join();
    std::string path = Dos(ProgramDirectory() / "declared_probe.dll");
    Done("sum " + std::to_string(sum.load()) + ", held " + std::to_string(References(path.c_str())));
}

void WordsReachRegistersAndStack() {
    StartRuntime();
    uint64_t twelve = Call(kProbeTwelve, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
    uint64_t seven = Call(kProbeSeven, {1, 2, 3, 4, 5, 6, 7});
    char text[] = "  a b ";
    Call(kPathRemoveBlanks, {W(text)});
    uint64_t length = Call(kStringLength, {W(text)});
    Done(std::to_string(twelve) + " " + std::to_string(seven) + " [" + text + "] " + std::to_string(int32_t(length)));
}

// Module files of ours named like system modules, in the run directory and the
// current directory: the system's own modules are loaded all the same.
void PlantedSystemNamesAreIgnored() {
    StartRuntime();
    std::string seen;
    {
        testsupport::TempFolder run;
        for (const char *name : {"shlwapi.dll", "Kernel32.dll", "kernel32.dll"})
            fs::copy_file(ProgramDirectory() / "declared_probe.dll", run.Host(name));
        App().runDirectory = run.Dos();
        fs::current_path(run.HostRoot());
        char text[] = " x ";
        Call(kPathRemoveBlanks, {W(text)});
        seen = std::string("[") + text + "] " + std::to_string(int32_t(Call(kStringLength, {W(text)})));
        fs::current_path(ProgramDirectory());
    }
    Done(seen);
}

void CallWithCount(int32_t number, std::initializer_list<uintptr_t> args) {
    StartRuntime();
    Call(number, args);
    Done("called");
}

class DeclaredFunctionTest : public testing::Test {
protected:
    void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
};

} // namespace

TEST_F(DeclaredFunctionTest, AnEmptyDllNameIsFoundInTheFirstSystemLibrary) {
    EXPECT_EXIT(EmptyDllNameSearchesTheSystemLibraries(), testing::ExitedWithCode(0), "seen: 2 1 kernel32 1 gdi32 0");
}

TEST_F(DeclaredFunctionTest, ALibraryBesideTheProgramWinsOverAnotherCopy) {
    EXPECT_EXIT(BareNameBesideTheProgramWins(), testing::ExitedWithCode(0), "seen: beside 1, by path 2");
}

TEST_F(DeclaredFunctionTest, SystemModuleNamesBesideTheProgramAreNotLoaded) {
    EXPECT_EXIT(PlantedSystemNamesAreIgnored(), testing::ExitedWithCode(0), "seen: \\[x\\] 1");
}

TEST_F(DeclaredFunctionTest, HashNamesAreOrdinalsReducedTo16Bits) {
    EXPECT_EXIT(OrdinalsResolve(), testing::ExitedWithCode(0), "seen: 60 -36 24");
}

TEST_F(DeclaredFunctionTest, ResolvedFunctionsAreCachedAndReleasedAtCleanUp) {
    EXPECT_EXIT(SecondCallDoesNotLoadAgain(), testing::ExitedWithCode(0), "seen: held 2, after release 0");
}

TEST_F(DeclaredFunctionTest, ConcurrentFirstCallsLeaveOneReference) {
    EXPECT_EXIT(ConcurrentFirstCallsHoldOneReference(), testing::ExitedWithCode(0), "seen: sum 8, held 1");
}

TEST_F(DeclaredFunctionTest, ArgumentWordsArriveInOrder) {
    EXPECT_EXIT(WordsReachRegistersAndStack(), testing::ExitedWithCode(0), "seen: 650 140 \\[a b\\] 3");
}

TEST_F(DeclaredFunctionTest, AMissingOrdinalIsReportedWithItsHash) {
    EXPECT_EXIT(CallWithCount(kMissingOrdinal, {}), testing::ExitedWithCode(testsupport::kRuntimeErrorExit),
                "无法找到指定DLL库文件“declared_probe.dll”中的输出命令“#99”");
}

TEST_F(DeclaredFunctionTest, FailureTextsNameWhatWasMissing) {
    EXPECT_EXIT(CallWithCount(kMissingExport, {}), testing::ExitedWithCode(testsupport::kRuntimeErrorExit),
                "运行时出错!\\s*错误信息：无法找到指定DLL库文件中的输出命令“NoSuchExport”");
    EXPECT_EXIT(CallWithCount(kMissingLibrary, {}), testing::ExitedWithCode(testsupport::kRuntimeErrorExit),
                "错误信息：无法找到指定DLL库文件“no_such_library.dll”中的输出命令“Anything”");
}

TEST_F(DeclaredFunctionTest, AnArgumentCountOtherThanTheExportsIsError6) {
    EXPECT_EXIT(CallWithCount(kOrdinalTwelve, {1, 2}), testing::ExitedWithCode(testsupport::kRuntimeErrorExit),
                "错误代码：6.*调用DLL命令后发现堆栈错误");
    EXPECT_EXIT(CallWithCount(kMultiByteToWideChar, {936, 0, 0, 0, 0}), testing::ExitedWithCode(testsupport::kRuntimeErrorExit),
                "错误代码：6");
    EXPECT_EXIT(CallWithCount(kProbeIdentity, {}), testing::ExitedWithCode(0), "seen: called");
}

TEST_F(DeclaredFunctionTest, NumbersOutsideTheTableAreReportedNotRead) {
    EXPECT_EXIT(CallWithCount(kDeclaredCount, {}), testing::ExitedWithCode(testsupport::kRuntimeErrorExit), "输出命令“#13”");
    EXPECT_EXIT(CallWithCount(-1, {}), testing::ExitedWithCode(testsupport::kRuntimeErrorExit), "输出命令“#-1”");
}
