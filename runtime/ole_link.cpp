#include "ole_link.h"

#include <windows.h>
#include <ole2.h>
#include <oleauto.h>

#include "memory.h"

namespace rt {

bool InitializeOle() { return SUCCEEDED(OleInitialize(nullptr)); }
void UninitializeOle() { OleUninitialize(); }

intptr_t ClearObjectHolder(void **holder) {
    if (!holder) return 0;
    void *&object = holder[0], *&record = holder[1];
    if (object) {
        if (record) static_cast<IRecordInfo *>(object)->RecordDestroy(record);
        record = nullptr;
        static_cast<IUnknown *>(object)->Release();
        object = nullptr;
    } else if (record) {
        FreeMemory(record);
        record = nullptr;
    }
    return 0;
}

} // namespace rt
