// The application's declarations and embedded skin data, with the runtime started on
// the application's own constant area and declaration lists.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>
#include <string>

#include "image.h"
#include "image_data.h"
#include "libraries.h"
#include "module_export_table.h"
#include "runtime_app.h"
#include "runtime_interface.h"
#include "skin.h"
#include "windows.h"

namespace fs = std::filesystem;

namespace {

// The application's constant area, libraries and declarations; no windows.
const rt::ImageHeader header = {3,
                                0,
                                0,
                                0,
                                image::ConstantArea,
                                image::kConstantAreaSize,
                                nullptr,
                                0,
                                image::kLibraryCount,
                                image::LibraryPointers(),
                                image::kDeclaredFunctionCount,
                                image::DeclaredDllNames,
                                image::DeclaredFunctionNames};

std::string DosPath(const fs::path &host) {
    std::string s = "Z:" + host.string();
    for (char &c : s)
        if (c == '/') c = '\\';
    return s;
}

std::string ByteSet(const void *block) {
    uint32_t length;
    std::memcpy(&length, static_cast<const uint8_t *>(block) + 4, 4);
    return std::string(static_cast<const char *>(block) + 8, length);
}

// The runtime, with the embedded library written to a directory of its own that is
// then its run directory and the current directory (the program's directory is the
// shared build output, where an older library may lie).
fs::path StartWithSkinLibrary() {
    static fs::path dir;
    static std::once_flag once;
    std::call_once(once, [] {
        static rt::RuntimeApp app(&header, nullptr, nullptr);
        rt::RuntimeHelpers.handler(rt::kHandlerInitialize, nullptr);
        dir = fs::temp_directory_path() / ("sorvel-skin-" + std::to_string(getpid()));
        fs::create_directories(dir);
        std::ofstream(dir / "SkinH_EL.dll", std::ios::binary) << ByteSet(app::SkinLibraryFile());
        fs::current_path(dir);
        rt::App().runDirectory = DosPath(dir);
        std::atexit([] { fs::remove_all(dir); });
    });
    return dir;
}

// The copy the declared call loaded: the one in the run directory, named in full (a
// bare name would find a copy next to the test program first).
std::string AttachedSkinName() {
    HMODULE m = LoadLibraryA(DosPath(StartWithSkinLibrary() / "SkinH_EL.dll").c_str());
    FARPROC f = GetProcAddress(m, "SkinH_GetSkinName");
    char name[64] = {};
    if (f) reinterpret_cast<int (*)(char *, int)>(reinterpret_cast<void *>(f))(name, sizeof name);
    FreeLibrary(m);
    return name;
}

} // namespace

TEST(EmbeddedSkins, TheLibraryAndTheBlocksAreInTheConstantArea) {
    std::ifstream built(SKIN_LIBRARY_PATH, std::ios::binary);
    std::string file((std::istreambuf_iterator<char>(built)), {});
    EXPECT_FALSE(file.empty());
    EXPECT_EQ(ByteSet(app::SkinLibraryFile()), file);
    for (int n = 1; n <= app::kSkinCount; ++n) EXPECT_EQ(ByteSet(app::SkinBlock(n)).substr(0, 4), ".SHE") << n;
    EXPECT_EQ(app::SkinBlock(0), nullptr);
    EXPECT_EQ(app::SkinBlock(34), nullptr);
    EXPECT_EQ(app::SkinBlock(-13), nullptr);
}

TEST(EmbeddedSkins, AttachSkinReachesTheLibraryThroughTheDeclaredCall) {
    StartWithSkinLibrary();
    app::AttachSkin(app::kMainWindowSkin);
    EXPECT_EQ(AttachedSkinName(), "Azure Classic");
    if (auto *qt = qobject_cast<QApplication *>(QCoreApplication::instance())) {
        QCoreApplication::processEvents();
        EXPECT_TRUE(qt->styleSheet().contains("#dfe8f5"));
    }
    app::AttachSkin(0); // no block: null and 0, refused by the library; the skin stays
    EXPECT_EQ(AttachedSkinName(), "Azure Classic");
    app::AttachSkin(2);
    EXPECT_EQ(AttachedSkinName(), "Graphite");
}

// Every declaration resolves, and its export takes as many words as the application
// passes (the skin library's from the embedded file).
TEST(Declarations, EveryExportTakesTheApplicationsArgumentCount) {
    struct Expected {
        int32_t number;
        int arguments;
    };
    const Expected expected[] = {
        {image::kDeclaredSkinAttachRes, 6},      {image::kDeclaredCreateThread, 6},
        {image::kDeclaredCoInitialize, 1},       {image::kDeclaredCoUninitialize, 0},
        {image::kDeclaredPathRemoveBlanks, 1},   {image::kDeclaredInternetOpen, 5},
        {image::kDeclaredInternetCloseHandle, 1}, {image::kDeclaredInternetConnect, 8},
        {image::kDeclaredHttpOpenRequest, 8},    {image::kDeclaredHttpSendRequestText, 5},
        {image::kDeclaredHttpSendRequestBytes, 5}, {image::kDeclaredInternetReadFile, 4},
        {image::kDeclaredHttpQueryInfo, 5},      {image::kDeclaredStringLength, 1},
        {image::kDeclaredGetProcessHeap, 0},     {image::kDeclaredHeapAlloc, 3},
        {image::kDeclaredMultiByteToWideChar, 6}, {image::kDeclaredWideCharToMultiByte, 8},
        {image::kDeclaredSleep, 1},              {image::kDeclaredGetTickCount, 0},
        {image::kDeclaredCloseHandle, 1},        {image::kDeclaredGetEnvironmentVariable, 3},
        {image::kDeclaredGetCurrentThreadId, 0}, {image::kDeclaredMessageBox, 4},
        {image::kDeclaredHeapFree, 3},           {image::kDeclaredCreateFile, 7},
        {image::kDeclaredReadFile, 5},
    };
    ASSERT_EQ(std::size(expected), size_t(image::kDeclaredFunctionCount));
    StartWithSkinLibrary(); // the skin library in the current directory
    for (const Expected &e : expected) {
        const char *dll = image::DeclaredDllNames[e.number];
        HMODULE m = LoadLibraryA(*dll ? dll : "kernel32.dll");
        FARPROC f = GetProcAddress(m, image::DeclaredFunctionNames[e.number]);
        EXPECT_NE(f, nullptr) << image::DeclaredFunctionNames[e.number];
        EXPECT_EQ(GetProcArgumentCount(m, f), e.arguments) << image::DeclaredFunctionNames[e.number];
        FreeLibrary(m);
    }
}

// Installing runs in a child process with a runtime of its own whose run directory
// is a fresh directory.
namespace {

fs::path StartInFreshRunDirectory() {
    static rt::RuntimeApp runtime(&header, nullptr, nullptr);
    rt::RuntimeHelpers.handler(rt::kHandlerInitialize, nullptr);
    fs::path dir = fs::temp_directory_path() / ("sorvel-install-" + std::to_string(getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    rt::App().runDirectory = DosPath(dir);
    return dir;
}

std::string FileText(const fs::path &path) {
    std::ifstream f(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), {});
}

[[noreturn]] void Report(const fs::path &dir, const std::string &seen) {
    fs::remove_all(dir);
    std::fprintf(stderr, "seen: %s\n", seen.c_str());
    std::fflush(stderr);
    _exit(0);
}

// Written fresh and hidden; a foreign file in its place is replaced; where nothing can
// be written the library is refused and the skin is left out without a report.
void InstallOverForeignAndUnwritableFiles() {
    fs::path dir = StartInFreshRunDirectory();
    fs::path file = dir / "SkinH_EL.dll";
    const std::string library = ByteSet(app::SkinLibraryFile());
    bool written = app::InstallSkinLibrary() && FileText(file) == library;
    DWORD attributes = GetFileAttributesA(DosPath(file).c_str());
    bool hidden = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_HIDDEN);
    std::ofstream(file, std::ios::binary | std::ios::trunc) << "another library";
    bool replaced = app::InstallSkinLibrary() && FileText(file) == library;
    std::ofstream(file, std::ios::binary | std::ios::app) << "tail";
    bool longer = app::InstallSkinLibrary() && FileText(file) == library;
    fs::remove(file);
    fs::create_directory(file);
    bool refused = !app::InstallSkinLibrary();
    app::ApplySkin(app::kMainWindowSkin);
    Report(dir, "written " + std::to_string(written) + ", hidden " + std::to_string(hidden) + ", replaced " +
                    std::to_string(replaced) + std::to_string(longer) + ", refused " + std::to_string(refused) +
                    ", started");
}

void ApplyFromTheRunDirectory() {
    fs::path dir = StartInFreshRunDirectory();
    fs::current_path(fs::temp_directory_path()); // not where the library is
    app::ApplySkin(app::kMainWindowSkin);
    HMODULE m = LoadLibraryA(DosPath(dir / "SkinH_EL.dll").c_str());
    FARPROC f = GetProcAddress(m, "SkinH_GetSkinName");
    char name[64] = {};
    if (f) reinterpret_cast<int (*)(char *, int)>(reinterpret_cast<void *>(f))(name, sizeof name);
    Report(dir, std::string("applied ") + name);
}

} // namespace

TEST(InstallSkinLibraryDeathTest, AForeignLibraryIsReplacedAndAnUnwritableOneLeavesNoSkin) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(InstallOverForeignAndUnwritableFiles(), testing::ExitedWithCode(0),
                "seen: written 1, hidden 1, replaced 11, refused 1, started");
}

TEST(InstallSkinLibraryDeathTest, ApplySkinLoadsTheWrittenLibraryFromTheRunDirectory) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(ApplyFromTheRunDirectory(), testing::ExitedWithCode(0), "seen: applied Azure Classic");
}

TEST(Declarations, WordsOfTheApplicationReachTheSystem) {
    StartWithSkinLibrary();
    const char *text = "\xD6\xD0\xCE\xC4";
    uint64_t length = rt::RuntimeHelpers.callDeclared(image::kDeclaredStringLength,
                                                      std::initializer_list<uintptr_t>{uintptr_t(text)}.begin(), 1);
    EXPECT_EQ(int32_t(length), 4);
}
