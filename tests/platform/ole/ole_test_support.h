// Test helpers: owned variants, and calls by member name resolved through type information.
#pragma once

#include <ole2.h>

#include <string>
#include <vector>

// COM strings are wchar_t on Windows and char16_t here; both are UTF-16.
inline const OLECHAR *Ole(const std::u16string &s) { return reinterpret_cast<const OLECHAR *>(s.c_str()); }
inline std::u16string Utf16(const OLECHAR *s, size_t length) { return {reinterpret_cast<const char16_t *>(s), length}; }
inline std::u16string Utf16(const OLECHAR *s) {
    size_t length = 0;
    while (s && s[length]) ++length;
    return Utf16(s, length);
}

struct Var {
    VARIANT v;
    Var() { VariantInit(&v); }
    ~Var() { VariantClear(&v); }
    Var(const Var &) = delete;
    Var &operator=(const Var &) = delete;
    VARIANT *operator&() { return &v; }
    VARIANT *operator->() { return &v; }
};

inline VARIANT Long(LONG value) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = value;
    return v;
}

inline VARIANT Real(double value) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_R8;
    v.dblVal = value;
    return v;
}

inline VARIANT Bool(bool value) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BOOL;
    v.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    return v;
}

// The caller owns the returned variant's string.
inline VARIANT Text(const std::u16string &s) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BSTR;
    v.bstrVal = SysAllocStringLen(Ole(s), UINT(s.size()));
    return v;
}

inline std::u16string TextOf(const VARIANT &v) {
    return v.vt == VT_BSTR && v.bstrVal ? Utf16(v.bstrVal, SysStringLen(v.bstrVal)) : std::u16string(u"<not text>");
}

// Resolves name through GetTypeInfo / GetTypeComp / Bind for the invoke kind and calls
// it with args in natural order (the args are cleared afterwards).
inline HRESULT CallMember(IDispatch *object, const char16_t *name, WORD kind, std::vector<VARIANT> args,
                          VARIANT *result = nullptr) {
    HRESULT outcome = E_FAIL;
    ITypeInfo *info = nullptr;
    ITypeComp *comp = nullptr;
    if (SUCCEEDED(object->GetTypeInfo(0, 0, &info)) && SUCCEEDED(info->GetTypeComp(&comp))) {
        ITypeInfo *bound = nullptr;
        DESCKIND desc = DESCKIND_NONE;
        BINDPTR ptr = {};
        std::basic_string<OLECHAR> n = Ole(name);
        HRESULT hr = comp->Bind(n.data(), LHashValOfNameSys(SYS_WIN32, 0, n.c_str()), kind, &bound, &desc, &ptr);
        if (SUCCEEDED(hr) && desc == DESCKIND_FUNCDESC) {
            DISPID id = ptr.lpfuncdesc->memid;
            std::vector<VARIANT> reversed(args.rbegin(), args.rend());
            DISPID put = DISPID_PROPERTYPUT;
            bool isPut = kind & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF);
            DISPPARAMS params = {reversed.data(), isPut ? &put : nullptr, UINT(reversed.size()), isPut ? 1u : 0u};
            outcome = object->Invoke(id, IID_NULL, 0, kind, &params, result, nullptr, nullptr);
            bound->ReleaseFuncDesc(ptr.lpfuncdesc);
        } else {
            outcome = DISP_E_MEMBERNOTFOUND;
        }
        if (bound) bound->Release();
    }
    if (comp) comp->Release();
    if (info) info->Release();
    for (VARIANT &a : args) VariantClear(&a);
    return outcome;
}

inline HRESULT Put(IDispatch *o, const char16_t *name, VARIANT value) {
    return CallMember(o, name, DISPATCH_PROPERTYPUT, {value});
}

inline IDispatch *Create(const char16_t *progId) {
    CLSID clsid;
    IDispatch *object = nullptr;
    if (FAILED(CLSIDFromProgID(Ole(progId), &clsid))) return nullptr;
    if (FAILED(CoCreateInstance(clsid, nullptr, 0x17, IID_IDispatch, (void **)&object))) return nullptr;
    return object;
}
