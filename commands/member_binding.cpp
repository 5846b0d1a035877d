#include "member_binding.h"

#include <string>

#include "bstr_text.h"
#include "object_error.h"

namespace cmd {
namespace {

// The invoke flags tried for each call kind, in order, ending with 0.
constexpr WORD kReadOrder[] = {DISPATCH_PROPERTYGET, DISPATCH_METHOD, 0};
constexpr WORD kWriteOrder[] = {DISPATCH_PROPERTYPUT, DISPATCH_PROPERTYPUTREF, DISPATCH_METHOD, 0};
constexpr WORD kMethodOrder[] = {DISPATCH_METHOD, DISPATCH_PROPERTYGET, DISPATCH_PROPERTYPUT,
                                 DISPATCH_PROPERTYPUTREF, 0};

const WORD *BindOrder(CallKind kind) {
    switch (kind) {
    case CallKind::kRead: return kReadOrder;
    case CallKind::kWrite: return kWriteOrder;
    default: return kMethodOrder;
    }
}

ITypeComp *TypeCompOf(IDispatch *object, LCID lcid) {
    ITypeInfo *info = nullptr;
    ITypeComp *comp = nullptr;
    if (FAILED(object->GetTypeInfo(0, lcid, &info)) || !info) return nullptr;
    if (FAILED(info->GetTypeComp(&comp))) comp = nullptr;
    info->Release();
    return comp;
}

// Drops whatever a bind produced that is not a usable description.
void DropBinding(MemberDescription &member) {
    if (member.kind == DESCKIND_TYPECOMP && member.desc.lptcomp) member.desc.lptcomp->Release();
    if (member.kind == DESCKIND_TYPECOMP || member.kind == DESCKIND_NONE) {
        if (member.owner) member.owner->Release();
        member = MemberDescription{};
    }
}

bool TryBind(ITypeComp *comp, OleText &name, ULONG hash, WORD flags, MemberDescription &member) {
    member = MemberDescription{};
    HRESULT hr = comp->Bind(name.data(), hash, flags, &member.owner, &member.kind, &member.desc);
    if (SUCCEEDED(hr) && member.kind != DESCKIND_NONE) return true;
    DropBinding(member);
    return false;
}

bool IsReferenceType(VARTYPE vt) { return (vt & VT_ARRAY) || vt == VT_UNKNOWN || vt == VT_DISPATCH; }

void DescribeFunction(MemberDescription &member) {
    const FUNCDESC *f = member.desc.lpfuncdesc;
    member.id = f->memid;
    member.flags = WORD(f->invkind);
    for (SHORT i = 0; i < f->cParams; ++i) member.formals.push_back(&f->lprgelemdescParam[i]);
    member.variadic = f->cParamsOpt == -1 && f->cParams > 0;
}

void DescribeVariable(MemberDescription &member, CallKind kind) {
    const VARDESC *v = member.desc.lpvardesc;
    member.id = v->memid;
    member.flags = DISPATCH_PROPERTYGET;
    if (kind != CallKind::kWrite) return;
    bool byReference = IsReferenceType(ResolveFormalType(member.owner, v->elemdescVar.tdesc));
    member.flags = byReference ? DISPATCH_PROPERTYPUTREF : DISPATCH_PROPERTYPUT;
    member.formals.push_back(&v->elemdescVar);
}

VARTYPE ResolveUserDefined(ITypeInfo *owner, HREFTYPE reference) {
    ITypeInfo *target = nullptr;
    if (!owner || FAILED(owner->GetRefTypeInfo(reference, &target)) || !target) return VT_UNKNOWN;
    TYPEATTR *attr = nullptr;
    VARTYPE vt = VT_UNKNOWN;
    if (SUCCEEDED(target->GetTypeAttr(&attr)) && attr) {
        if (attr->typekind == TKIND_ENUM) vt = VT_I4;
        else if (attr->typekind == TKIND_DISPATCH) vt = VT_DISPATCH;
        else if (attr->typekind == TKIND_ALIAS) vt = ResolveFormalType(target, attr->tdescAlias);
        target->ReleaseTypeAttr(attr);
    }
    target->Release();
    return vt;
}

} // namespace

VARTYPE ResolveFormalType(ITypeInfo *owner, const TYPEDESC &type) {
    switch (type.vt) {
    case VT_PTR: return VARTYPE(VT_BYREF | (type.lptdesc ? ResolveFormalType(owner, *type.lptdesc) : VARTYPE(VT_VOID)));
    case VT_SAFEARRAY: return VARTYPE(VT_ARRAY | (type.lptdesc ? ResolveFormalType(owner, *type.lptdesc) : VARTYPE(VT_VARIANT)));
    case VT_CARRAY:
        return VARTYPE(VT_ARRAY | (type.lpadesc ? ResolveFormalType(owner, type.lpadesc->tdescElem) : VARTYPE(VT_VARIANT)));
    case VT_USERDEFINED: return ResolveUserDefined(owner, type.hreftype);
    case VT_INT: return VT_I4;
    case VT_UINT: return VT_UI4;
    default: return type.vt;
    }
}

int32_t BindMember(IDispatch *object, const OLECHAR *name, LCID lcid, CallKind kind, MemberDescription &member) {
    ITypeComp *comp = TypeCompOf(object, lcid);
    if (!comp) return kObjectNoTypeInfo;
    OleText buffer = name;
    ULONG hash = LHashValOfNameSys(SYS_WIN32, lcid, buffer.c_str());
    bool bound = false;
    for (const WORD *flags = BindOrder(kind); *flags && !bound; ++flags) bound = TryBind(comp, buffer, hash, *flags, member);
    comp->Release();
    if (!bound) return kObjectNoMember;
    if (member.kind == DESCKIND_FUNCDESC) DescribeFunction(member);
    else if (member.kind == DESCKIND_VARDESC || member.kind == DESCKIND_IMPLICITAPPOBJ) DescribeVariable(member, kind);
    else return kObjectNoMember;
    return kObjectOk;
}

void ReleaseMember(MemberDescription &member) {
    DropBinding(member);
    if (!member.owner) return;
    if (member.kind == DESCKIND_FUNCDESC) member.owner->ReleaseFuncDesc(member.desc.lpfuncdesc);
    else if (member.desc.lpvardesc) member.owner->ReleaseVarDesc(member.desc.lpvardesc);
    member.owner->Release();
    member = MemberDescription{};
}

} // namespace cmd
