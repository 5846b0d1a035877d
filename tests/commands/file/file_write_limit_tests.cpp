// A failed write through helper slot 3: a file size limit (POSIX) makes the second byte
// set fail part-way, as a full disk would.
#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>
#include <string>

#include "file_commands.h"
#include "runtime_fixture.h"
#include "temp_folder.h"
#include "windows.h"

using namespace testsupport;

namespace {

bool IsFalse(const rt::TypedValue &v) { return v.type == rt::kTypeBoolean && v.low == 0; }

TEST(FileCommandLimits, AFailedWriteGivesFalseKeepsWhatWasWrittenAndClosesTheFile) {
    StartTestRuntime();
    TempFolder folder;
    ASSERT_TRUE(folder.Ok());
    std::string name = folder.Dos("limited.txt");
    struct rlimit saved;
    getrlimit(RLIMIT_FSIZE, &saved);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit limit = {4, saved.rlim_max};
    setrlimit(RLIMIT_FSIZE, &limit);
    rt::TypedValue result = CallCommand(cmd::WriteFile, {TextArg(name), ByteSetArg("ab"), ByteSetArg("cdef"),
                                                         ByteSetArg("gh")});
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_TRUE(IsFalse(result));
    EXPECT_EQ(folder.Contents("limited.txt"), "abcd");
    HANDLE again = CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(again, INVALID_HANDLE_VALUE); // not left open and locked
    CloseHandle(again);
}

} // namespace
