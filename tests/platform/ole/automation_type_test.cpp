#include <gtest/gtest.h>

#include "automation_type.h"
#include "ole_test_support.h"

namespace {

using namespace ole;

// A test-only automation class: optional, defaulted, out and variadic parameters, a
// variable, and a parameter of an enumeration type.
class Probe final : public AutomationObject {
public:
    Probe();
    LONG level = 0;
    bool sawMissing = false;
};

Probe &Self(AutomationObject &o) { return static_cast<Probe &>(o); }

HRESULT Sum(AutomationObject &self, MemberCall &call) {
    Self(self).sawMissing = IsMissing(call.args[1]);
    LONG b = IsMissing(call.args[1]) ? 0 : call.args[1].lVal;
    return ReturnLong(call, call.args[0].lVal + b + call.args[2].lVal);
}

HRESULT Store(AutomationObject &, MemberCall &call) {
    if (call.args[0].vt != (VT_BYREF | VT_I4)) return E_UNEXPECTED;
    *call.args[0].plVal = 5;
    return S_OK;
}

HRESULT Join(AutomationObject &, MemberCall &call) {
    std::u16string out;
    SAFEARRAY *rest = call.args[1].parray;
    VARIANT *items = static_cast<VARIANT *>(rest->pvData);
    for (ULONG i = 0; i < rest->rgsabound[0].cElements; ++i) {
        Var text;
        if (FAILED(VariantChangeType(&text, &items[i], 0, VT_BSTR))) return DISP_E_TYPEMISMATCH;
        if (i) out += ole::TextOf(call.args[0]);
        out += ole::TextOf(text.v);
    }
    return ReturnText(call, out);
}

HRESULT Level(AutomationObject &self, MemberCall &call) {
    if (IsPut(call)) return Self(self).level = call.args[0].lVal, S_OK;
    return ReturnLong(call, Self(self).level);
}

HRESULT Pick(AutomationObject &, MemberCall &call) { return ReturnLong(call, call.args[0].vt); }

ITypeInfo *ColourEnum() {
    static ITypeInfo *type = CreateTypeInfo(TypeTable{
        u"Colour", {0x11111111, 0, 0, {0}}, TKIND_ENUM,
        {MemberEntry{u"Red", 1, MemberKind::Constant, INVOKE_FUNC, Type(VT_I4), {}, 0, nullptr, 0, 1}}});
    return type;
}

TYPEDESC kLong = Type(VT_I4);
TYPEDESC kVariant = Type(VT_VARIANT);

ITypeInfo *ProbeType() {
    static const VARIANT ten = Long(10);
    static ITypeInfo *type = CreateTypeInfo(TypeTable{
        u"IProbe", {0x22222222, 0, 0, {0}}, TKIND_DISPATCH,
        {Method(u"Sum", 1, Type(VT_I4),
                {{u"a", Type(VT_I4)},
                 {u"b", Type(VT_I4), PARAMFLAG_FIN | PARAMFLAG_FOPT},
                 {u"c", Type(VT_I4), PARAMFLAG_FIN | PARAMFLAG_FOPT | PARAMFLAG_FHASDEFAULT, &ten}},
                Sum, 2),
         Method(u"Store", 2, Type(VT_VOID), {{u"target", PointerTo(&kLong), PARAMFLAG_FIN | PARAMFLAG_FOUT}}, Store),
         Method(u"Join", 3, Type(VT_BSTR), {{u"separator", Type(VT_BSTR)}, {u"items", SafeArrayOf(&kVariant)}}, Join, -1),
         MemberEntry{u"Level", 4, MemberKind::Variable, INVOKE_FUNC, Type(VT_I4), {}, 0, Level},
         Method(u"Pick", 5, Type(VT_I4), {{u"colour", UserDefined(0)}}, Pick)},
        {ColourEnum()}});
    return type;
}

Probe::Probe() : AutomationObject(ProbeType()) {}

class AutomationTypeTest : public ::testing::Test {
protected:
    Probe *probe = new Probe();
    ITypeInfo *info = nullptr;
    ITypeComp *comp = nullptr;
    void SetUp() override {
        ASSERT_EQ(probe->GetTypeInfo(0, 0, &info), S_OK);
        ASSERT_EQ(info->GetTypeComp(&comp), S_OK);
    }
    void TearDown() override {
        comp->Release();
        info->Release();
        EXPECT_EQ(probe->Release(), 0u);
    }
    DESCKIND Bind(const char16_t *name, WORD flags, HRESULT *hr = nullptr, BINDPTR *out = nullptr) {
        std::u16string n = name;
        ITypeInfo *bound = nullptr;
        DESCKIND kind;
        BINDPTR ptr;
        HRESULT r = comp->Bind(n.data(), LHashValOfNameSys(SYS_WIN32, 0, name), flags, &bound, &kind, &ptr);
        if (hr) *hr = r;
        if (out) *out = ptr;
        if (bound) bound->Release();
        return kind;
    }
    HRESULT Invoke(DISPID id, WORD flags, std::vector<VARIANT> natural, VARIANT *result, UINT *argErr = nullptr,
                   bool namedPut = false) {
        std::vector<VARIANT> reversed(natural.rbegin(), natural.rend());
        DISPID put = DISPID_PROPERTYPUT;
        DISPPARAMS p = {reversed.data(), namedPut ? &put : nullptr, UINT(reversed.size()), namedPut ? 1u : 0u};
        HRESULT hr = probe->Invoke(id, IID_NULL, 0, flags, &p, result, nullptr, argErr);
        for (VARIANT &v : natural) VariantClear(&v);
        return hr;
    }
};

TEST_F(AutomationTypeTest, BindFindsMembersByNameAndKindIgnoringCase) {
    BINDPTR ptr;
    EXPECT_EQ(Bind(u"sUM", DISPATCH_METHOD, nullptr, &ptr), DESCKIND_FUNCDESC);
    EXPECT_EQ(ptr.lpfuncdesc->memid, 1);
    HRESULT hr;
    EXPECT_EQ(Bind(u"Sum", DISPATCH_PROPERTYPUT, &hr), DESCKIND_NONE);
    EXPECT_EQ(hr, TYPE_E_TYPEMISMATCH);
    EXPECT_EQ(Bind(u"Nothing", DISPATCH_METHOD, &hr), DESCKIND_NONE);
    EXPECT_EQ(hr, S_OK);
    EXPECT_EQ(Bind(u"level", DISPATCH_PROPERTYPUT, nullptr, &ptr), DESCKIND_VARDESC);
    EXPECT_EQ(ptr.lpvardesc->varkind, VAR_DISPATCH);
    EXPECT_EQ(ptr.lpvardesc->elemdescVar.tdesc.vt, VT_I4);
}

TEST_F(AutomationTypeTest, FunctionDescriptionsCarryParameterFlagsAndDefaults) {
    FUNCDESC *f = nullptr;
    ASSERT_EQ(info->GetFuncDesc(0, &f), S_OK);
    EXPECT_EQ(f->cParams, 3);
    EXPECT_EQ(f->cParamsOpt, 2);
    EXPECT_EQ(f->invkind, INVOKE_FUNC);
    EXPECT_EQ(f->funckind, FUNC_DISPATCH);
    const PARAMDESC &c = f->lprgelemdescParam[2].paramdesc;
    EXPECT_TRUE(c.wParamFlags & PARAMFLAG_FHASDEFAULT);
    ASSERT_NE(c.pparamdescex, nullptr);
    EXPECT_EQ(c.pparamdescex->varDefaultValue.lVal, 10);
    info->ReleaseFuncDesc(f);
    ASSERT_EQ(info->GetFuncDesc(1, &f), S_OK);
    EXPECT_EQ(f->lprgelemdescParam[0].tdesc.vt, VT_PTR);
    EXPECT_TRUE(f->lprgelemdescParam[0].paramdesc.wParamFlags & PARAMFLAG_FOUT);
    ASSERT_EQ(info->GetFuncDesc(2, &f), S_OK);
    EXPECT_EQ(f->cParamsOpt, -1);
    EXPECT_EQ(info->GetFuncDesc(9, &f), TYPE_E_ELEMENTNOTFOUND);
    TYPEATTR *attr;
    ASSERT_EQ(info->GetTypeAttr(&attr), S_OK);
    EXPECT_EQ(attr->typekind, TKIND_DISPATCH);
    EXPECT_EQ(attr->cFuncs, 4);
    EXPECT_EQ(attr->cVars, 1);
    info->ReleaseTypeAttr(attr);
}

TEST_F(AutomationTypeTest, ParameterTypesResolve) {
    FUNCDESC *f = nullptr;
    ASSERT_EQ(info->GetFuncDesc(3, &f), S_OK); // Pick
    EXPECT_EQ(ResolveParameterType(info, f->lprgelemdescParam[0].tdesc), VT_I4);
    TYPEDESC ptr = PointerTo(&kLong), arr = SafeArrayOf(&kVariant), i = Type(VT_INT), bad = UserDefined(7);
    EXPECT_EQ(ResolveParameterType(info, ptr), VT_BYREF | VT_I4);
    EXPECT_EQ(ResolveParameterType(info, arr), VT_ARRAY | VT_VARIANT);
    EXPECT_EQ(ResolveParameterType(info, i), VT_I4);
    EXPECT_EQ(ResolveParameterType(info, bad), VT_UNKNOWN);
}

TEST_F(AutomationTypeTest, OptionalAndDefaultedArguments) {
    Var r;
    ASSERT_EQ(Invoke(1, DISPATCH_METHOD, {Long(1)}, &r), S_OK);
    EXPECT_EQ(r->lVal, 11);
    EXPECT_TRUE(probe->sawMissing);
    ASSERT_EQ(Invoke(1, DISPATCH_METHOD, {Long(1), Long(2)}, &r), S_OK);
    EXPECT_EQ(r->lVal, 13);
    VARIANT missing;
    missing.vt = VT_ERROR;
    missing.scode = DISP_E_PARAMNOTFOUND;
    ASSERT_EQ(Invoke(1, DISPATCH_METHOD, {Long(1), missing, Long(5)}, &r), S_OK);
    EXPECT_EQ(r->lVal, 6);
    ASSERT_EQ(Invoke(1, DISPATCH_METHOD, {Text(u"7"), Real(2.5)}, &r), S_OK);
    EXPECT_EQ(r->lVal, 19);
}

TEST_F(AutomationTypeTest, ArgumentErrors) {
    Var r;
    VARIANT missing;
    missing.vt = VT_ERROR;
    missing.scode = DISP_E_PARAMNOTFOUND;
    EXPECT_EQ(Invoke(1, DISPATCH_METHOD, {}, &r), DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(Invoke(1, DISPATCH_METHOD, {Long(1), Long(2), Long(3), Long(4)}, &r), DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(Invoke(1, DISPATCH_METHOD, {missing}, &r), DISP_E_PARAMNOTOPTIONAL);
    UINT argErr = 99;
    EXPECT_EQ(Invoke(1, DISPATCH_METHOD, {Long(1), Text(u"x")}, &r, &argErr), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(argErr, 0u); // the last argument sits first in rgvarg
    EXPECT_EQ(Invoke(1, DISPATCH_METHOD, {Real(1e12)}, &r), DISP_E_OVERFLOW);
    EXPECT_EQ(Invoke(77, DISPATCH_METHOD, {}, &r), DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(Invoke(1, DISPATCH_METHOD, {Long(1)}, &r, nullptr, true), DISP_E_NONAMEDARGS);
    EXPECT_EQ(Invoke(4, DISPATCH_PROPERTYPUT, {Long(1)}, nullptr), DISP_E_PARAMNOTFOUND);
    EXPECT_EQ(r->vt, VT_EMPTY);
}

TEST_F(AutomationTypeTest, OutParametersWriteThroughReferences) {
    LONG target = 0;
    VARIANT ref;
    ref.vt = VT_BYREF | VT_I4;
    ref.plVal = &target;
    ASSERT_EQ(Invoke(2, DISPATCH_METHOD, {ref}, nullptr), S_OK);
    EXPECT_EQ(target, 5);
    // A value instead of a reference still calls; the written value goes nowhere.
    ASSERT_EQ(Invoke(2, DISPATCH_METHOD, {Text(u"3")}, nullptr), S_OK);
    SHORT small = 0;
    ref.vt = VT_BYREF | VT_I2;
    ref.piVal = &small;
    ASSERT_EQ(Invoke(2, DISPATCH_METHOD, {ref}, nullptr), S_OK);
    EXPECT_EQ(small, 0);
}

TEST_F(AutomationTypeTest, VariableArgumentLists) {
    Var r, none;
    ASSERT_EQ(Invoke(3, DISPATCH_METHOD, {Text(u"-"), Text(u"a"), Long(2), Bool(true)}, &r), S_OK);
    EXPECT_EQ(::TextOf(r.v), u"a-2--1");
    ASSERT_EQ(Invoke(3, DISPATCH_METHOD, {Text(u",")}, &none), S_OK);
    EXPECT_EQ(::TextOf(none.v), u"");
}

TEST_F(AutomationTypeTest, VariablesAndEnumerations) {
    Var r;
    r->vt = VT_I2;
    r->iVal = 3;
    ASSERT_EQ(Invoke(4, DISPATCH_PROPERTYPUT, {Text(u"12")}, &r, nullptr, true), S_OK);
    EXPECT_EQ(r->vt, VT_I2); // a put leaves the result alone
    ASSERT_EQ(Invoke(4, DISPATCH_PROPERTYGET, {}, &r), S_OK);
    EXPECT_EQ(r->lVal, 12);
    ASSERT_EQ(Invoke(5, DISPATCH_METHOD, {Real(1)}, &r), S_OK);
    EXPECT_EQ(r->lVal, VT_I4); // the enumeration arrives as a long
}

TEST_F(AutomationTypeTest, NamesAndIdentifiers) {
    BSTR names[4] = {};
    UINT count = 0;
    ASSERT_EQ(info->GetNames(1, names, 4, &count), S_OK);
    ASSERT_EQ(count, 4u);
    EXPECT_EQ(std::u16string(names[0]), u"Sum");
    EXPECT_EQ(std::u16string(names[3]), u"c");
    for (UINT i = 0; i < count; ++i) SysFreeString(names[i]);
    std::u16string member = u"JOIN";
    LPOLESTR list[] = {member.data()};
    DISPID id;
    ASSERT_EQ(probe->GetIDsOfNames(IID_NULL, list, 1, 0, &id), S_OK);
    EXPECT_EQ(id, 3);
    std::u16string none = u"Absent";
    list[0] = none.data();
    EXPECT_EQ(probe->GetIDsOfNames(IID_NULL, list, 1, 0, &id), DISP_E_UNKNOWNNAME);
}

} // namespace
