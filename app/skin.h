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

// RunDirectory + "\SkinH_EL.dll": kept when it holds the embedded library, otherwise
// (absent, damaged or foreign) written from it and made hidden. False when the file
// still does not hold the embedded library, which must then not be loaded.
bool InstallSkinLibrary();
// InstallSkinLibrary, then AttachSkin(number) unless the library could not be
// installed: the program then starts without a skin. The main window's created event.
void ApplySkin(int32_t number);

} // namespace app
