// HttpQueryInfoA over a received response head.
#pragma once

#include "transfer.h"

namespace platform::wininet {

// Fills the caller's buffer as HttpQueryInfoA does. Returns 0 or the error; on
// ERROR_INSUFFICIENT_BUFFER *length holds the size needed, NUL included, and the
// buffer is untouched.
DWORD QueryResponse(const ResponseHead &head, DWORD level, void *buffer, DWORD *length, DWORD *index);

}  // namespace platform::wininet
