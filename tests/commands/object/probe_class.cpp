#include "probe_class.h"

#include <mutex>
#include <string>

#include "automation_type.h"

namespace objtest {

using namespace ole;

const char kProbeClassText[] = "{5A0B7E11-2C3D-4E5F-8A9B-0C1D2E3F4A5B}";
const CLSID kProbeClass = {0x5A0B7E11, 0x2C3D, 0x4E5F, {0x8A, 0x9B, 0x0C, 0x1D, 0x2E, 0x3F, 0x4A, 0x5B}};

ProbeRecord &Probes() {
    static ProbeRecord record;
    return record;
}

namespace {

class Probe final : public AutomationObject {
public:
    Probe();
    ~Probe() override {
        if (partner) partner->Release();
        --Probes().objects;
    }
    std::atomic<LONG> level{0};
    IDispatch *partner = nullptr;
    std::u16string name = u"probe";
};

Probe &Self(AutomationObject &o) { return static_cast<Probe &>(o); }

HRESULT Sum(AutomationObject &, MemberCall &call) {
    ++Probes().sumCalls;
    Probes().sawMissing = IsMissing(call.args[1]);
    LONG b = IsMissing(call.args[1]) ? 0 : call.args[1].lVal;
    return ReturnLong(call, call.args[0].lVal + b + call.args[2].lVal);
}

HRESULT Store(AutomationObject &, MemberCall &call) {
    if (call.args[0].vt != (VT_BYREF | VT_I4)) return E_UNEXPECTED;
    *call.args[0].plVal = *call.args[0].plVal * 2 + 1;
    return S_OK;
}

HRESULT Join(AutomationObject &, MemberCall &call) {
    std::u16string out;
    SAFEARRAY *rest = call.args[1].parray;
    VARIANT *items = static_cast<VARIANT *>(rest->pvData);
    for (ULONG i = 0; i < rest->rgsabound[0].cElements; ++i) {
        VARIANT text;
        VariantInit(&text);
        if (FAILED(VariantChangeType(&text, &items[i], 0, VT_BSTR))) return DISP_E_TYPEMISMATCH;
        if (i) out += ole::TextOf(call.args[0]);
        out += ole::TextOf(text);
        VariantClear(&text);
    }
    return ReturnText(call, out);
}

HRESULT Level(AutomationObject &self, MemberCall &call) {
    if (IsPut(call)) return Self(self).level = call.args[0].lVal, S_OK;
    return ReturnLong(call, Self(self).level);
}

HRESULT ArgumentType(AutomationObject &, MemberCall &call) {
    Probes().lastArgumentType = call.args[0].vt;
    return ReturnLong(call, call.args[0].vt);
}

HRESULT NameProperty(AutomationObject &self, MemberCall &call) {
    if (IsPut(call)) return Self(self).name = ole::TextOf(call.args[0]), S_OK;
    return ReturnText(call, Self(self).name);
}

HRESULT Fail(AutomationObject &, MemberCall &call) {
    return RaiseException(call.error, E_FAIL, u"Probe", u"always fails");
}

HRESULT Twice(AutomationObject &, MemberCall &call) {
    call.result->vt = VT_R8;
    call.result->dblVal = call.args[0].dblVal * 2;
    return S_OK;
}

HRESULT SelfObject(AutomationObject &self, MemberCall &call) {
    self.AddRef();
    return ReturnObject(call, &self);
}

HRESULT Rename(AutomationObject &, MemberCall &call) {
    if (call.args[0].vt != (VT_BYREF | VT_BSTR)) return E_UNEXPECTED;
    std::u16string text = *call.args[0].pbstrVal ? std::u16string(*call.args[0].pbstrVal) : u"";
    SysFreeString(*call.args[0].pbstrVal);
    text += u"!";
    *call.args[0].pbstrVal = SysAllocString(text.c_str());
    return S_OK;
}

HRESULT Swap(AutomationObject &, MemberCall &call) {
    if (call.args[0].vt != (VT_BYREF | VT_VARIANT)) return E_UNEXPECTED;
    VariantClear(call.args[0].pvarVal);
    call.args[0].pvarVal->vt = VT_I4;
    call.args[0].pvarVal->lVal = 42;
    return S_OK;
}

HRESULT Items(AutomationObject &, MemberCall &call) {
    SAFEARRAY *array = SafeArrayCreateVector(VT_I4, 0, 3);
    for (LONG i = 0; i < 3; ++i) {
        LONG value = (i + 1) * 10;
        SafeArrayPutElement(array, &i, &value);
    }
    call.result->vt = VT_ARRAY | VT_I4;
    call.result->parray = array;
    return S_OK;
}

HRESULT Same(AutomationObject &self, MemberCall &call) {
    return ReturnBool(call, call.args[0].vt == VT_DISPATCH && call.args[0].pdispVal == &self);
}

HRESULT Nothing(AutomationObject &, MemberCall &call) {
    call.result->vt = VT_NULL;
    return S_OK;
}

HRESULT Overflow(AutomationObject &, MemberCall &) { return DISP_E_OVERFLOW; }

HRESULT Give(AutomationObject &self, MemberCall &call) {
    if (call.args[0].vt != (VT_BYREF | VT_DISPATCH)) return E_UNEXPECTED;
    if (*call.args[0].ppdispVal) (*call.args[0].ppdispVal)->Release();
    self.AddRef();
    *call.args[0].ppdispVal = &self;
    return S_OK;
}

// A variable of an interface type: written by reference only.
HRESULT Partner(AutomationObject &self, MemberCall &call) {
    Probe &probe = Self(self);
    Probes().lastPutFlags = call.flags;
    if (!IsPut(call)) {
        if (probe.partner) probe.partner->AddRef();
        call.result->vt = VT_DISPATCH;
        call.result->pdispVal = probe.partner;
        return S_OK;
    }
    if (call.args[0].vt != VT_DISPATCH) return DISP_E_TYPEMISMATCH;
    if (probe.partner) probe.partner->Release();
    probe.partner = call.args[0].pdispVal;
    if (probe.partner) probe.partner->AddRef();
    return S_OK;
}

// Replaces the array it is given with the two texts "x" and "y".
HRESULT Grow(AutomationObject &, MemberCall &call) {
    if (call.args[0].vt != (VT_BYREF | VT_ARRAY | VT_VARIANT)) return E_UNEXPECTED;
    SAFEARRAY *fresh = SafeArrayCreateVector(VT_VARIANT, 0, 2);
    const char16_t *texts[] = {u"x", u"y"};
    for (LONG i = 0; i < 2; ++i) {
        VARIANT v;
        v.vt = VT_BSTR;
        v.bstrVal = SysAllocString(texts[i]);
        SafeArrayPutElement(fresh, &i, &v);
        VariantClear(&v);
    }
    SafeArrayDestroy(*call.args[0].pparray);
    *call.args[0].pparray = fresh;
    return S_OK;
}

ITypeInfo *ColourEnum() {
    static ITypeInfo *type = CreateTypeInfo(TypeTable{
        u"Colour", {0x5A0B7E12, 0, 0, {0}}, TKIND_ENUM,
        {MemberEntry{u"Red", 1, MemberKind::Constant, INVOKE_FUNC, Type(VT_I4), {}, 0, nullptr, 0, 1}}});
    return type;
}

TYPEDESC kLong = Type(VT_I4);
TYPEDESC kText = Type(VT_BSTR);
TYPEDESC kVariant = Type(VT_VARIANT);
TYPEDESC kDispatch = Type(VT_DISPATCH);
TYPEDESC kVariantArray = SafeArrayOf(&kVariant);
constexpr USHORT kInOut = PARAMFLAG_FIN | PARAMFLAG_FOUT;

ITypeInfo *ProbeType() {
    static const VARIANT ten = [] {
        VARIANT v;
        VariantInit(&v);
        v.vt = VT_I4;
        v.lVal = 10;
        return v;
    }();
    static ITypeInfo *type = CreateTypeInfo(TypeTable{
        u"IProbe", {0x5A0B7E13, 0, 0, {0}}, TKIND_DISPATCH,
        {Method(u"Sum", 1, Type(VT_I4),
                {{u"a", Type(VT_I4)},
                 {u"b", Type(VT_I4), PARAMFLAG_FIN | PARAMFLAG_FOPT},
                 {u"c", Type(VT_I4), PARAMFLAG_FIN | PARAMFLAG_FOPT | PARAMFLAG_FHASDEFAULT, &ten}},
                Sum, 2),
         Method(u"Store", 2, Type(VT_VOID), {{u"target", PointerTo(&kLong), kInOut}}, Store),
         Method(u"Join", 3, Type(VT_BSTR), {{u"separator", Type(VT_BSTR)}, {u"items", SafeArrayOf(&kVariant)}}, Join, -1),
         MemberEntry{u"Level", 4, MemberKind::Variable, INVOKE_FUNC, Type(VT_I4), {}, 0, Level},
         Method(u"Pick", 5, Type(VT_I4), {{u"colour", UserDefined(0)}}, ArgumentType),
         PropertyGet(u"Name", 6, Type(VT_BSTR), NameProperty),
         PropertyPut(u"Name", 6, Type(VT_BSTR), NameProperty),
         Method(u"Fail", 7, Type(VT_VOID), {}, Fail),
         Method(u"Twice", 8, Type(VT_R8), {{u"x", Type(VT_R8)}}, Twice),
         PropertyGet(u"Self", 9, Type(VT_DISPATCH), SelfObject),
         Method(u"Kind", 10, Type(VT_I4), {{u"value", Type(VT_VARIANT)}}, ArgumentType),
         Method(u"Rename", 11, Type(VT_VOID), {{u"text", PointerTo(&kText), kInOut}}, Rename),
         Method(u"Swap", 12, Type(VT_VOID), {{u"value", PointerTo(&kVariant), kInOut}}, Swap),
         Method(u"Peek", 13, Type(VT_VOID), {{u"target", PointerTo(&kLong)}}, Store),
         PropertyGet(u"Items", 14, SafeArrayOf(&kLong), Items),
         Method(u"Same", 15, Type(VT_BOOL), {{u"other", Type(VT_DISPATCH)}}, Same),
         PropertyGet(u"Nothing", 16, Type(VT_VARIANT), Nothing),
         Method(u"Overflow", 17, Type(VT_VOID), {}, Overflow),
         Method(u"KindOfUnknown", 18, Type(VT_I4), {{u"value", Type(VT_UNKNOWN)}}, ArgumentType),
         Method(u"Give", 19, Type(VT_VOID), {{u"target", PointerTo(&kDispatch), PARAMFLAG_FOUT}}, Give),
         MemberEntry{u"Partner", 20, MemberKind::Variable, INVOKE_FUNC, Type(VT_DISPATCH), {}, 0, Partner},
         Method(u"Grow", 21, Type(VT_VOID), {{u"items", PointerTo(&kVariantArray), kInOut}}, Grow)},
        {ColourEnum()}});
    return type;
}

Probe::Probe() : AutomationObject(ProbeType()) { ++Probes().objects; }

struct ProbeFactory final : IClassFactory {
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **ppv) override {
        if (riid == IID_IUnknown || riid == IID_IClassFactory) return *ppv = this, S_OK;
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown *outer, REFIID riid, void **ppv) override {
        if (outer) return CLASS_E_NOAGGREGATION;
        Probe *probe = new Probe();
        HRESULT hr = probe->QueryInterface(riid, ppv);
        probe->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

// Counts its own references; offers nothing but IUnknown.
struct PlainObject final : IUnknown {
    virtual ~PlainObject() = default;
    std::atomic<ULONG> refs{1};
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **ppv) override {
        if (riid == IID_IUnknown) return AddRef(), *ppv = this, S_OK;
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override {
        ULONG left = --refs;
        if (!left) delete this;
        return left;
    }
};

struct BlindDispatch final : IDispatch {
    std::atomic<ULONG> refs{1};
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **ppv) override {
        if (riid == IID_IUnknown || riid == IID_IDispatch) return AddRef(), *ppv = this, S_OK;
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override {
        ULONG left = --refs;
        if (!left) delete this;
        return left;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT *count) override { return *count = 0, S_OK; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo **info) override {
        *info = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR *, UINT, LCID, DISPID *ids) override {
        *ids = 1; // would answer, but names are never resolved this way
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS *, VARIANT *, EXCEPINFO *, UINT *) override {
        return S_OK;
    }
};

} // namespace

void RegisterProbeClass() {
    static std::once_flag once;
    std::call_once(once, [] {
        static ProbeFactory factory;
        DWORD cookie = 0;
        CoRegisterClassObject(kProbeClass, &factory, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie);
    });
}

IUnknown *NewPlainObject() { return new PlainObject(); }
IUnknown *NewBlindDispatch() { return new BlindDispatch(); }

} // namespace objtest

namespace objtest {
namespace {

struct CountingRecordInfo final : IRecordInfo {
    RecordCounts &counts;
    explicit CountingRecordInfo(RecordCounts &c) : counts(c) {}
    virtual ~CountingRecordInfo() = default;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **ppv) override {
        if (riid == IID_IUnknown || riid == IID_IRecordInfo) return AddRef(), *ppv = this, S_OK;
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ULONG(++counts.refs); }
    ULONG STDMETHODCALLTYPE Release() override {
        int left = --counts.refs;
        if (!left) delete this;
        return ULONG(left);
    }
    HRESULT STDMETHODCALLTYPE RecordInit(PVOID) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE RecordClear(PVOID record) override {
        if (record == counts.original) ++counts.cleared;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE RecordCopy(PVOID, PVOID) override { return ++counts.copied, S_OK; }
    HRESULT STDMETHODCALLTYPE GetGuid(GUID *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetName(BSTR *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetSize(ULONG *size) override { return *size = 8, S_OK; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(ITypeInfo **) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetField(PVOID, LPCOLESTR, VARIANT *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetFieldNoCopy(PVOID, LPCOLESTR, VARIANT *, PVOID *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE PutField(ULONG, PVOID, LPCOLESTR, VARIANT *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE PutFieldNoCopy(ULONG, PVOID, LPCOLESTR, VARIANT *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetFieldNames(ULONG *, BSTR *) override { return E_NOTIMPL; }
    BOOL STDMETHODCALLTYPE IsMatchingType(IRecordInfo *other) override { return other == this; }
    PVOID STDMETHODCALLTYPE RecordCreate() override { return copyArea; }
    HRESULT STDMETHODCALLTYPE RecordCreateCopy(PVOID, PVOID *copy) override {
        ++counts.copied;
        *copy = copyArea; // copies share one area the object keeps
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE RecordDestroy(PVOID record) override {
        if (record != counts.original) return S_OK;
        ++counts.destroyed;
        delete[] static_cast<char *>(record);
        return S_OK;
    }
    char copyArea[8] = {};
};

} // namespace

IRecordInfo *NewCountingRecordInfo(RecordCounts &counts) { return new CountingRecordInfo(counts); }

} // namespace objtest
