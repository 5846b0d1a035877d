// The IUnknown part the platform's own COM objects share: a thread-safe reference
// count that deletes the object with the last reference, and QueryInterface over the
// interfaces the object says it offers.
#pragma once

#include <objbase.h>

#include <atomic>

namespace platform {

template <class Interface> class ComObject : public Interface {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (riid != IID_IUnknown && !Offers(riid)) return E_NOINTERFACE;
        *out = static_cast<Interface *>(this);
        this->AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        ULONG left = --references_;
        if (!left) delete this;
        return left;
    }

protected:
    virtual ~ComObject() = default;
    // Whether `riid` names Interface or one of its bases (IUnknown is always offered).
    virtual bool Offers(REFIID riid) const = 0;

private:
    std::atomic<ULONG> references_{1};
};

} // namespace platform
