// The application's literal texts and byte sets, read from the constant area by their
// generated offsets.
#pragma once

#include <cstdint>

#include "image_data.h"

namespace app {

inline const char *Literal(image::Constant offset) { return reinterpret_cast<const char *>(image::ConstantArea + offset); }
// A byte-set constant as a block (count word, length word, bytes).
inline const void *ByteSetLiteral(image::Constant offset) { return image::ConstantArea + offset; }
// The shared empty text and the empty byte set's (zero) bytes.
inline const char *EmptyText() { return Literal(image::kEmptyText); }
inline const uint8_t *EmptyByteSetBytes() { return image::ConstantArea + image::kEmptyByteSet + 8; }

} // namespace app
