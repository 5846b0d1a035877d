// The module loader: system modules and module files, the bare-name search, export
// tables with ordinals and argument counts, reference counts; and shlwapi's path
// helper that the application declares.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "module_export_table.h"
#include "oleauto.h"
#include "shlwapi.h"
#include "windows.h"

namespace fs = std::filesystem;

namespace {

fs::path ProgramDirectory() { return fs::read_symlink("/proc/self/exe").parent_path(); }

std::string Dos(const fs::path &host) {
    std::string s = "Z:" + host.string();
    for (char &c : s)
        if (c == '/') c = '\\';
    return s;
}

int Identity(HMODULE m) {
    FARPROC probe = GetProcAddress(m, "ProbeIdentity");
    return probe ? int(probe()) : -1;
}

// Runs with the current directory set to `dir`, then restores it.
class InDirectory {
public:
    explicit InDirectory(const fs::path &dir) : saved_(fs::current_path()) { fs::current_path(dir); }
    ~InDirectory() { fs::current_path(saved_); }

private:
    fs::path saved_;
};

// Holds the module until the test ends, however it ends.
struct Held {
    HMODULE module;
    ~Held() {
        if (module) FreeLibrary(module);
    }
};

} // namespace

TEST(ModuleNames, ANameWithoutExtensionGetsDll) {
    HMODULE a = LoadLibraryA("Kernel32");
    HMODULE b = LoadLibraryA("kernel32.dll");
    EXPECT_NE(a, nullptr);
    EXPECT_EQ(a, b);
    EXPECT_EQ(LoadLibraryA("kernel32."), nullptr); // a trailing dot: a file without extension
    for (int i = 0; i < 2; ++i) EXPECT_TRUE(FreeLibrary(a));
    EXPECT_FALSE(FreeLibrary(a));
}

TEST(ModuleNames, EmptyOrNullNamesFail) {
    EXPECT_EQ(LoadLibraryA(""), nullptr);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(LoadLibraryA(nullptr), nullptr);
}

TEST(ModuleNames, SystemModulesArePresentWithoutBeingLoaded) {
    HMODULE automation = GetModuleHandleA("OLEAUT32.DLL");
    ASSERT_NE(automation, nullptr);
    EXPECT_EQ(GetModuleHandleA("oleaut32"), automation);
    EXPECT_EQ(reinterpret_cast<void *>(GetProcAddress(automation, "SysAllocString")),
              reinterpret_cast<void *>(&SysAllocString));
    Held loaded{LoadLibraryA("oleaut32.dll")};
    EXPECT_EQ(loaded.module, automation);
    EXPECT_EQ(GetModuleHandleA("no_such_module.dll"), nullptr);
}

TEST(SystemExports, OrdinalsAndArgumentCounts) {
    Held k{LoadLibraryA("kernel32.dll")};
    FARPROC byName = GetProcAddress(k.module, "WideCharToMultiByte");
    ASSERT_NE(byName, nullptr);
    EXPECT_EQ(GetProcArgumentCount(k.module, byName), 8);
    EXPECT_EQ(GetProcArgumentCount(k.module, GetProcAddress(k.module, "GetProcessHeap")), 0);
    FARPROC byOrdinal = GetProcAddress(k.module, MAKEINTRESOURCEA(35));
    EXPECT_EQ(reinterpret_cast<void *>(byOrdinal), reinterpret_cast<void *>(&lstrlenA));
    EXPECT_EQ(GetProcAddress(k.module, MAKEINTRESOURCEA(999)), nullptr);
    Held s{LoadLibraryA("SHLWAPI.DLL")};
    EXPECT_EQ(reinterpret_cast<void *>(GetProcAddress(s.module, "PathRemoveBlanksA")),
              reinterpret_cast<void *>(&PathRemoveBlanksA));
    // An address of another module is not this module's export.
    EXPECT_EQ(GetProcArgumentCount(s.module, byName), -1);
    EXPECT_EQ(GetProcArgumentCount(nullptr, byName), -1);
}

TEST(ModuleFiles, AFileOfOursIsFoundByNameAndOrdinalWithItsCounts) {
    Held m{LoadLibraryA(Dos(ProgramDirectory() / "declared_probe.dll").c_str())};
    ASSERT_NE(m.module, nullptr);
    EXPECT_EQ(Identity(m.module), 1);
    FARPROC twelve = GetProcAddress(m.module, MAKEINTRESOURCEA(12));
    ASSERT_NE(twelve, nullptr);
    EXPECT_EQ(twelve, GetProcAddress(m.module, "ProbeOrdinalTwelve"));
    EXPECT_EQ(GetProcArgumentCount(m.module, twelve), 1);
    EXPECT_EQ(GetProcArgumentCount(m.module, GetProcAddress(m.module, "ProbeTwelve")), 12);
    // The table is the module's export list: other symbols of the file are not exports.
    EXPECT_EQ(GetProcAddress(m.module, "ProbeUnlisted"), nullptr);
    EXPECT_EQ(GetProcAddress(m.module, "malloc"), nullptr);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_PROC_NOT_FOUND));
}

TEST(ModuleFiles, ABareNameIsLookedForBesideTheProgramBeforeTheCurrentDirectory) {
    InDirectory cwd(ProgramDirectory() / "elsewhere");
    Held m{LoadLibraryA("declared_probe.dll")};
    ASSERT_NE(m.module, nullptr);
    EXPECT_EQ(Identity(m.module), 1);
}

TEST(ModuleFiles, ABareNameNotBesideTheProgramIsFoundInTheCurrentDirectory) {
    fs::path dir = fs::temp_directory_path() / ("sorvel-modules-" + std::to_string(getpid()));
    fs::create_directories(dir);
    fs::copy_file(ProgramDirectory() / "elsewhere" / "declared_probe.dll", dir / "probe_cwd_only.dll",
                  fs::copy_options::overwrite_existing);
    {
        InDirectory cwd(dir);
        Held m{LoadLibraryA("probe_cwd_only.dll")};
        ASSERT_NE(m.module, nullptr);
        EXPECT_EQ(Identity(m.module), 2);
    }
    EXPECT_EQ(LoadLibraryA("probe_cwd_only.dll"), nullptr); // no longer in the current directory
    fs::remove_all(dir);
}

TEST(ModuleFiles, APathWithADriveIsLoadedAsItIs) {
    Held m{LoadLibraryA(Dos(ProgramDirectory() / "elsewhere" / "declared_probe.dll").c_str())};
    EXPECT_EQ(Identity(m.module), 2);
    EXPECT_EQ(LoadLibraryA("C:\\windows\\declared_probe.dll"), nullptr); // only Z: maps to the host
}

TEST(ModuleFiles, ReferencesAreCountedPerLoad) {
    std::string path = Dos(ProgramDirectory() / "declared_probe.dll");
    HMODULE a = LoadLibraryA(path.c_str());
    HMODULE b = LoadLibraryA(path.c_str());
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a, b);
    EXPECT_TRUE(FreeLibrary(a));
    EXPECT_EQ(Identity(a), 1); // still loaded
    EXPECT_TRUE(FreeLibrary(a));
    EXPECT_FALSE(FreeLibrary(a));
    EXPECT_EQ(GetProcAddress(a, "ProbeIdentity"), nullptr);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_MOD_NOT_FOUND));
}

TEST(PathRemoveBlanks, LeadingAndTrailingSpacesGo) {
    char a[] = "  a b  ";
    PathRemoveBlanksA(a);
    EXPECT_STREQ(a, "a b");
    char b[] = "    ";
    PathRemoveBlanksA(b);
    EXPECT_STREQ(b, "");
    char c[] = "\t\xD6\xD0 ";
    PathRemoveBlanksA(c);
    EXPECT_STREQ(c, "\t\xD6\xD0"); // only spaces count
    PathRemoveBlanksA(nullptr);
}
