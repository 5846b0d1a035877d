// The application's declarations and embedded skin data, with the runtime started on
// the application's own constant area and declaration lists.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>
#include <string>

#include "image.h"
#include "image_data.h"
#include "module_export_table.h"
#include "runtime_app.h"
#include "runtime_interface.h"
#include "skin.h"
#include "windows.h"

namespace fs = std::filesystem;

namespace {

const rt::ImageHeader header = {3, 0, 0, 0, image::ConstantArea, image::kConstantAreaSize, nullptr, 0, 0, nullptr,
                                image::kDeclaredFunctionCount, image::DeclaredDllNames, image::DeclaredFunctionNames};

std::string ByteSet(const void *block) {
    uint32_t length;
    std::memcpy(&length, static_cast<const uint8_t *>(block) + 4, 4);
    return std::string(static_cast<const char *>(block) + 8, length);
}

// The runtime, with the embedded library written to a directory of its own that is
// then the current directory (the program's directory is the shared build output).
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
        std::atexit([] { fs::remove_all(dir); });
    });
    return dir;
}

std::string AttachedSkinName() {
    HMODULE m = LoadLibraryA("SkinH_EL.dll");
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
        {image::kDeclaredCloseHandle, 1},        {image::kDeclaredGetLastError, 0},
        {image::kDeclaredGetCurrentThreadId, 0}, {image::kDeclaredMessageBox, 4},
        {image::kDeclaredHeapFree, 3},
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

TEST(Declarations, WordsOfTheApplicationReachTheSystem) {
    StartWithSkinLibrary();
    const char *text = "\xD6\xD0\xCE\xC4";
    uint64_t length = rt::RuntimeHelpers.callDeclared(image::kDeclaredStringLength,
                                                      std::initializer_list<uintptr_t>{uintptr_t(text)}.begin(), 1);
    EXPECT_EQ(int32_t(length), 4);
}
