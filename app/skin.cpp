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

} // namespace

const void *SkinBlock(int32_t number) {
    if (number < 1 || number > kSkinCount) return nullptr;
    return image::ConstantArea + kSkinBlocks[number - 1];
}

const void *SkinLibraryFile() { return image::ConstantArea + image::kSkinLibrary; }

void InstallSkinLibrary() {
    const char *fileName = reinterpret_cast<const char *>(image::ConstantArea + image::kSkinLibraryFileName);
    std::string path = TakeText(CallCommand(cmd::RunDirectory, {})) + fileName;
    if (IsTrue(CallCommand(cmd::FileExists, {TextArg(path.c_str())}))) return;
    CallCommand(cmd::WriteFile, {TextArg(path.c_str()), ByteSetArg(SkinLibraryFile())});
    CallCommand(cmd::ChangeFileAttributes, {TextArg(path.c_str()), IntegerArg(FILE_ATTRIBUTE_HIDDEN)});
}

void ApplySkin(int32_t number) {
    InstallSkinLibrary();
    AttachSkin(number);
}

void AttachSkin(int32_t number) {
    const void *block = SkinBlock(number);
    CallDeclared(image::kDeclaredSkinAttachRes,
                 {Word(ByteSetData(block)), Word(int32_t(ByteSetLength(block))), Word(image::ConstantArea + image::kEmptyText),
                  Word(0), Word(0), Word(0)});
}

} // namespace app
