// Resources of the program module: finding them by name and type, their bytes, and
// icons loaded from them at the size asked for.
#include <gtest/gtest.h>

#include <string>

#include "icon_object.h"
#include "program_resources.h"
#include "windows.h"

namespace {

HMODULE Program() { return GetModuleHandleA(nullptr); }

std::string Bytes(HRSRC info) {
    auto *data = static_cast<const char *>(LockResource(LoadResource(Program(), info)));
    return data ? std::string(data, SizeofResource(Program(), info)) : "";
}

int IconWidth(HANDLE icon) {
    platform::IconObject *object = platform::IconObjectOf(static_cast<HICON>(icon));
    return object ? object->image.width() : -1;
}

} // namespace

TEST(Resources, AreFoundByNameAndTypeWithoutRegardToCase) {
    HRSRC notes = FindResourceA(nullptr, "notes", RT_RCDATA);
    ASSERT_NE(notes, nullptr);
    EXPECT_EQ(FindResourceA(Program(), "NOTES", RT_RCDATA), notes);
    EXPECT_EQ(Bytes(notes), "resource notes\r\n");
    EXPECT_EQ(FreeResource(LoadResource(Program(), notes)), FALSE);
    HRSRC icon = FindResourceA(nullptr, "Default_Icon", RT_GROUP_ICON);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(Bytes(icon).substr(0, 4), std::string("\0\0\1\0", 4)); // the .ico file's header
}

TEST(Resources, AWrongTypeNameOrModuleFindsNothing) {
    SetLastError(0);
    EXPECT_EQ(FindResourceA(nullptr, "Notes", RT_GROUP_ICON), nullptr);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_RESOURCE_NAME_NOT_FOUND));
    EXPECT_EQ(FindResourceA(nullptr, "Note", RT_RCDATA), nullptr);
    EXPECT_EQ(FindResourceA(nullptr, MAKEINTRESOURCEA(1), RT_RCDATA), nullptr);
    EXPECT_EQ(FindResourceA(reinterpret_cast<HMODULE>(intptr_t(0x5000)), "Notes", RT_RCDATA), nullptr);
    EXPECT_EQ(FindResourceA(nullptr, nullptr, RT_RCDATA), nullptr);
    EXPECT_EQ(LoadResource(Program(), nullptr), nullptr);
    EXPECT_EQ(SizeofResource(Program(), nullptr), 0u);
    EXPECT_FALSE(RegisterProgramResources(nullptr, 1));
}

TEST(ResourceIcons, LoadOnceAtTheSizeAskedFor) {
    HICON standard = LoadIconA(Program(), "DEFAULT_ICON");
    ASSERT_NE(standard, nullptr);
    EXPECT_EQ(LoadIconA(Program(), "default_icon"), standard); // shared, as LoadIcon's are
    EXPECT_EQ(IconWidth(standard), GetSystemMetrics(SM_CXICON));
    HANDLE small = LoadImageA(Program(), "DEFAULT_ICON", IMAGE_ICON, 16, 16, 0);
    EXPECT_EQ(IconWidth(small), 16);
    EXPECT_EQ(IconWidth(LoadImageA(Program(), "DEFAULT_ICON", IMAGE_ICON, 30, 30, 0)), 32); // the nearest
    DestroyIcon(standard); // a shared icon stays
    EXPECT_EQ(IconWidth(standard), GetSystemMetrics(SM_CXICON));
    EXPECT_EQ(LoadIconA(Program(), "Notes"), nullptr); // not an icon resource
}
