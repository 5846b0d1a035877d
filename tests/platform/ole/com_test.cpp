#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include <windows.h>

#include "ole_test_support.h"

namespace {

const CLSID kRegExpClsid = {0x3F4DACA4, 0x160D, 0x11D2, {0xA8, 0xE9, 0x00, 0x10, 0x4B, 0x36, 0x5C, 0x9F}};

TEST(ComStartup, CountedPerThread) {
    std::thread([] {
        IUnknown *u = nullptr;
        EXPECT_EQ(CoCreateInstance(kRegExpClsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, (void **)&u),
                  CO_E_NOTINITIALIZED);
        EXPECT_EQ(u, nullptr);
        EXPECT_EQ(CoInitialize(nullptr), S_OK);
        EXPECT_EQ(CoInitialize(nullptr), S_FALSE);
        EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), RPC_E_CHANGED_MODE);
        EXPECT_EQ(OleInitialize(nullptr), S_OK); // the thread's first, though COM already runs
        EXPECT_EQ(OleInitialize(nullptr), S_FALSE);
        OleUninitialize();
        OleUninitialize();
        CoUninitialize();
        ASSERT_EQ(CoCreateInstance(kRegExpClsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, (void **)&u), S_OK);
        u->Release();
        CoUninitialize();
        EXPECT_EQ(CoCreateInstance(kRegExpClsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, (void **)&u),
                  CO_E_NOTINITIALIZED);
        CoUninitialize(); // one too many is harmless
        EXPECT_EQ(OleInitialize(nullptr), S_OK);
        OleUninitialize();
    }).join();
}

class ComTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr))); }
    void TearDown() override { CoUninitialize(); }
};

TEST_F(ComTest, ProgIdsAndClassStrings) {
    CLSID clsid;
    ASSERT_EQ(CLSIDFromProgID(OLESTR("vbscript.regexp"), &clsid), S_OK);
    EXPECT_TRUE(clsid == kRegExpClsid);
    EXPECT_EQ(CLSIDFromProgID(OLESTR("Adodb.Stream"), &clsid), S_OK);
    EXPECT_EQ(CLSIDFromProgID(OLESTR("No.SuchClass"), &clsid), CO_E_CLASSSTRING);
    EXPECT_EQ(CLSIDFromProgID(nullptr, &clsid), E_INVALIDARG);

    OLECHAR text[39];
    ASSERT_EQ(StringFromGUID2(kRegExpClsid, text, 39), 39);
    EXPECT_EQ(Utf16(text), u"{3F4DACA4-160D-11D2-A8E9-00104B365C9F}");
    ASSERT_EQ(CLSIDFromString(OLESTR("{3f4daca4-160d-11d2-a8e9-00104b365c9f}"), &clsid), S_OK);
    EXPECT_TRUE(clsid == kRegExpClsid);
    EXPECT_EQ(CLSIDFromString(OLESTR("{3F4DACA4-160D-11D2-A8E9-00104B365C9}"), &clsid), CO_E_CLASSSTRING);
    EXPECT_EQ(CLSIDFromString(OLESTR("{3F4DACA4-160D-11D2-A8E9-00104B365C9F}x"), &clsid), CO_E_CLASSSTRING);
    EXPECT_EQ(StringFromGUID2(kRegExpClsid, text, 38), 0);
}

TEST_F(ComTest, CreateInstanceRules) {
    IUnknown *u = nullptr;
    CLSID unknown = {0x12345678, 1, 2, {3, 4, 5, 6, 7, 8, 9, 10}};
    EXPECT_EQ(CoCreateInstance(unknown, nullptr, 0x17, IID_IUnknown, (void **)&u), REGDB_E_CLASSNOTREG);
    EXPECT_EQ(CoCreateInstance(kRegExpClsid, nullptr, 0x17, IID_ITypeInfo, (void **)&u), E_NOINTERFACE);
    EXPECT_EQ(u, nullptr);
    ASSERT_EQ(CoCreateInstance(kRegExpClsid, nullptr, 0x7, IID_IUnknown, (void **)&u), S_OK);
    IDispatch *d = nullptr;
    ASSERT_EQ(u->QueryInterface(IID_IDispatch, (void **)&d), S_OK);
    EXPECT_EQ(OleRun(u), S_OK);
    EXPECT_EQ(d->Release(), 1u);
    EXPECT_EQ(u->Release(), 0u);
}

// The regular expression does not support aggregation, so an outer unknown is refused.
TEST_F(ComTest, AnOuterUnknownIsRefused) {
    IUnknown *u = nullptr;
    EXPECT_EQ(CoCreateInstance(kRegExpClsid, (IUnknown *)0x1, 0x17, IID_IUnknown, (void **)&u), CLASS_E_NOAGGREGATION);
    EXPECT_EQ(u, nullptr);
}

// A class registered at run time, whose objects are regular-expression objects.
struct TestFactory : IClassFactory {
    std::atomic<int> refs{1};
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **ppv) override {
        if (riid == IID_IUnknown || riid == IID_IClassFactory) {
            *ppv = this;
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown *, REFIID riid, void **ppv) override {
        return CoCreateInstance(kRegExpClsid, nullptr, CLSCTX_INPROC_SERVER, riid, ppv);
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

TEST_F(ComTest, RegisteredClassObjects) {
    TestFactory factory;
    CLSID mine = {0xA1B2C3D4, 1, 2, {3, 4, 5, 6, 7, 8, 9, 10}};
    DWORD cookie = 0;
    ASSERT_EQ(CoRegisterClassObject(mine, &factory, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie), S_OK);
    IDispatch *d = nullptr;
    ASSERT_EQ(CoCreateInstance(mine, nullptr, 0x17, IID_IDispatch, (void **)&d), S_OK);
    d->Release();
    EXPECT_EQ(CoRevokeClassObject(cookie), S_OK);
    EXPECT_EQ(factory.refs.load(), 1);
    EXPECT_EQ(CoRevokeClassObject(cookie), E_INVALIDARG);
    EXPECT_EQ(CoCreateInstance(mine, nullptr, 0x17, IID_IDispatch, (void **)&d), REGDB_E_CLASSNOTREG);
}

TEST_F(ComTest, TypeLibraryFilesFailCleanly) {
    ITypeLib *lib = reinterpret_cast<ITypeLib *>(0x1);
    EXPECT_EQ(LoadTypeLib(OLESTR("Z:\\tmp\\none.tlb"), &lib), TYPE_E_CANTLOADLIBRARY);
    EXPECT_EQ(lib, nullptr);
    EXPECT_EQ(LoadTypeLib(nullptr, &lib), E_INVALIDARG);
    EXPECT_EQ(RegisterTypeLib(nullptr, const_cast<OLECHAR *>(OLESTR("x")), nullptr), E_INVALIDARG);
}

TEST(NameHash, IgnoresLetterCase) {
    ULONG a = LHashValOfNameSys(SYS_WIN32, 2052, OLESTR("Count"));
    EXPECT_EQ(a, LHashValOfNameSys(SYS_WIN32, 2052, OLESTR("COUNT")));
    ULONG other = LHashValOfNameSys(SYS_WIN32, 2052, OLESTR("Item"));
    EXPECT_NE(a, other);
    // The high word depends on the system kind and the locale only, never on the name.
    EXPECT_EQ(a >> 16, other >> 16);
    EXPECT_NE(a >> 16, LHashValOfNameSys(SYS_MAC, 2052, OLESTR("Count")) >> 16);
}

TEST(ComThreads, ObjectsOnSeveralThreadsAtOnce) {
    std::atomic<int> failures{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([t, &failures] {
            if (FAILED(CoInitialize(nullptr))) return void(++failures);
            for (int round = 0; round < 50; ++round) {
                IDispatch *re = Create(u"VBScript.RegExp");
                if (!re) {
                    ++failures;
                    continue;
                }
                Put(re, u"Global", Bool(true));
                Put(re, u"Pattern", Text(u"x(\\d)"));
                std::u16string subject, want;
                for (int k = 0; k <= t + round % 3; ++k) {
                    subject += u"x" + std::u16string(1, char16_t(u'0' + k)) + u" ";
                    want += u"y" + std::u16string(1, char16_t(u'0' + k)) + u" ";
                }
                Var replaced;
                if (FAILED(CallMember(re, u"Replace", DISPATCH_METHOD, {Text(subject), Text(u"y$1")}, &replaced)) ||
                    replaced->vt != VT_BSTR || TextOf(replaced.v) != want)
                    ++failures;
                re->Release();
            }
            CoUninitialize();
        });
    }
    for (auto &th : threads) th.join();
    EXPECT_EQ(failures.load(), 0);
}

} // namespace

namespace {

TEST(OleModules, ExportTheirFunctionsToDeclaredCalls) {
    HMODULE ole32 = LoadLibraryA("OLE32.DLL");
    ASSERT_NE(ole32, nullptr);
    EXPECT_EQ(reinterpret_cast<void *>(GetProcAddress(ole32, "CoInitialize")), reinterpret_cast<void *>(&CoInitialize));
    EXPECT_EQ(reinterpret_cast<void *>(GetProcAddress(ole32, "CoUninitialize")),
              reinterpret_cast<void *>(&CoUninitialize));
    HMODULE oleaut32 = LoadLibraryA("oleaut32.dll");
    ASSERT_NE(oleaut32, nullptr);
    EXPECT_EQ(reinterpret_cast<void *>(GetProcAddress(oleaut32, "SysAllocString")),
              reinterpret_cast<void *>(&SysAllocString));
    EXPECT_EQ(GetProcAddress(oleaut32, "NoSuchExport"), nullptr);
    FreeLibrary(ole32);
    FreeLibrary(oleaut32);
}

} // namespace
