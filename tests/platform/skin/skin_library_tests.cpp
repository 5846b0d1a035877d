// The skin library as the program meets it: a module file loaded through the module
// loader, its exports and argument counts, and the look it gives a Qt application.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPalette>

#include <cstdio>
#include <fstream>
#include <string>

#include "module_export_table.h"
#include "skin_format.h"
#include "windows.h"

namespace {

using AttachRes = int (*)(const void *, int, const char *, int, int, int);
using GetSkinName = int (*)(char *, int);

std::string Dos(std::string host) {
    for (char &c : host)
        if (c == '/') c = '\\';
    return "Z:" + host;
}

struct SkinLibrary {
    HMODULE module = LoadLibraryA(Dos(SKIN_LIBRARY_PATH).c_str());
    AttachRes attach = reinterpret_cast<AttachRes>(reinterpret_cast<void *>(GetProcAddress(module, "SkinH_AttachRes")));
    GetSkinName name = reinterpret_cast<GetSkinName>(reinterpret_cast<void *>(GetProcAddress(module, "SkinH_GetSkinName")));
    ~SkinLibrary() { FreeLibrary(module); }

    std::string Name() const {
        char buffer[64] = {};
        name(buffer, sizeof buffer);
        return buffer;
    }
};

std::string Block(int n) {
    char file[32];
    std::snprintf(file, sizeof file, "/skin%02d.she", n);
    std::ifstream f(std::string(SKIN_BLOCK_DIR) + file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), {});
}

QApplication &Application() {
    static int argc = 1;
    static char name[] = "skin_tests";
    static char *argv[] = {name, nullptr};
    static QApplication *app = new QApplication(argc, argv);
    return *app;
}

int Attach(const SkinLibrary &lib, const std::string &block) {
    return lib.attach(block.data(), int(block.size()), "", 0, 0, 0);
}

} // namespace

TEST(SkinLibrary, ExportsItsFunctionsWithTheirArgumentCounts) {
    SkinLibrary lib;
    ASSERT_NE(lib.module, nullptr);
    ASSERT_NE(lib.attach, nullptr);
    EXPECT_EQ(GetProcArgumentCount(lib.module, GetProcAddress(lib.module, "SkinH_AttachRes")), 6);
    EXPECT_EQ(GetProcAddress(lib.module, MAKEINTRESOURCEA(1)), GetProcAddress(lib.module, "SkinH_AttachRes"));
}

TEST(SkinLibrary, AttachingGivesTheApplicationTheSkinsLook) {
    QApplication &app = Application();
    SkinLibrary lib;
    ASSERT_EQ(Attach(lib, Block(13)), 1);
    EXPECT_EQ(lib.Name(), "Azure Classic");
    EXPECT_TRUE(app.styleSheet().contains("#dfe8f5"));
    EXPECT_EQ(app.palette().color(QPalette::Window), QColor(0xdf, 0xe8, 0xf5));
    EXPECT_EQ(app.palette().color(QPalette::Highlight), QColor(0x2f, 0x6f, 0xce));
    ASSERT_EQ(Attach(lib, Block(2)), 1);
    EXPECT_EQ(lib.Name(), "Graphite");
    EXPECT_TRUE(app.styleSheet().contains("#3a3d41"));
}

TEST(SkinLibrary, ABadBlockIsRefusedAndTheLookStays) {
    QApplication &app = Application();
    SkinLibrary lib;
    ASSERT_EQ(Attach(lib, Block(7)), 1);
    QString sheet = app.styleSheet();
    std::string damaged = Block(13);
    damaged[damaged.size() - 1] ^= 1;
    EXPECT_EQ(Attach(lib, damaged), 0);
    EXPECT_EQ(lib.attach(nullptr, 0, "", 0, 0, 0), 0); // no block: null and 0
    EXPECT_EQ(lib.attach(damaged.data(), -5, nullptr, 0, 0, 0), 0);
    EXPECT_EQ(app.styleSheet(), sheet);
    EXPECT_EQ(lib.Name(), "Midnight");
}

static void AttachBeforeTheApplicationExists() {
    SkinLibrary lib;
    int attached = Attach(lib, Block(13));
    QApplication &app = Application();
    bool before = app.styleSheet().contains("#dfe8f5");
    QCoreApplication::processEvents();
    std::fprintf(stderr, "attached %d, before %d, after %d\n", attached, int(before),
                 int(app.styleSheet().contains("#dfe8f5")));
    std::fflush(stderr);
    _exit(0);
}

TEST(SkinLibraryDeathTest, ASkinAttachedBeforeTheApplicationIsAppliedWhenItRuns) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(AttachBeforeTheApplicationExists(), testing::ExitedWithCode(0), "attached 1, before 0, after 1");
}
