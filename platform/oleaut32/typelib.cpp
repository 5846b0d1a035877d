// Name hashes and type-library files. This platform reads no type-library format: its
// components carry their type information in themselves.
#include <oleauto.h>

#include "ole_text.h"

extern "C" {

// The hash ignores ASCII letter case, as name lookup does; the high word tells the system kind.
ULONG WINAPI LHashValOfNameSys(SYSKIND syskind, LCID, const OLECHAR *szName) {
    if (!szName) return 0;
    ULONG hash = 0x0deadbee;
    for (const OLECHAR *p = szName; *p; ++p) hash = hash * 37 + ole::FoldAscii(*p);
    ULONG high = (syskind == SYS_MAC ? 0x0011u : 0x0010u) << 16;
    return high | ((hash % 65599) & 0xFFFF);
}

HRESULT WINAPI LoadTypeLibEx(LPCOLESTR szFile, REGKIND, ITypeLib **pptlib) {
    if (!pptlib || !szFile) return E_INVALIDARG;
    *pptlib = nullptr;
    return TYPE_E_CANTLOADLIBRARY;
}

HRESULT WINAPI LoadTypeLib(LPCOLESTR szFile, ITypeLib **pptlib) { return LoadTypeLibEx(szFile, REGKIND_DEFAULT, pptlib); }

HRESULT WINAPI RegisterTypeLib(ITypeLib *ptlib, LPCOLESTR szFullPath, LPCOLESTR) {
    if (!ptlib || !szFullPath) return E_INVALIDARG;
    return TYPE_E_REGISTRYACCESS;
}

} // extern "C"
