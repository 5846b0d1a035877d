// The window skin: the embedded skin library and blocks, installing the library
// beside the program and attaching a block through its declared function.
#pragma once

#include <cstdint>

namespace app {

constexpr int32_t kSkinCount = 33;
constexpr int32_t kMainWindowSkin = 13;

// Skin block `number` (1 to 33) as a byte set (count word, length word, bytes); null
// for any other number.
const void *SkinBlock(int32_t number);
// The embedded skin library file as a byte set.
const void *SkinLibraryFile();

// Calls SkinH_AttachRes(block bytes, block length, empty text, 0, 0, 0); no block gives
// null and 0. The library is found by its file name, beside the program first.
void AttachSkin(int32_t number);

// RunDirectory + "\SkinH_EL.dll": written from the embedded file only when absent
// (never rewritten, even when it differs), then made hidden. Results are not tested.
void InstallSkinLibrary();
// InstallSkinLibrary, then AttachSkin(number): the main window's created event.
void ApplySkin(int32_t number);

} // namespace app
