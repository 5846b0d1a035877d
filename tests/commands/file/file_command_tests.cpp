// The file commands through helper slot 3, against real files in a scratch folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "file_commands.h"
#include "runtime_fixture.h"
#include "temp_folder.h"
#include "windows.h"

using namespace testsupport;

namespace {

class FileCommands : public ::testing::Test {
protected:
    void SetUp() override {
        StartTestRuntime();
        ASSERT_TRUE(folder_.Ok());
    }

    std::string Host(const std::string &name) const { return folder_.Host(name); }
    std::string Dos(const std::string &name) const { return folder_.Dos(name); }
    std::string Contents(const std::string &name) const { return folder_.Contents(name); }
    void Put(const std::string &name, const std::string &bytes) const { folder_.Put(name, bytes); }

    testsupport::TempFolder folder_;
};

// Read-only in the host's own terms (the mode bits here, the attribute on Windows).
bool Writable(const std::string &host) {
    using std::filesystem::perms;
    return (std::filesystem::status(host).permissions() & perms::owner_write) != perms::none;
}

bool IsTrue(const rt::TypedValue &v) { return v.type == rt::kTypeBoolean && v.low != 0; }
bool IsFalse(const rt::TypedValue &v) { return v.type == rt::kTypeBoolean && v.low == 0; }

TEST_F(FileCommands, RunDirectoryIsTheProgramsFolderWithoutTrailingBackslash) {
    char path[4096];
    DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string expected(path, n);
    expected.erase(expected.rfind('\\'));
    rt::TypedValue result = CallCommand(cmd::RunDirectory, {});
    EXPECT_EQ(result.type, rt::kTypeText);
    EXPECT_EQ(TakeText(result), expected);
    // The result is the caller's own copy: a second call gives a new block.
    rt::TypedValue a = CallCommand(cmd::RunDirectory, {}), b = CallCommand(cmd::RunDirectory, {});
    EXPECT_NE(a.Pointer<char>(), b.Pointer<char>());
    rt::FreeValue(a);
    rt::FreeValue(b);
}

TEST_F(FileCommands, FileExistsMatchesFilesDirectoriesAndWildcards) {
    Put("a.txt", "x");
    std::filesystem::create_directory(Host("sub"));
    EXPECT_TRUE(IsTrue(CallCommand(cmd::FileExists, {TextArg(Dos("a.txt"))})));
    EXPECT_TRUE(IsTrue(CallCommand(cmd::FileExists, {TextArg(Dos("sub"))})));
    EXPECT_TRUE(IsTrue(CallCommand(cmd::FileExists, {TextArg(Dos("*.txt"))})));
    EXPECT_TRUE(IsTrue(CallCommand(cmd::FileExists, {TextArg(Dos("A.TXT"))})));
    EXPECT_TRUE(IsFalse(CallCommand(cmd::FileExists, {TextArg(Dos("*.log"))})));
    EXPECT_TRUE(IsFalse(CallCommand(cmd::FileExists, {TextArg(Dos("b.txt"))})));
    EXPECT_TRUE(IsFalse(CallCommand(cmd::FileExists, {TextArg(Dos("nowhere\\a.txt"))})));
    EXPECT_TRUE(IsFalse(CallCommand(cmd::FileExists, {TextArg("")})));
    EXPECT_TRUE(IsFalse(CallCommand(cmd::FileExists, {})));
}

TEST_F(FileCommands, SetFileAttributesKeepsOnlyTheSettableBits) {
    Put("f.txt", "x");
    std::string name = Dos("f.txt");
    EXPECT_TRUE(IsTrue(CallCommand(cmd::ChangeFileAttributes, {TextArg(name), rt::MakeInteger(0xFF)})));
    // Directory (0x10) and the rest are dropped; read-only, hidden, system, archive stay.
    EXPECT_EQ(GetFileAttributesA(name.c_str()), DWORD(0x27));
    EXPECT_FALSE(Writable(Host("f.txt")));

    // 0x80 is masked away: the value passed is 0, which clears everything.
    EXPECT_TRUE(IsTrue(CallCommand(cmd::ChangeFileAttributes, {TextArg(name), rt::MakeInteger(0x80)})));
    EXPECT_EQ(GetFileAttributesA(name.c_str()), DWORD(FILE_ATTRIBUTE_NORMAL));
    EXPECT_TRUE(Writable(Host("f.txt")));

    EXPECT_TRUE(IsTrue(CallCommand(cmd::ChangeFileAttributes, {TextArg(name), rt::MakeInteger(0x02)})));
    EXPECT_EQ(GetFileAttributesA(name.c_str()), DWORD(FILE_ATTRIBUTE_HIDDEN));
    EXPECT_TRUE(IsFalse(CallCommand(cmd::ChangeFileAttributes, {TextArg(Dos("none.txt")), rt::MakeInteger(1)})));
}

TEST_F(FileCommands, WriteFileWritesByteSetsBackToBack) {
    std::string name = Dos("out.bin");
    rt::TypedValue result = CallCommand(
        cmd::WriteFile, {TextArg(name), ByteSetArg("ab"), ByteSetArg(""), ByteSetArg(std::string("c\0d", 3)),
                         ByteSetArg("ef")});
    EXPECT_TRUE(IsTrue(result));
    EXPECT_EQ(Contents("out.bin"), std::string("abc\0def", 7));

    // A shorter write replaces the whole file.
    EXPECT_TRUE(IsTrue(CallCommand(cmd::WriteFile, {TextArg(name), ByteSetArg("z")})));
    EXPECT_EQ(Contents("out.bin"), "z");

    // Only empty byte sets, or none at all: an empty file.
    EXPECT_TRUE(IsTrue(CallCommand(cmd::WriteFile, {TextArg(name), ByteSetArg(""), ByteSetArg("")})));
    EXPECT_EQ(Contents("out.bin"), "");
    Put("out.bin", "old");
    EXPECT_TRUE(IsTrue(CallCommand(cmd::WriteFile, {TextArg(name)})));
    EXPECT_TRUE(std::filesystem::exists(Host("out.bin")));
    EXPECT_EQ(Contents("out.bin"), "");
}

TEST_F(FileCommands, WriteFileFailsWithoutCreatingAnything) {
    EXPECT_TRUE(IsFalse(CallCommand(cmd::WriteFile, {TextArg(Dos("missing\\x.txt")), ByteSetArg("a")})));
    EXPECT_FALSE(std::filesystem::exists(Host("missing")));
    EXPECT_TRUE(IsFalse(CallCommand(cmd::WriteFile, {TextArg(""), ByteSetArg("a")})));
    EXPECT_TRUE(IsFalse(CallCommand(cmd::WriteFile, {})));

    std::filesystem::create_directory(Host("dir"));
    EXPECT_TRUE(IsFalse(CallCommand(cmd::WriteFile, {TextArg(Dos("dir")), ByteSetArg("a")})));

    Put("ro.txt", "keep");
    ASSERT_TRUE(SetFileAttributesA(Dos("ro.txt").c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_TRUE(IsFalse(CallCommand(cmd::WriteFile, {TextArg(Dos("ro.txt")), ByteSetArg("a")})));
    EXPECT_EQ(Contents("ro.txt"), "keep");
}

TEST_F(FileCommands, WriteFileIsExclusiveAndClosesTheFile) {
    std::string name = Dos("shared.txt");
    HANDLE open = CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS,
                              0, nullptr);
    ASSERT_NE(open, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(IsFalse(CallCommand(cmd::WriteFile, {TextArg(name), ByteSetArg("a")})));
    CloseHandle(open);

    EXPECT_TRUE(IsTrue(CallCommand(cmd::WriteFile, {TextArg(name), ByteSetArg("a")})));
    // Closed after writing: an unshared open succeeds at once.
    HANDLE again = CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(again, INVALID_HANDLE_VALUE);
    CloseHandle(again);
}

TEST_F(FileCommands, RelativeNamesResolveAgainstTheRunDirectory) {
    std::string name = "file_commands_relative_" + std::to_string(GetCurrentProcessId()) + ".txt";
    ASSERT_TRUE(IsTrue(CallCommand(cmd::WriteFile, {TextArg(name), ByteSetArg("rel")})));
    rt::TypedValue dir = CallCommand(cmd::RunDirectory, {});
    std::string full = TakeText(dir) + "\\" + name;
    EXPECT_TRUE(IsTrue(CallCommand(cmd::FileExists, {TextArg(full)})));
    EXPECT_TRUE(std::filesystem::remove(name)); // the current directory is the run directory
}

} // namespace
