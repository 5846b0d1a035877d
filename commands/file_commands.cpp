#include "file_commands.h"

#include "command_arguments.h"
#include "core_library.h"
#include "windows.h"

namespace cmd {
namespace {

// Attributes a program may set: read-only, hidden, system and archive.
constexpr DWORD kSettableAttributes = 0x27;

// Writes each byte set after the file name; the first failure stops the writing.
bool WriteByteSets(HANDLE file, int32_t count, const rt::TypedValue *args) {
    for (int32_t i = 1; i < count; ++i) {
        if (args[i].type != rt::kTypeByteSet) continue;
        const uint8_t *block = args[i].Pointer<const uint8_t>();
        uint32_t size = rt::ByteSetSize(block);
        if (size == 0) continue;
        DWORD written = 0;
        if (!::WriteFile(file, rt::ByteSetBytes(block), size, &written, nullptr) || written != size) return false;
    }
    return true;
}

} // namespace

void RunDirectory(rt::TypedValue *result, int32_t, rt::TypedValue *) {
    const char *directory = reinterpret_cast<const char *>(CoreService(rt::kServiceRunDirectory));
    *result = rt::MakeTextValue(rt::CopyText(directory));
}

void FileExists(rt::TypedValue *result, int32_t count, rt::TypedValue *args) {
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA(TextArgument(count, args, 0), &found);
    if (search != INVALID_HANDLE_VALUE) FindClose(search);
    *result = rt::MakeBoolean(search != INVALID_HANDLE_VALUE);
}

void ChangeFileAttributes(rt::TypedValue *result, int32_t count, rt::TypedValue *args) {
    DWORD bits = DWORD(IntegerArgument(count, args, 1)) & kSettableAttributes;
    *result = rt::MakeBoolean(::SetFileAttributesA(TextArgument(count, args, 0), bits) != FALSE);
}

// The file is closed whatever happens, so a failed write never leaves it locked.
void WriteFile(rt::TypedValue *result, int32_t count, rt::TypedValue *args) {
    const char *name = TextArgument(count, args, 0);
    *result = rt::MakeBoolean(false);
    if (*name == '\0') return;
    HANDLE file = ::CreateFileA(name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    bool written = WriteByteSets(file, count, args);
    bool closed = CloseHandle(file) != FALSE;
    *result = rt::MakeBoolean(written && closed);
}

const CommandEntry kFileCommands[] = {
    {"RunDirectory", RunDirectory, 1},
    {"FileExists", FileExists, 1},
    {"SetFileAttributes", ChangeFileAttributes, 1},
    {"WriteFile", WriteFile, 1},
    {nullptr, nullptr, 0},
};

} // namespace cmd
