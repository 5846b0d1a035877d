#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "temp_folder.h"
#include "windows.h"

TEST(Heap, SizesAreTheSizesAskedForAndZeroingWorks) {
    HANDLE heap = GetProcessHeap();
    auto *block = static_cast<uint8_t *>(HeapAlloc(heap, HEAP_ZERO_MEMORY, 13));
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(HeapSize(heap, 0, block), 13u);
    for (int i = 0; i < 13; ++i) EXPECT_EQ(block[i], 0);
    block = static_cast<uint8_t *>(HeapReAlloc(heap, HEAP_ZERO_MEMORY, block, 100));
    EXPECT_EQ(HeapSize(heap, 0, block), 100u);
    EXPECT_EQ(block[99], 0);
    EXPECT_EQ(HeapReAlloc(heap, HEAP_REALLOC_IN_PLACE_ONLY, block, 200), nullptr);
    EXPECT_TRUE(HeapFree(heap, 0, block));
    EXPECT_TRUE(HeapFree(heap, 0, nullptr));
    EXPECT_EQ(HeapAlloc(heap, 0, SIZE_T(-1) / 2), nullptr);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_NOT_ENOUGH_MEMORY));
}

// Fixed blocks are their own addresses; movable ones are locked into an address and
// keep their handle when they grow; stale handles get errors, not crashes.
TEST(GlobalMemory, FixedAndMovableBlocksAsWin32HasThem) {
    HGLOBAL fixed = GlobalAlloc(GPTR, 8);
    ASSERT_NE(fixed, nullptr);
    EXPECT_EQ(GlobalLock(fixed), fixed);
    EXPECT_EQ(static_cast<char *>(fixed)[7], 0);
    EXPECT_EQ(GlobalSize(fixed), 8u);

    HGLOBAL movable = GlobalAlloc(GHND, 4);
    char *at = static_cast<char *>(GlobalLock(movable));
    ASSERT_NE(at, nullptr);
    EXPECT_NE(static_cast<void *>(at), movable);
    std::memcpy(at, "abc", 4);
    EXPECT_NE(GlobalLock(movable), nullptr);
    EXPECT_TRUE(GlobalUnlock(movable)); // still locked once
    EXPECT_EQ(GlobalReAlloc(movable, 4096, GMEM_MOVEABLE), nullptr); // locked: cannot move
    EXPECT_FALSE(GlobalUnlock(movable));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_SUCCESS));
    EXPECT_FALSE(GlobalUnlock(movable));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_NOT_LOCKED));
    EXPECT_EQ(GlobalReAlloc(movable, 4096, GMEM_MOVEABLE), movable);
    EXPECT_EQ(GlobalSize(movable), 4096u);
    EXPECT_STREQ(static_cast<char *>(GlobalLock(movable)), "abc");
    GlobalUnlock(movable);

    EXPECT_EQ(GlobalFree(movable), nullptr);
    EXPECT_EQ(GlobalFree(fixed), nullptr);
    EXPECT_EQ(GlobalFree(movable), movable);
    EXPECT_EQ(GlobalLock(movable), nullptr);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
    EXPECT_EQ(GlobalSize(movable), 0u);
}

TEST(ModuleFileName, IsADosPathOnDriveZ) {
    char path[4096];
    DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    ASSERT_GT(n, 3u);
    EXPECT_EQ(std::string(path, 3), "Z:\\");
    EXPECT_EQ(std::string(path).find('/'), std::string::npos);
    EXPECT_NE(std::string(path).find("\\kernel32_tests"), std::string::npos);
}

TEST(ModuleFileName, ATooSmallBufferIsCutAndTerminated) {
    char path[8];
    EXPECT_EQ(GetModuleFileNameA(nullptr, path, sizeof path), 8u);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(std::string(path, 3), "Z:\\");
    EXPECT_EQ(std::strlen(path), 7u);
}

TEST(CurrentDirectory, RoundTripsThroughDosPaths) {
    char saved[4096];
    GetCurrentDirectoryA(sizeof saved, saved);
    ASSERT_TRUE(SetCurrentDirectoryA("Z:\\tmp"));
    char now[4096];
    EXPECT_EQ(GetCurrentDirectoryA(sizeof now, now), 6u);
    EXPECT_STREQ(now, "Z:\\tmp");
    EXPECT_EQ(GetCurrentDirectoryA(3, now), 7u); // too small: the size needed, with the NUL
    ASSERT_TRUE(SetCurrentDirectoryA("/"));
    GetCurrentDirectoryA(sizeof now, now);
    EXPECT_STREQ(now, "Z:\\");
    EXPECT_FALSE(SetCurrentDirectoryA("C:\\Windows"));
    EXPECT_FALSE(SetCurrentDirectoryA("Z:\\no\\such\\directory"));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_PATH_NOT_FOUND));
    SetCurrentDirectoryA(saved);
}

class FileSearch : public testing::Test {
protected:
    testsupport::TempFolder folder;
    std::string host = folder.HostRoot(), dos = folder.Dos();
    void SetUp() override {
        ASSERT_TRUE(folder.Ok());
        for (const char *name : {"a.txt", "B.TXT", "ab.log", "\xE4\xB8\xAD.txt"}) folder.Put(name, "");
        mkdir(folder.Host("dir").c_str(), 0755);
    }
    std::vector<std::string> Find(const std::string &mask) {
        std::vector<std::string> names;
        WIN32_FIND_DATAA data;
        HANDLE h = FindFirstFileA((dos + "\\" + mask).c_str(), &data);
        if (h == INVALID_HANDLE_VALUE) return names;
        do names.push_back(data.cFileName);
        while (FindNextFileA(h, &data));
        EXPECT_EQ(GetLastError(), DWORD(ERROR_NO_MORE_FILES));
        EXPECT_TRUE(FindClose(h));
        return names;
    }
};

TEST_F(FileSearch, WildcardsIgnoreCase) {
    EXPECT_EQ(Find("*.txt"), (std::vector<std::string>{"B.TXT", "a.txt", "\xD6\xD0.txt"}));
    EXPECT_EQ(Find("?.TXT"), (std::vector<std::string>{"B.TXT", "a.txt"}));
    EXPECT_EQ(Find("A*"), (std::vector<std::string>{"a.txt", "ab.log"}));
    EXPECT_EQ(Find("*.*").size(), 7u); // ".", ".." and five entries
    EXPECT_TRUE(Find("*.doc").empty());
    EXPECT_EQ(GetLastError(), DWORD(ERROR_FILE_NOT_FOUND));
}

TEST_F(FileSearch, EntriesCarryDosAttributesAndSizes) {
    std::FILE *f = std::fopen((host + "/a.txt").c_str(), "w");
    std::fputs("12345", f);
    std::fclose(f);
    ASSERT_TRUE(SetFileAttributesA((dos + "\\ab.log").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY));
    WIN32_FIND_DATAA data;
    HANDLE h = FindFirstFileA((dos + "\\a.txt").c_str(), &data);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_EQ(data.nFileSizeLow, 5u);
    EXPECT_EQ(data.dwFileAttributes, DWORD(FILE_ATTRIBUTE_ARCHIVE));
    FindClose(h);
    EXPECT_EQ(GetFileAttributesA((dos + "\\ab.log").c_str()), DWORD(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(GetFileAttributesA((dos + "\\dir").c_str()), DWORD(FILE_ATTRIBUTE_DIRECTORY));
    EXPECT_EQ(GetFileAttributesA((dos + "\\none").c_str()), INVALID_FILE_ATTRIBUTES);
    SetFileAttributesA((dos + "\\ab.log").c_str(), 0);
}

TEST_F(FileSearch, BadHandlesAreRefused) {
    WIN32_FIND_DATAA data;
    EXPECT_FALSE(FindNextFileA(nullptr, &data));
    EXPECT_FALSE(FindClose(reinterpret_cast<HANDLE>(0x1234)));
    EXPECT_EQ(FindFirstFileA("Z:\\no\\such\\dir\\*", &data), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_PATH_NOT_FOUND));
}

namespace {
std::atomic<int> counter{0};
CRITICAL_SECTION section;
long unprotected = 0;

DWORD WINAPI Count(LPVOID) {
    for (int i = 0; i < 10000; ++i) {
        EnterCriticalSection(&section);
        EnterCriticalSection(&section); // recursive
        ++unprotected;
        LeaveCriticalSection(&section);
        LeaveCriticalSection(&section);
    }
    return 42;
}

DWORD WINAPI ExitEarly(LPVOID) {
    ExitThread(9);
}
} // namespace

TEST(Threads, RunWaitAndReportTheirExitCodes) {
    InitializeCriticalSection(&section);
    DWORD id = 0;
    HANDLE a = CreateThread(nullptr, 0, Count, nullptr, 0, &id);
    HANDLE b = CreateThread(nullptr, 0, Count, nullptr, 0, nullptr);
    EXPECT_NE(id, 0u);
    EXPECT_NE(id, GetCurrentThreadId());
    EXPECT_EQ(WaitForSingleObject(a, INFINITE), DWORD(WAIT_OBJECT_0));
    EXPECT_EQ(WaitForSingleObject(b, 10000), DWORD(WAIT_OBJECT_0));
    EXPECT_EQ(unprotected, 20000);
    DWORD code = 0;
    EXPECT_TRUE(GetExitCodeThread(a, &code));
    EXPECT_EQ(code, 42u);
    HANDLE c = CreateThread(nullptr, 0, ExitEarly, nullptr, 0, nullptr);
    WaitForSingleObject(c, INFINITE);
    GetExitCodeThread(c, &code);
    EXPECT_EQ(code, 9u);
    EXPECT_TRUE(CloseHandle(a));
    EXPECT_TRUE(CloseHandle(b));
    EXPECT_TRUE(CloseHandle(c));
    EXPECT_FALSE(CloseHandle(a));
    DeleteCriticalSection(&section);
}

TEST(Time, TicksAdvanceWithSleep) {
    DWORD start = GetTickCount();
    Sleep(30);
    EXPECT_GE(GetTickCount() - start, 29u);
    SYSTEMTIME t;
    GetLocalTime(&t);
    EXPECT_GE(t.wYear, 2024);
    EXPECT_LE(t.wMonth, 12);
    EXPECT_LE(t.wSecond, 59);
}

TEST(Strings, LengthOfNullIsZero) {
    EXPECT_EQ(lstrlenA(nullptr), 0);
    EXPECT_EQ(lstrlenA("\xD6\xD0z"), 3);
}

TEST(Environment, ValuesComeBackInTheAnsiCodePage) {
    setenv("SORVEL_TEST_VALUE", "\xE4\xB8\xAD", 1);
    char buffer[8];
    EXPECT_EQ(GetEnvironmentVariableA("SORVEL_TEST_VALUE", buffer, 1), 3u);
    EXPECT_EQ(GetEnvironmentVariableA("SORVEL_TEST_VALUE", buffer, sizeof buffer), 2u);
    EXPECT_STREQ(buffer, "\xD6\xD0");
    EXPECT_EQ(GetEnvironmentVariableA("SORVEL_NO_SUCH_VALUE", buffer, sizeof buffer), 0u);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_ENVVAR_NOT_FOUND));
}

TEST(Modules, SystemModulesByAnyCaseAndExportsByName) {
    HMODULE k = LoadLibraryA("KERNEL32.DLL");
    ASSERT_NE(k, nullptr);
    EXPECT_EQ(LoadLibraryA("kernel32.dll"), k);
    EXPECT_EQ(reinterpret_cast<void *>(GetProcAddress(k, "lstrlenA")), reinterpret_cast<void *>(&lstrlenA));
    EXPECT_EQ(GetProcAddress(k, "lstrlena"), nullptr); // export names keep their case
    EXPECT_EQ(GetLastError(), DWORD(ERROR_PROC_NOT_FOUND));
    EXPECT_TRUE(FreeLibrary(k));
    EXPECT_TRUE(FreeLibrary(k));
    EXPECT_FALSE(FreeLibrary(k));
    EXPECT_EQ(LoadLibraryA("no-such-module.dll"), nullptr);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_MOD_NOT_FOUND));
}
