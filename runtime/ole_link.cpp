#include "ole_link.h"

namespace rt {
namespace {

// The first three slots of every COM interface.
struct UnknownInterface {
    virtual long QueryInterface(const void *iid, void **object) = 0;
    virtual unsigned long AddRef() = 0;
    virtual unsigned long Release() = 0;
};

} // namespace

// The platform's OLE subset is not part of the build yet; until it is, there is
// nothing to initialise and nothing is claimed.
bool InitializeOle() { return false; }
void UninitializeOle() {}

intptr_t ClearObjectHolder(void **holder) {
    if (!holder || !*holder) return 0;
    static_cast<UnknownInterface *>(*holder)->Release();
    *holder = nullptr;
    return 0;
}

} // namespace rt
