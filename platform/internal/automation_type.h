// Automation classes described by tables: a type description gives each member its
// FUNCDESC or VARDESC (parameter types, PARAMFLAG_* flags, defaults), and the generic
// IDispatch of AutomationObject checks and converts the arguments of a call by it before
// the member's handler runs.
#pragma once

#include <oleauto.h>

#include <atomic>
#include <string>
#include <vector>

namespace ole {

class AutomationObject;

// One call of a member, as its handler sees it.
struct MemberCall {
    WORD flags;       // DISPATCH_* of the call
    VARIANT *args;    // one per formal parameter, in declared order, converted to the declared
                      // types; a pointer type arrives as VT_BYREF; an omitted optional one
                      // without default is VT_ERROR / DISP_E_PARAMNOTFOUND
    UINT count;       // number of formal parameters
    VARIANT *result;  // empty on entry
    EXCEPINFO *error; // may be null
};

using MemberHandler = HRESULT (*)(AutomationObject &self, MemberCall &call);

struct ParamEntry {
    const OLECHAR *name;
    TYPEDESC type;
    USHORT flags = PARAMFLAG_FIN;
    const VARIANT *defaultValue = nullptr; // with PARAMFLAG_FHASDEFAULT
};

enum class MemberKind { Function, Variable, Constant };

struct MemberEntry {
    const OLECHAR *name;
    DISPID id;
    MemberKind kind = MemberKind::Function;
    INVOKEKIND invoke = INVOKE_FUNC;
    TYPEDESC type = {};                 // result of a function, or the value type of a variable or constant
    std::vector<ParamEntry> params = {};
    SHORT optionalCount = 0;            // -1: the last parameter gathers a variable argument list
    MemberHandler handler = nullptr;    // a variable's handler serves both get and put
    WORD flags = 0;                     // FUNCFLAG_* or VARFLAG_*
    LONG constant = 0;
};

struct TypeTable {
    const OLECHAR *name;
    GUID guid;
    TYPEKIND kind = TKIND_DISPATCH;
    std::vector<MemberEntry> members = {};
    std::vector<ITypeInfo *> references = {}; // VT_USERDEFINED hreftype n names references[n]
    TYPEDESC alias = {};
};

// The type information of a table. It lives as long as the process and is safe to share
// between threads; create each one once (a function-local static).
ITypeInfo *CreateTypeInfo(TypeTable table);

inline TYPEDESC Type(VARTYPE vt) {
    TYPEDESC t = {};
    t.vt = vt;
    return t;
}
inline TYPEDESC PointerTo(TYPEDESC *inner) {
    TYPEDESC t = {};
    t.lptdesc = inner;
    t.vt = VT_PTR;
    return t;
}
inline TYPEDESC SafeArrayOf(TYPEDESC *element) {
    TYPEDESC t = PointerTo(element);
    t.vt = VT_SAFEARRAY;
    return t;
}
inline TYPEDESC UserDefined(HREFTYPE reference) {
    TYPEDESC t = {};
    t.hreftype = reference;
    t.vt = VT_USERDEFINED;
    return t;
}

// The base of every table-driven automation object: reference counting, QueryInterface
// for IUnknown, IDispatch and the type's own interface identifier, and IDispatch over the type.
class AutomationObject : public IDispatch {
public:
    explicit AutomationObject(ITypeInfo *type) : type_(type) {}
    virtual ~AutomationObject() = default;
    AutomationObject(const AutomationObject &) = delete;
    AutomationObject &operator=(const AutomationObject &) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **ppv) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT *pctinfo) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT iTInfo, LCID lcid, ITypeInfo **ppTInfo) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR *names, UINT count, LCID lcid, DISPID *ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS *params,
                                     VARIANT *result, EXCEPINFO *error, UINT *argError) override;

private:
    std::atomic<ULONG> refs_{1};
    ITypeInfo *type_;
};

// Fills the exception record (when there is one) and returns DISP_E_EXCEPTION.
HRESULT RaiseException(EXCEPINFO *error, SCODE code, const OLECHAR *source, const OLECHAR *description);

inline bool IsMissing(const VARIANT &v) { return v.vt == VT_ERROR && v.scode == DISP_E_PARAMNOTFOUND; }

// The VARIANT type a formal parameter takes: pointers give VT_BYREF plus the pointee, safe
// and fixed arrays VT_ARRAY plus the element, user-defined types resolve through owner
// (enumeration VT_I4, dispatch interface VT_DISPATCH, alias further, else VT_UNKNOWN).
VARTYPE ResolveParameterType(ITypeInfo *owner, const TYPEDESC &type);

} // namespace ole

namespace ole {

inline MemberEntry PropertyGet(const OLECHAR *name, DISPID id, TYPEDESC type, MemberHandler handler,
                              std::vector<ParamEntry> params = {}) {
    return MemberEntry{name, id, MemberKind::Function, INVOKE_PROPERTYGET, type, std::move(params), 0, handler};
}

inline MemberEntry PropertyPut(const OLECHAR *name, DISPID id, TYPEDESC type, MemberHandler handler) {
    return MemberEntry{name, id, MemberKind::Function, INVOKE_PROPERTYPUT, Type(VT_VOID), {{u"value", type}}, 0, handler};
}

inline MemberEntry Method(const OLECHAR *name, DISPID id, TYPEDESC result, std::vector<ParamEntry> params,
                         MemberHandler handler, SHORT optionalCount = 0) {
    return MemberEntry{name, id, MemberKind::Function, INVOKE_FUNC, result, std::move(params), optionalCount, handler};
}

inline std::u16string TextOf(const VARIANT &v) {
    return v.vt == VT_BSTR && v.bstrVal ? std::u16string(v.bstrVal, SysStringLen(v.bstrVal)) : std::u16string();
}

inline HRESULT ReturnText(MemberCall &call, const std::u16string &text) {
    call.result->bstrVal = SysAllocStringLen(text.data(), UINT(text.size()));
    if (!call.result->bstrVal) return E_OUTOFMEMORY;
    call.result->vt = VT_BSTR;
    return S_OK;
}

inline HRESULT ReturnLong(MemberCall &call, LONG value) {
    call.result->vt = VT_I4;
    call.result->lVal = value;
    return S_OK;
}

inline HRESULT ReturnBool(MemberCall &call, bool value) {
    call.result->vt = VT_BOOL;
    call.result->boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

// Hands a new object (holding one reference) to the caller as the call's result.
inline HRESULT ReturnObject(MemberCall &call, IDispatch *object) {
    if (!object) return E_OUTOFMEMORY;
    call.result->vt = VT_DISPATCH;
    call.result->pdispVal = object;
    return S_OK;
}

inline bool IsPut(const MemberCall &call) { return call.flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF); }

} // namespace ole
