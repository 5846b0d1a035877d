// The automation classes this platform carries, found by CLSID and ProgID.
#pragma once

#include <unknwn.h>

namespace ole {

using ClassCreator = HRESULT (*)(REFIID riid, void **object);

struct BuiltinClass {
    CLSID clsid;
    const OLECHAR *progId;
    ClassCreator create;
};

const BuiltinClass *FindBuiltinClass(REFCLSID clsid);
const BuiltinClass *FindBuiltinProgId(const OLECHAR *progId);

HRESULT CreateRegExpObject(REFIID riid, void **object);
HRESULT CreateStreamObject(REFIID riid, void **object);

} // namespace ole
