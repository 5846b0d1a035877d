// BSTR: a length word in front of the characters, a NUL after them.
#include <oleauto.h>

#include <cstdlib>
#include <cstring>

namespace {

// The header keeps the characters aligned to 8 bytes; the length sits just before them.
const size_t kHeader = 8;
const UINT kMaxBytes = 0x7FFFFFF0u;

BSTR AllocBytes(const void *data, UINT bytes) {
    if (bytes > kMaxBytes) return nullptr;
    char *block = static_cast<char *>(std::malloc(kHeader + bytes + sizeof(OLECHAR) + 1));
    if (!block) return nullptr;
    char *text = block + kHeader;
    DWORD length = bytes;
    std::memcpy(text - sizeof(DWORD), &length, sizeof length);
    if (data) std::memcpy(text, data, bytes);
    else std::memset(text, 0, bytes);
    std::memset(text + bytes, 0, sizeof(OLECHAR) + 1);
    return reinterpret_cast<BSTR>(text);
}

UINT OleLength(const OLECHAR *s) {
    UINT n = 0;
    while (s[n]) ++n;
    return n;
}

} // namespace

extern "C" {

BSTR WINAPI SysAllocStringLen(const OLECHAR *strIn, UINT ui) {
    if (ui > kMaxBytes / sizeof(OLECHAR)) return nullptr;
    return AllocBytes(strIn, ui * UINT(sizeof(OLECHAR)));
}

BSTR WINAPI SysAllocString(const OLECHAR *psz) {
    if (!psz) return nullptr;
    return SysAllocStringLen(psz, OleLength(psz));
}

BSTR WINAPI SysAllocStringByteLen(LPCSTR psz, UINT len) { return AllocBytes(psz, len); }

void WINAPI SysFreeString(BSTR bstrString) {
    if (bstrString) std::free(reinterpret_cast<char *>(bstrString) - kHeader);
}

UINT WINAPI SysStringByteLen(BSTR bstr) {
    if (!bstr) return 0;
    DWORD length;
    std::memcpy(&length, reinterpret_cast<char *>(bstr) - sizeof(DWORD), sizeof length);
    return length;
}

UINT WINAPI SysStringLen(BSTR pbstr) { return SysStringByteLen(pbstr) / UINT(sizeof(OLECHAR)); }

INT WINAPI SysReAllocStringLen(BSTR *pbstr, const OLECHAR *psz, UINT len) {
    if (!pbstr) return FALSE;
    BSTR fresh = SysAllocStringLen(psz, len);
    if (!fresh) return FALSE;
    SysFreeString(*pbstr);
    *pbstr = fresh;
    return TRUE;
}

INT WINAPI SysReAllocString(BSTR *pbstr, const OLECHAR *psz) {
    return SysReAllocStringLen(pbstr, psz, psz ? OleLength(psz) : 0);
}

} // extern "C"
