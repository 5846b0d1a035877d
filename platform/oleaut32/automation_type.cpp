// Type information built from a TypeTable: ITypeInfo and ITypeComp over prebuilt
// FUNCDESC / VARDESC records that stay valid for the life of the process.
#include "automation_type.h"

#include <deque>
#include <string>

#include "ole_text.h"

namespace ole {

namespace {

BSTR Copy(const OLECHAR *s) { return s ? SysAllocString(s) : nullptr; }

class AutomationType final : public ITypeInfo, public ITypeComp {
public:
    explicit AutomationType(TypeTable table) : table_(std::move(table)) { Build(); }

    // The generic IDispatch::Invoke of AutomationObject.
    HRESULT Dispatch(AutomationObject &self, DISPID id, WORD flags, DISPPARAMS *params, VARIANT *result,
                     EXCEPINFO *error, UINT *argError);

    // IUnknown: one shared, immortal instance.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **ppv) override {
        if (!ppv) return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_ITypeInfo) *ppv = static_cast<ITypeInfo *>(this);
        else if (riid == IID_ITypeComp) *ppv = static_cast<ITypeComp *>(this);
        else {
            *ppv = nullptr;
            return E_NOINTERFACE;
        }
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    // ITypeInfo
    HRESULT STDMETHODCALLTYPE GetTypeAttr(TYPEATTR **ppTypeAttr) override;
    HRESULT STDMETHODCALLTYPE GetTypeComp(ITypeComp **ppTComp) override {
        if (!ppTComp) return E_INVALIDARG;
        *ppTComp = this;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetFuncDesc(UINT index, FUNCDESC **ppFuncDesc) override {
        if (!ppFuncDesc) return E_INVALIDARG;
        if (index >= funcs_.size()) return TYPE_E_ELEMENTNOTFOUND;
        *ppFuncDesc = &funcs_[index];
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetVarDesc(UINT index, VARDESC **ppVarDesc) override {
        if (!ppVarDesc) return E_INVALIDARG;
        if (index >= vars_.size()) return TYPE_E_ELEMENTNOTFOUND;
        *ppVarDesc = &vars_[index];
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetNames(MEMBERID memid, BSTR *names, UINT cMaxNames, UINT *pcNames) override;
    HRESULT STDMETHODCALLTYPE GetRefTypeOfImplType(UINT, HREFTYPE *) override { return TYPE_E_ELEMENTNOTFOUND; }
    HRESULT STDMETHODCALLTYPE GetImplTypeFlags(UINT, INT *) override { return TYPE_E_ELEMENTNOTFOUND; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(LPOLESTR *names, UINT count, MEMBERID *ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(PVOID instance, MEMBERID memid, WORD flags, DISPPARAMS *params,
                                     VARIANT *result, EXCEPINFO *error, UINT *argError) override {
        if (!instance) return E_INVALIDARG;
        return static_cast<IDispatch *>(instance)->Invoke(memid, IID_NULL, 0, flags, params, result, error, argError);
    }
    HRESULT STDMETHODCALLTYPE GetDocumentation(MEMBERID memid, BSTR *name, BSTR *doc, DWORD *context,
                                               BSTR *helpFile) override;
    HRESULT STDMETHODCALLTYPE GetDllEntry(MEMBERID, INVOKEKIND, BSTR *, BSTR *, WORD *) override {
        return TYPE_E_BADMODULEKIND;
    }
    HRESULT STDMETHODCALLTYPE GetRefTypeInfo(HREFTYPE ref, ITypeInfo **ppTInfo) override {
        if (!ppTInfo) return E_INVALIDARG;
        *ppTInfo = nullptr;
        if (ref >= table_.references.size() || !table_.references[ref]) return TYPE_E_ELEMENTNOTFOUND;
        *ppTInfo = table_.references[ref];
        (*ppTInfo)->AddRef();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE AddressOfMember(MEMBERID, INVOKEKIND, PVOID *) override { return TYPE_E_WRONGTYPEKIND; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown *, REFIID, PVOID *ppv) override {
        if (ppv) *ppv = nullptr;
        return TYPE_E_WRONGTYPEKIND;
    }
    HRESULT STDMETHODCALLTYPE GetMops(MEMBERID, BSTR *pBstrMops) override {
        if (pBstrMops) *pBstrMops = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetContainingTypeLib(ITypeLib **ppTLib, UINT *) override {
        if (ppTLib) *ppTLib = nullptr;
        return E_NOTIMPL;
    }
    void STDMETHODCALLTYPE ReleaseTypeAttr(TYPEATTR *attr) override { delete attr; }
    void STDMETHODCALLTYPE ReleaseFuncDesc(FUNCDESC *) override {}
    void STDMETHODCALLTYPE ReleaseVarDesc(VARDESC *) override {}

    // ITypeComp
    HRESULT STDMETHODCALLTYPE Bind(LPOLESTR name, ULONG hash, WORD flags, ITypeInfo **ppTInfo, DESCKIND *kind,
                                   BINDPTR *bound) override;
    HRESULT STDMETHODCALLTYPE BindType(LPOLESTR, ULONG, ITypeInfo **ppTInfo, ITypeComp **ppTComp) override {
        if (!ppTInfo || !ppTComp) return E_INVALIDARG;
        *ppTInfo = nullptr;
        *ppTComp = nullptr;
        return S_OK;
    }

private:
    struct Formal {
        TYPEDESC type;
        USHORT flags;
        const VARIANT *defaultValue;
    };

    void Build();
    const MemberEntry *FindForCall(DISPID id, WORD flags) const;
    static std::vector<Formal> FormalsOf(const MemberEntry &member, bool put);
    HRESULT ConvertArgument(const Formal &f, bool optional, DISPPARAMS *params, UINT i, struct CallArguments &call);
    static HRESULT Run(AutomationObject &self, const MemberEntry &member, MemberCall call, VARIANT *result);
    HRESULT Call(AutomationObject &self, const MemberEntry &member, WORD flags, DISPPARAMS *params,
                 VARIANT *result, EXCEPINFO *error, UINT *argError);

    TypeTable table_;
    std::deque<FUNCDESC> funcs_;
    std::deque<VARDESC> vars_;
    std::deque<std::vector<ELEMDESC>> paramLists_;
    std::deque<PARAMDESCEX> defaults_;
    std::deque<VARIANT> constants_;
    std::vector<const MemberEntry *> funcMembers_;
    std::vector<const MemberEntry *> varMembers_;
};

ELEMDESC Element(const TYPEDESC &type, USHORT flags, PARAMDESCEX *defaultValue) {
    ELEMDESC e = {};
    e.tdesc = type;
    e.paramdesc.wParamFlags = flags;
    e.paramdesc.pparamdescex = defaultValue;
    return e;
}

void AutomationType::Build() {
    for (const MemberEntry &m : table_.members) {
        if (m.kind == MemberKind::Function) {
            std::vector<ELEMDESC> &list = paramLists_.emplace_back();
            for (const ParamEntry &p : m.params) {
                PARAMDESCEX *ex = nullptr;
                if ((p.flags & PARAMFLAG_FHASDEFAULT) && p.defaultValue) {
                    ex = &defaults_.emplace_back();
                    ex->cBytes = sizeof(PARAMDESCEX);
                    VariantInit(&ex->varDefaultValue);
                    VariantCopy(&ex->varDefaultValue, p.defaultValue);
                }
                list.push_back(Element(p.type, p.flags, ex));
            }
            FUNCDESC &f = funcs_.emplace_back();
            f = FUNCDESC{};
            f.memid = m.id;
            f.lprgelemdescParam = list.empty() ? nullptr : list.data();
            f.funckind = FUNC_DISPATCH;
            f.invkind = m.invoke;
            f.callconv = CC_STDCALL;
            f.cParams = SHORT(m.params.size());
            f.cParamsOpt = m.optionalCount;
            f.elemdescFunc = Element(m.type, 0, nullptr);
            f.wFuncFlags = m.flags;
            funcMembers_.push_back(&m);
        } else {
            VARDESC &v = vars_.emplace_back();
            v = VARDESC{};
            v.memid = m.id;
            v.elemdescVar = Element(m.type, 0, nullptr);
            v.wVarFlags = m.flags;
            if (m.kind == MemberKind::Constant) {
                VARIANT &value = constants_.emplace_back();
                VariantInit(&value);
                value.vt = VT_I4;
                value.lVal = m.constant;
                v.lpvarValue = &value;
                v.varkind = VAR_CONST;
            } else {
                v.varkind = VAR_DISPATCH;
            }
            varMembers_.push_back(&m);
        }
    }
}

HRESULT AutomationType::GetTypeAttr(TYPEATTR **ppTypeAttr) {
    if (!ppTypeAttr) return E_INVALIDARG;
    TYPEATTR *a = new TYPEATTR{};
    a->guid = table_.guid;
    a->memidConstructor = MEMBERID_NIL;
    a->memidDestructor = MEMBERID_NIL;
    a->cbSizeInstance = sizeof(void *);
    a->typekind = table_.kind;
    a->cFuncs = WORD(funcs_.size());
    a->cVars = WORD(vars_.size());
    a->cbSizeVft = table_.kind == TKIND_DISPATCH ? WORD(7 * sizeof(void *)) : 0;
    a->cbAlignment = alignof(void *);
    a->wTypeFlags = table_.kind == TKIND_DISPATCH ? TYPEFLAG_FDISPATCHABLE : 0;
    a->tdescAlias = table_.alias;
    *ppTypeAttr = a;
    return S_OK;
}

HRESULT AutomationType::GetNames(MEMBERID memid, BSTR *names, UINT cMaxNames, UINT *pcNames) {
    if (!names || !pcNames) return E_INVALIDARG;
    *pcNames = 0;
    for (const MemberEntry &m : table_.members) {
        if (m.id != memid) continue;
        if (cMaxNames > 0) names[(*pcNames)++] = Copy(m.name);
        for (const ParamEntry &p : m.params)
            if (*pcNames < cMaxNames) names[(*pcNames)++] = Copy(p.name);
        return S_OK;
    }
    return TYPE_E_ELEMENTNOTFOUND;
}

HRESULT AutomationType::GetIDsOfNames(LPOLESTR *names, UINT count, MEMBERID *ids) {
    if (!names || !ids || count == 0) return E_INVALIDARG;
    for (UINT i = 0; i < count; ++i) ids[i] = MEMBERID_NIL;
    const MemberEntry *found = nullptr;
    for (const MemberEntry &m : table_.members)
        if (EqualsNoCase(m.name, names[0])) {
            found = &m;
            break;
        }
    if (!found) return DISP_E_UNKNOWNNAME;
    ids[0] = found->id;
    HRESULT hr = S_OK;
    for (UINT i = 1; i < count; ++i) {
        for (size_t p = 0; p < found->params.size(); ++p)
            if (EqualsNoCase(found->params[p].name, names[i])) ids[i] = MEMBERID(p);
        if (ids[i] == MEMBERID_NIL) hr = DISP_E_UNKNOWNNAME;
    }
    return hr;
}

HRESULT AutomationType::GetDocumentation(MEMBERID memid, BSTR *name, BSTR *doc, DWORD *context, BSTR *helpFile) {
    const OLECHAR *found = nullptr;
    if (memid == MEMBERID_NIL) found = table_.name;
    for (const MemberEntry &m : table_.members)
        if (!found && m.id == memid) found = m.name;
    if (!found) return TYPE_E_ELEMENTNOTFOUND;
    if (name) *name = Copy(found);
    if (doc) *doc = nullptr;
    if (context) *context = 0;
    if (helpFile) *helpFile = nullptr;
    return S_OK;
}

HRESULT AutomationType::Bind(LPOLESTR name, ULONG, WORD flags, ITypeInfo **ppTInfo, DESCKIND *kind,
                             BINDPTR *bound) {
    if (!name || !ppTInfo || !kind || !bound) return E_INVALIDARG;
    *ppTInfo = nullptr;
    *kind = DESCKIND_NONE;
    bound->lpfuncdesc = nullptr;
    bool otherKind = false;
    for (size_t i = 0; i < funcMembers_.size(); ++i) {
        if (!EqualsNoCase(funcMembers_[i]->name, name)) continue;
        if (flags && !(funcs_[i].invkind & flags)) {
            otherKind = true;
            continue;
        }
        *kind = DESCKIND_FUNCDESC;
        bound->lpfuncdesc = &funcs_[i];
        *ppTInfo = this;
        return S_OK;
    }
    for (size_t i = 0; i < varMembers_.size(); ++i) {
        if (!EqualsNoCase(varMembers_[i]->name, name)) continue;
        *kind = DESCKIND_VARDESC;
        bound->lpvardesc = &vars_[i];
        *ppTInfo = this;
        return S_OK;
    }
    // The name exists but not for this kind of call: OLE says so.
    return otherKind ? TYPE_E_TYPEMISMATCH : S_OK;
}

const MemberEntry *AutomationType::FindForCall(DISPID id, WORD flags) const {
    bool put = flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF);
    for (const MemberEntry &m : table_.members) {
        if (m.id != id) continue;
        if (m.kind == MemberKind::Function) {
            bool isPut = m.invoke & (INVOKE_PROPERTYPUT | INVOKE_PROPERTYPUTREF);
            if ((m.invoke & flags) && isPut == put) return &m;
        } else if (!put || (m.kind == MemberKind::Variable && !(m.flags & VARFLAG_FREADONLY))) {
            return &m;
        }
    }
    return nullptr;
}

// Storage of one call's arguments; slots that only borrow the caller's memory are not cleared.
struct CallArguments {
    std::vector<VARIANT> args;
    std::vector<VARIANT> storage;
    std::vector<bool> borrowed;
    explicit CallArguments(size_t n) : args(n), storage(n), borrowed(n, false) {
        for (size_t i = 0; i < n; ++i) VariantInit(&args[i]), VariantInit(&storage[i]);
    }
    ~CallArguments() {
        for (size_t i = 0; i < args.size(); ++i) {
            if (!borrowed[i]) VariantClear(&args[i]);
            VariantClear(&storage[i]);
        }
    }
};

HRESULT PassByReference(VARIANT &actual, VARTYPE vt, CallArguments &call, size_t i) {
    if (actual.vt == (VT_BYREF | vt)) {
        call.args[i] = actual;
        call.borrowed[i] = true;
        return S_OK;
    }
    VARIANT &storage = call.storage[i];
    HRESULT hr = vt == VT_VARIANT ? VariantCopyInd(&storage, &actual) : VariantChangeType(&storage, &actual, 0, vt);
    if (FAILED(hr)) return hr;
    call.args[i].vt = VT_BYREF | vt;
    if (vt == VT_VARIANT) call.args[i].pvarVal = &storage;
    else if (vt == VT_DECIMAL) call.args[i].pdecVal = &storage.decVal;
    else call.args[i].byref = &storage.llVal;
    call.borrowed[i] = true;
    return S_OK;
}

HRESULT PassByValue(VARIANT &actual, VARTYPE vt, VARIANT &slot) {
    if (vt == VT_VARIANT) return VariantCopyInd(&slot, &actual);
    return VariantChangeType(&slot, &actual, 0, vt);
}

HRESULT GatherVariableList(DISPPARAMS *params, UINT first, VARIANT &slot) {
    UINT extra = params->cArgs - first;
    SAFEARRAY *list = SafeArrayCreateVector(VT_VARIANT, 0, extra);
    if (!list) return E_OUTOFMEMORY;
    VARIANT *cells = static_cast<VARIANT *>(list->pvData);
    for (UINT k = 0; k < extra; ++k) {
        HRESULT hr = VariantCopyInd(&cells[k], &params->rgvarg[params->cArgs - 1 - (first + k)]);
        if (FAILED(hr)) {
            SafeArrayDestroy(list);
            return hr;
        }
    }
    slot.vt = VT_ARRAY | VT_VARIANT;
    slot.parray = list;
    return S_OK;
}

std::vector<AutomationType::Formal> AutomationType::FormalsOf(const MemberEntry &member, bool put) {
    std::vector<Formal> formals;
    if (member.kind == MemberKind::Function) {
        for (const ParamEntry &p : member.params) formals.push_back({p.type, p.flags, p.defaultValue});
    } else if (put) {
        formals.push_back({member.type, PARAMFLAG_FIN, nullptr});
    }
    return formals;
}

// Fills slot i for formal f from the call's actual argument (or its absence).
HRESULT AutomationType::ConvertArgument(const Formal &f, bool optional, DISPPARAMS *params, UINT i,
                                        CallArguments &call) {
    bool given = i < params->cArgs;
    VARIANT *actual = given ? &params->rgvarg[params->cArgs - 1 - i] : nullptr;
    if (!given || IsMissing(*actual)) {
        if (!optional) return given ? DISP_E_PARAMNOTOPTIONAL : DISP_E_BADPARAMCOUNT;
        if (f.defaultValue) return VariantCopy(&call.args[i], f.defaultValue);
        call.args[i].vt = VT_ERROR;
        call.args[i].scode = DISP_E_PARAMNOTFOUND;
        return S_OK;
    }
    VARTYPE vt = ResolveParameterType(this, f.type);
    if (vt & VT_BYREF) return PassByReference(*actual, vt & ~VT_BYREF, call, i);
    return PassByValue(*actual, vt, call.args[i]);
}

HRESULT AutomationType::Call(AutomationObject &self, const MemberEntry &member, WORD flags, DISPPARAMS *params,
                             VARIANT *result, EXCEPINFO *error, UINT *argError) {
    bool put = flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF);
    std::vector<Formal> formals = FormalsOf(member, put);
    bool varargs = member.kind == MemberKind::Function && member.optionalCount == -1 && !formals.empty();
    UINT fixed = UINT(formals.size()) - (varargs ? 1 : 0);
    UINT firstOptional = member.optionalCount > 0 ? fixed - UINT(member.optionalCount) : fixed;
    if (params->cArgs > fixed && !varargs) return DISP_E_BADPARAMCOUNT;

    CallArguments call(formals.size());
    for (UINT i = 0; i < fixed; ++i) {
        bool optional = i >= firstOptional || (formals[i].flags & (PARAMFLAG_FOPT | PARAMFLAG_FHASDEFAULT));
        HRESULT hr = ConvertArgument(formals[i], optional, params, i, call);
        if (FAILED(hr)) {
            if (argError && i < params->cArgs) *argError = params->cArgs - 1 - i;
            return hr;
        }
    }
    if (varargs) {
        HRESULT hr = GatherVariableList(params, fixed, call.args[fixed]);
        if (FAILED(hr)) return hr;
    }
    return Run(self, member, MemberCall{flags, call.args.data(), UINT(call.args.size()), nullptr, error},
               put ? nullptr : result);
}

HRESULT AutomationType::Run(AutomationObject &self, const MemberEntry &member, MemberCall call, VARIANT *result) {
    VARIANT value;
    VariantInit(&value);
    call.result = &value;
    HRESULT hr = S_OK;
    if (member.kind == MemberKind::Constant) value.vt = VT_I4, value.lVal = member.constant;
    else hr = member.handler ? member.handler(self, call) : E_NOTIMPL;
    // A put has no result: the caller's result variant is left as it was.
    if (SUCCEEDED(hr) && result) *result = value;
    else VariantClear(&value);
    return hr;
}

HRESULT AutomationType::Dispatch(AutomationObject &self, DISPID id, WORD flags, DISPPARAMS *params,
                                 VARIANT *result, EXCEPINFO *error, UINT *argError) {
    if (!params || (params->cArgs && !params->rgvarg)) return E_INVALIDARG;
    const MemberEntry *member = FindForCall(id, flags);
    if (!member) return DISP_E_MEMBERNOTFOUND;
    bool put = flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF);
    if (put) {
        if (params->cNamedArgs != 1 || !params->rgdispidNamedArgs ||
            params->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT)
            return DISP_E_PARAMNOTFOUND;
    } else if (params->cNamedArgs) {
        return DISP_E_NONAMEDARGS;
    }
    if (params->cNamedArgs > params->cArgs) return E_INVALIDARG;
    return Call(self, *member, flags, params, result, error, argError);
}

} // namespace

VARTYPE ResolveParameterType(ITypeInfo *owner, const TYPEDESC &type) {
    switch (type.vt) {
    case VT_PTR:
        return VARTYPE(VT_BYREF | (type.lptdesc ? ResolveParameterType(owner, *type.lptdesc) : VARTYPE(VT_VOID)));
    case VT_SAFEARRAY:
        return VARTYPE(VT_ARRAY | (type.lptdesc ? ResolveParameterType(owner, *type.lptdesc) : VARTYPE(VT_VARIANT)));
    case VT_CARRAY:
        return VARTYPE(VT_ARRAY | (type.lpadesc ? ResolveParameterType(owner, type.lpadesc->tdescElem) : VARTYPE(VT_VARIANT)));
    case VT_INT: return VT_I4;
    case VT_UINT: return VT_UI4;
    case VT_USERDEFINED: break;
    default: return type.vt;
    }
    ITypeInfo *target = nullptr;
    if (!owner || FAILED(owner->GetRefTypeInfo(type.hreftype, &target))) return VT_UNKNOWN;
    TYPEATTR *attr = nullptr;
    VARTYPE vt = VT_UNKNOWN;
    if (SUCCEEDED(target->GetTypeAttr(&attr))) {
        if (attr->typekind == TKIND_ENUM) vt = VT_I4;
        else if (attr->typekind == TKIND_DISPATCH) vt = VT_DISPATCH;
        else if (attr->typekind == TKIND_ALIAS) vt = ResolveParameterType(target, attr->tdescAlias);
        target->ReleaseTypeAttr(attr);
    }
    target->Release();
    return vt;
}

ITypeInfo *CreateTypeInfo(TypeTable table) { return static_cast<ITypeInfo *>(new AutomationType(std::move(table))); }

HRESULT RaiseException(EXCEPINFO *error, SCODE code, const OLECHAR *source, const OLECHAR *description) {
    if (error) {
        *error = EXCEPINFO{};
        error->bstrSource = Copy(source);
        error->bstrDescription = Copy(description);
        error->scode = code;
    }
    return DISP_E_EXCEPTION;
}

HRESULT STDMETHODCALLTYPE AutomationObject::QueryInterface(REFIID riid, void **ppv) {
    if (!ppv) return E_POINTER;
    TYPEATTR *attr = nullptr;
    bool own = false;
    if (SUCCEEDED(type_->GetTypeAttr(&attr))) {
        own = riid == attr->guid;
        type_->ReleaseTypeAttr(attr);
    }
    if (riid == IID_IUnknown || riid == IID_IDispatch || own) {
        *ppv = static_cast<IDispatch *>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE AutomationObject::AddRef() { return ++refs_; }

ULONG STDMETHODCALLTYPE AutomationObject::Release() {
    ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
}

HRESULT STDMETHODCALLTYPE AutomationObject::GetTypeInfoCount(UINT *pctinfo) {
    if (!pctinfo) return E_INVALIDARG;
    *pctinfo = 1;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE AutomationObject::GetTypeInfo(UINT iTInfo, LCID, ITypeInfo **ppTInfo) {
    if (!ppTInfo) return E_INVALIDARG;
    *ppTInfo = nullptr;
    if (iTInfo != 0) return DISP_E_BADINDEX;
    type_->AddRef();
    *ppTInfo = type_;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE AutomationObject::GetIDsOfNames(REFIID riid, LPOLESTR *names, UINT count, LCID,
                                                          DISPID *ids) {
    if (riid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    return type_->GetIDsOfNames(names, count, ids);
}

HRESULT STDMETHODCALLTYPE AutomationObject::Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS *params,
                                                   VARIANT *result, EXCEPINFO *error, UINT *argError) {
    if (riid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    return static_cast<AutomationType *>(type_)->Dispatch(*this, id, flags, params, result, error, argError);
}

} // namespace ole
