// CreateFileA, WriteFile, ReadFile and CloseHandle on files: dispositions, share
// modes, the errors Win32 gives, and what is left on disk.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "temp_folder.h"
#include "windows.h"

namespace {

class FileIo : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(folder_.Ok()); }

    std::string Host(const std::string &name) const { return folder_.Host(name); }
    std::string Dos(const std::string &name) const { return folder_.Dos(name); }
    std::string Contents(const std::string &name) const { return folder_.Contents(name); }
    void Put(const std::string &name, const std::string &bytes) const { folder_.Put(name, bytes); }
    HANDLE Create(const std::string &name, DWORD access, DWORD share, DWORD disposition) const {
        return CreateFileA(Dos(name).c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    }

    testsupport::TempFolder folder_;
};

bool Write(HANDLE file, const std::string &bytes) {
    DWORD written = 0;
    BOOL ok = WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr);
    return ok && written == bytes.size();
}

TEST_F(FileIo, CreateAlwaysCreatesThenTruncatesAndSaysItExisted) {
    HANDLE file = Create("a.txt", GENERIC_WRITE, 0, CREATE_ALWAYS);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_SUCCESS));
    EXPECT_TRUE(Write(file, "hello "));
    EXPECT_TRUE(Write(file, "world"));
    EXPECT_TRUE(CloseHandle(file));
    EXPECT_EQ(Contents("a.txt"), "hello world");

    file = Create("a.txt", GENERIC_WRITE, 0, CREATE_ALWAYS);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_ALREADY_EXISTS));
    EXPECT_EQ(Contents("a.txt"), "");
    EXPECT_TRUE(Write(file, "x"));
    EXPECT_TRUE(CloseHandle(file));
    EXPECT_EQ(Contents("a.txt"), "x");
}

TEST_F(FileIo, AnUnsharedOpenLocksOthersOutWithoutLosingItsData) {
    HANDLE first = Create("lock.txt", GENERIC_WRITE, 0, CREATE_ALWAYS);
    ASSERT_NE(first, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(Write(first, "kept"));

    EXPECT_EQ(Create("lock.txt", GENERIC_WRITE, 0, CREATE_ALWAYS), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_SHARING_VIOLATION));
    EXPECT_EQ(Create("lock.txt", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING),
              INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_SHARING_VIOLATION));
    EXPECT_EQ(Contents("lock.txt"), "kept"); // the refused create truncated nothing

    EXPECT_TRUE(CloseHandle(first));
    HANDLE second = Create("lock.txt", GENERIC_WRITE, 0, CREATE_ALWAYS);
    EXPECT_NE(second, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(CloseHandle(second));
}

TEST_F(FileIo, ShareModesFollowWin32Rules) {
    Put("s.txt", "abc");
    HANDLE reader = Create("s.txt", GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    HANDLE reader2 = Create("s.txt", GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
    EXPECT_NE(reader2, INVALID_HANDLE_VALUE);
    // Both readers refuse to share writing.
    EXPECT_EQ(Create("s.txt", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING),
              INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_SHARING_VIOLATION));
    // A reader that does not share reading is refused while others read.
    EXPECT_EQ(Create("s.txt", GENERIC_READ, 0, OPEN_EXISTING), INVALID_HANDLE_VALUE);

    char buffer[8] = {};
    DWORD read = 0;
    EXPECT_TRUE(ReadFile(reader, buffer, sizeof buffer, &read, nullptr));
    EXPECT_EQ(std::string(buffer, read), "abc");
    EXPECT_TRUE(ReadFile(reader, buffer, sizeof buffer, &read, nullptr));
    EXPECT_EQ(read, 0u); // end of file
    EXPECT_FALSE(Write(reader, "no"));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_ACCESS_DENIED));
    EXPECT_TRUE(CloseHandle(reader));
    EXPECT_TRUE(CloseHandle(reader2));
}

TEST_F(FileIo, MissingPlacesAndWrongTargetsGiveWin32Errors) {
    EXPECT_EQ(Create("no_dir\\x.txt", GENERIC_WRITE, 0, CREATE_ALWAYS), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_PATH_NOT_FOUND));
    EXPECT_FALSE(std::filesystem::exists(Host("no_dir")));

    EXPECT_EQ(Create("absent.txt", GENERIC_READ, 0, OPEN_EXISTING), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_FILE_NOT_FOUND));
    EXPECT_FALSE(std::filesystem::exists(Host("absent.txt")));

    std::filesystem::create_directory(Host("dir"));
    EXPECT_EQ(Create("dir", GENERIC_WRITE, 0, CREATE_ALWAYS), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_ACCESS_DENIED));

    Put("ro.txt", "safe");
    ASSERT_TRUE(SetFileAttributesA(Dos("ro.txt").c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(Create("ro.txt", GENERIC_WRITE, 0, CREATE_ALWAYS), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_ACCESS_DENIED));
    EXPECT_EQ(Contents("ro.txt"), "safe");

    Put("new.txt", "x");
    EXPECT_EQ(Create("new.txt", GENERIC_WRITE, 0, CREATE_NEW), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_FILE_EXISTS));
    EXPECT_EQ(Create("new.txt", GENERIC_WRITE, 0, 99), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(CreateFileA("C:\\x.txt", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr), INVALID_HANDLE_VALUE);

    HANDLE device = CreateFileA("Z:\\dev\\null", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    EXPECT_NE(device, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(Write(device, "gone"));
    CloseHandle(device);
}

TEST_F(FileIo, ClosedAndForeignHandlesAreRefused) {
    HANDLE file = Create("c.txt", GENERIC_WRITE, 0, CREATE_ALWAYS);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(CloseHandle(file));
    EXPECT_FALSE(CloseHandle(file));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
    DWORD written = 7;
    EXPECT_FALSE(WriteFile(file, "x", 1, &written, nullptr));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
    EXPECT_EQ(written, 0u);

    WIN32_FIND_DATAA found;
    Put("f.txt", "");
    HANDLE search = FindFirstFileA(Dos("f.txt").c_str(), &found);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(WriteFile(search, "x", 1, &written, nullptr)); // a search is not a file
    EXPECT_TRUE(FindClose(search));
}

TEST_F(FileIo, ClearingReadOnlyKeepsTheStoredBits) {
    Put("h.txt", "");
    std::string name = Dos("h.txt");
    ASSERT_TRUE(SetFileAttributesA(name.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
    EXPECT_EQ(GetFileAttributesA(name.c_str()), DWORD(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(SetFileAttributesA(name.c_str(), FILE_ATTRIBUTE_SYSTEM));
    EXPECT_EQ(GetFileAttributesA(name.c_str()), DWORD(FILE_ATTRIBUTE_SYSTEM));
    struct stat info;
    ASSERT_EQ(stat(Host("h.txt").c_str(), &info), 0);
    EXPECT_TRUE(info.st_mode & S_IWUSR);
}

TEST(FileExports, Kernel32ExportsTheFileFunctions) {
    HMODULE kernel = LoadLibraryA("kernel32.dll");
    ASSERT_NE(kernel, nullptr);
    EXPECT_EQ(reinterpret_cast<void *>(GetProcAddress(kernel, "CreateFileA")), reinterpret_cast<void *>(&CreateFileA));
    EXPECT_EQ(reinterpret_cast<void *>(GetProcAddress(kernel, "WriteFile")), reinterpret_cast<void *>(&WriteFile));
    EXPECT_EQ(reinterpret_cast<void *>(GetProcAddress(kernel, "ReadFile")), reinterpret_cast<void *>(&ReadFile));
}

} // namespace
