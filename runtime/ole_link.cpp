#include "ole_link.h"

#include <windows.h>
#include <ole2.h>

namespace rt {

bool InitializeOle() { return SUCCEEDED(OleInitialize(nullptr)); }
void UninitializeOle() { OleUninitialize(); }

intptr_t ClearObjectHolder(void **holder) {
    if (!holder || !*holder) return 0;
    static_cast<IUnknown *>(*holder)->Release();
    *holder = nullptr;
    return 0;
}

} // namespace rt
