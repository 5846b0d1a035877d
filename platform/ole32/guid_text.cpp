// GUIDs as text: "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}".
#include <objbase.h>

#include <cstdio>

namespace {

int HexDigit(OLECHAR c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    return -1;
}

bool ReadHex(const OLECHAR *&p, int digits, uint32_t &value) {
    value = 0;
    for (int i = 0; i < digits; ++i) {
        int d = HexDigit(*p++);
        if (d < 0) return false;
        value = (value << 4) | uint32_t(d);
    }
    return true;
}

bool Expect(const OLECHAR *&p, OLECHAR c) { return *p++ == c; }

bool ParseGuid(const OLECHAR *s, GUID &g) {
    uint32_t v;
    if (!Expect(s, u'{') || !ReadHex(s, 8, v)) return false;
    g.Data1 = v;
    if (!Expect(s, u'-') || !ReadHex(s, 4, v)) return false;
    g.Data2 = (unsigned short)v;
    if (!Expect(s, u'-') || !ReadHex(s, 4, v)) return false;
    g.Data3 = (unsigned short)v;
    if (!Expect(s, u'-')) return false;
    for (int i = 0; i < 8; ++i) {
        if (i == 2 && !Expect(s, u'-')) return false;
        if (!ReadHex(s, 2, v)) return false;
        g.Data4[i] = (unsigned char)v;
    }
    return Expect(s, u'}') && *s == 0;
}

} // namespace

extern "C" {

HRESULT WINAPI CLSIDFromString(LPCOLESTR lpsz, LPCLSID pclsid) {
    if (!pclsid) return E_INVALIDARG;
    *pclsid = GUID{};
    if (!lpsz || !*lpsz) return S_OK;
    GUID g;
    if (ParseGuid(lpsz, g)) {
        *pclsid = g;
        return S_OK;
    }
    // Like COM, a text that is no GUID may still be a ProgID.
    return CLSIDFromProgID(lpsz, pclsid) == S_OK ? S_OK : CO_E_CLASSSTRING;
}

HRESULT WINAPI IIDFromString(LPCOLESTR lpsz, LPIID lpiid) {
    if (!lpiid) return E_INVALIDARG;
    *lpiid = GUID{};
    if (!lpsz) return S_OK;
    GUID g;
    if (!ParseGuid(lpsz, g)) return E_INVALIDARG;
    *lpiid = g;
    return S_OK;
}

int WINAPI StringFromGUID2(REFGUID g, LPOLESTR lpsz, int cchMax) {
    if (!lpsz || cchMax < 39) return 0;
    char text[40];
    std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", unsigned(g.Data1),
                  unsigned(g.Data2), unsigned(g.Data3), g.Data4[0], g.Data4[1], g.Data4[2], g.Data4[3], g.Data4[4],
                  g.Data4[5], g.Data4[6], g.Data4[7]);
    for (int i = 0; i < 39; ++i) lpsz[i] = OLECHAR(text[i]);
    return 39;
}

} // extern "C"
