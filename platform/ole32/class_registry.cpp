// Class objects: the built-in automation classes and those registered at run time.
#include <ole2.h>

#include <mutex>
#include <vector>

#include "builtin_classes.h"
#include "com_apartment.h"
#include "ole_text.h"

namespace ole {

namespace {

const BuiltinClass kBuiltinClasses[] = {
    {{0x3F4DACA4, 0x160D, 0x11D2, {0xA8, 0xE9, 0x00, 0x10, 0x4B, 0x36, 0x5C, 0x9F}}, u"VBScript.RegExp",
     CreateRegExpObject},
    {{0x00000566, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x6D, 0x2E, 0xA4}}, u"ADODB.Stream",
     CreateStreamObject},
};

// A class factory over one built-in creator; lives as long as the table.
class BuiltinFactory final : public IClassFactory {
public:
    explicit BuiltinFactory(ClassCreator create) : create_(create) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **ppv) override {
        if (!ppv) return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IClassFactory) {
            *ppv = static_cast<IClassFactory *>(this);
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown *outer, REFIID riid, void **ppv) override {
        if (!ppv) return E_POINTER;
        *ppv = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        return create_(riid, ppv);
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

private:
    ClassCreator create_;
};

struct RegisteredClass {
    DWORD cookie;
    CLSID clsid;
    IUnknown *object;
};

struct Registrations {
    std::mutex lock;
    std::vector<RegisteredClass> classes;
    DWORD nextCookie = 1;
};

Registrations &registrations() {
    static Registrations r;
    return r;
}

IUnknown *FindRegistered(REFCLSID clsid) {
    Registrations &r = registrations();
    std::lock_guard<std::mutex> guard(r.lock);
    for (RegisteredClass &c : r.classes) {
        if (c.clsid == clsid) {
            c.object->AddRef();
            return c.object;
        }
    }
    return nullptr;
}

IClassFactory *BuiltinFactoryFor(const BuiltinClass &cls) {
    static BuiltinFactory factories[] = {BuiltinFactory(kBuiltinClasses[0].create),
                                         BuiltinFactory(kBuiltinClasses[1].create)};
    static_assert(sizeof(factories) / sizeof(factories[0]) == sizeof(kBuiltinClasses) / sizeof(kBuiltinClasses[0]));
    return &factories[&cls - kBuiltinClasses];
}

const DWORD kKnownContexts = CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER;

} // namespace

const BuiltinClass *FindBuiltinClass(REFCLSID clsid) {
    for (const BuiltinClass &c : kBuiltinClasses)
        if (c.clsid == clsid) return &c;
    return nullptr;
}

const BuiltinClass *FindBuiltinProgId(const OLECHAR *progId) {
    for (const BuiltinClass &c : kBuiltinClasses)
        if (EqualsNoCase(c.progId, progId)) return &c;
    return nullptr;
}

} // namespace ole

extern "C" {

HRESULT WINAPI CLSIDFromProgID(LPCOLESTR lpszProgID, LPCLSID lpclsid) {
    if (!lpszProgID || !lpclsid) return E_INVALIDARG;
    const ole::BuiltinClass *cls = ole::FindBuiltinProgId(lpszProgID);
    if (!cls) {
        *lpclsid = GUID{};
        return CO_E_CLASSSTRING;
    }
    *lpclsid = cls->clsid;
    return S_OK;
}

HRESULT WINAPI CoGetClassObject(REFCLSID rclsid, DWORD dwClsContext, LPVOID, REFIID riid, LPVOID *ppv) {
    if (!ppv) return E_INVALIDARG;
    *ppv = nullptr;
    if (!ole::ComInitializedOnThread()) return CO_E_NOTINITIALIZED;
    if ((dwClsContext & ole::kKnownContexts) == 0) return E_INVALIDARG;
    if (IUnknown *registered = ole::FindRegistered(rclsid)) {
        HRESULT hr = registered->QueryInterface(riid, ppv);
        registered->Release();
        return hr;
    }
    const ole::BuiltinClass *cls = ole::FindBuiltinClass(rclsid);
    if (!cls) return REGDB_E_CLASSNOTREG;
    return ole::BuiltinFactoryFor(*cls)->QueryInterface(riid, ppv);
}

HRESULT WINAPI CoCreateInstance(REFCLSID rclsid, LPUNKNOWN pUnkOuter, DWORD dwClsContext, REFIID riid,
                                LPVOID *ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    IClassFactory *factory = nullptr;
    HRESULT hr = CoGetClassObject(rclsid, dwClsContext, nullptr, IID_IClassFactory, (void **)&factory);
    if (FAILED(hr)) return hr;
    hr = factory->CreateInstance(pUnkOuter, riid, ppv);
    factory->Release();
    return hr;
}

HRESULT WINAPI CoRegisterClassObject(REFCLSID rclsid, LPUNKNOWN pUnk, DWORD, DWORD, LPDWORD lpdwRegister) {
    if (!pUnk || !lpdwRegister) return E_INVALIDARG;
    if (!ole::ComInitializedOnThread()) return CO_E_NOTINITIALIZED;
    ole::Registrations &r = ole::registrations();
    std::lock_guard<std::mutex> guard(r.lock);
    pUnk->AddRef();
    *lpdwRegister = r.nextCookie++;
    r.classes.push_back({*lpdwRegister, rclsid, pUnk});
    return S_OK;
}

HRESULT WINAPI CoRevokeClassObject(DWORD dwRegister) {
    IUnknown *object = nullptr;
    {
        ole::Registrations &r = ole::registrations();
        std::lock_guard<std::mutex> guard(r.lock);
        for (auto it = r.classes.begin(); it != r.classes.end(); ++it) {
            if (it->cookie == dwRegister) {
                object = it->object;
                r.classes.erase(it);
                break;
            }
        }
    }
    if (!object) return E_INVALIDARG; // a cookie not (or no longer) registered
    object->Release();
    return S_OK;
}

// Objects of this platform are always running; there is no IRunnableObject to ask.
HRESULT WINAPI OleRun(LPUNKNOWN pUnknown) { return pUnknown ? S_OK : E_INVALIDARG; }

} // extern "C"
