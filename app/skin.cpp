#include "skin.h"

#include <cstring>
#include <string>

#include "file_commands.h"
#include "image_data.h"
#include "runtime_calls.h"
#include "windows.h"

namespace app {
namespace {

const uint32_t kSkinBlocks[kSkinCount] = {
    image::kSkinBlock1,  image::kSkinBlock2,  image::kSkinBlock3,  image::kSkinBlock4,  image::kSkinBlock5,
    image::kSkinBlock6,  image::kSkinBlock7,  image::kSkinBlock8,  image::kSkinBlock9,  image::kSkinBlock10,
    image::kSkinBlock11, image::kSkinBlock12, image::kSkinBlock13, image::kSkinBlock14, image::kSkinBlock15,
    image::kSkinBlock16, image::kSkinBlock17, image::kSkinBlock18, image::kSkinBlock19, image::kSkinBlock20,
    image::kSkinBlock21, image::kSkinBlock22, image::kSkinBlock23, image::kSkinBlock24, image::kSkinBlock25,
    image::kSkinBlock26, image::kSkinBlock27, image::kSkinBlock28, image::kSkinBlock29, image::kSkinBlock30,
    image::kSkinBlock31, image::kSkinBlock32, image::kSkinBlock33,
};

uint32_t ByteSetLength(const void *block) {
    uint32_t length = 0;
    if (block) std::memcpy(&length, static_cast<const uint8_t *>(block) + 4, sizeof length);
    return length;
}

const uint8_t *ByteSetData(const void *block) { return block ? static_cast<const uint8_t *>(block) + 8 : nullptr; }

const char *SkinLibraryPathEnd() { return reinterpret_cast<const char *>(image::ConstantArea + image::kSkinLibraryFileName); }

// Reads up to `size` bytes of the file; -1 when it cannot be opened or read.
int64_t ReadFileStart(const std::string &path, std::string &bytes, uint32_t size) {
    bytes.assign(size, '\0');
    auto file = uintptr_t(CallDeclared(image::kDeclaredCreateFile,
                                       {Word(path.c_str()), Word(int32_t(GENERIC_READ)), Word(int32_t(FILE_SHARE_READ)),
                                        Word(0), Word(int32_t(OPEN_EXISTING)), Word(0), Word(0)}));
    if (file == Word(INVALID_HANDLE_VALUE)) return -1;
    DWORD read = 0;
    bool ok = int32_t(CallDeclared(image::kDeclaredReadFile,
                                   {file, Word(bytes.data()), Word(int32_t(size)), Word(&read), Word(0)})) != 0;
    CallDeclared(image::kDeclaredCloseHandle, {file});
    return ok ? int64_t(read) : -1;
}

// True when the file holds exactly the embedded library: one byte more is read so a
// longer file shows.
bool HoldsEmbeddedLibrary(const std::string &path) {
    const void *library = SkinLibraryFile();
    uint32_t size = ByteSetLength(library);
    std::string bytes;
    if (ReadFileStart(path, bytes, size + 1) != int64_t(size)) return false;
    return std::memcmp(bytes.data(), ByteSetData(library), size) == 0;
}

} // namespace

const void *SkinBlock(int32_t number) {
    if (number < 1 || number > kSkinCount) return nullptr;
    return image::ConstantArea + kSkinBlocks[number - 1];
}

const void *SkinLibraryFile() { return image::ConstantArea + image::kSkinLibrary; }

bool InstallSkinLibrary() {
    std::string path = TakeText(CallCommand(cmd::RunDirectory, {})) + SkinLibraryPathEnd();
    if (HoldsEmbeddedLibrary(path)) return true;
    // A hidden or read-only file cannot be replaced until its attributes are cleared.
    CallCommand(cmd::ChangeFileAttributes, {TextArg(path.c_str()), IntegerArg(0)});
    CallCommand(cmd::WriteFile, {TextArg(path.c_str()), ByteSetArg(SkinLibraryFile())});
    CallCommand(cmd::ChangeFileAttributes, {TextArg(path.c_str()), IntegerArg(FILE_ATTRIBUTE_HIDDEN)});
    return HoldsEmbeddedLibrary(path);
}

void ApplySkin(int32_t number) {
    if (InstallSkinLibrary()) AttachSkin(number);
}

void AttachSkin(int32_t number) {
    const void *block = SkinBlock(number);
    CallDeclared(image::kDeclaredSkinAttachRes,
                 {Word(ByteSetData(block)), Word(int32_t(ByteSetLength(block))), Word(image::ConstantArea + image::kEmptyText),
                  Word(0), Word(0), Word(0)});
}

} // namespace app
