// CoInitialize and OleInitialize, counted per thread as COM does.
#include <ole2.h>

#include "com_apartment.h"

namespace {

struct ThreadApartment {
    int comCount = 0;
    int oleCount = 0;
    DWORD model = 0;
};

thread_local ThreadApartment apartment;

bool SameModel(DWORD a, DWORD b) {
    return (a & COINIT_APARTMENTTHREADED) == (b & COINIT_APARTMENTTHREADED);
}

} // namespace

namespace ole {
bool ComInitializedOnThread() { return apartment.comCount > 0; }
} // namespace ole

extern "C" {

HRESULT WINAPI CoInitializeEx(LPVOID, DWORD dwCoInit) {
    if (apartment.comCount == 0) {
        apartment.model = dwCoInit;
        apartment.comCount = 1;
        return S_OK;
    }
    if (!SameModel(apartment.model, dwCoInit)) return RPC_E_CHANGED_MODE;
    ++apartment.comCount;
    return S_FALSE;
}

HRESULT WINAPI CoInitialize(LPVOID pvReserved) { return CoInitializeEx(pvReserved, COINIT_APARTMENTTHREADED); }

void WINAPI CoUninitialize(void) {
    if (apartment.comCount > 0) --apartment.comCount;
}

// The first OleInitialize of a thread answers S_OK even when COM already runs there.
HRESULT WINAPI OleInitialize(LPVOID) {
    HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (FAILED(hr)) return hr;
    return apartment.oleCount++ == 0 ? S_OK : S_FALSE;
}

void WINAPI OleUninitialize(void) {
    if (apartment.oleCount == 0) return;
    --apartment.oleCount;
    CoUninitialize();
}

} // extern "C"
