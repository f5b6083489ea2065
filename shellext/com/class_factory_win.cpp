#include "shellext/com/class_factory_win.h"

#include "shellext/com/module.h"
#include "shellext/com/velkshell_object_win.h"

#include <new>

namespace velk {

HRESULT STDMETHODCALLTYPE CFactory::QueryInterface(REFIID riid, void** ppv) {
    if (ppv == nullptr)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
        *ppv = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE CFactory::AddRef() {
    return static_cast<ULONG>(InterlockedIncrement(&refCount));
}

ULONG STDMETHODCALLTYPE CFactory::Release() {
    const LONG count = InterlockedDecrement(&refCount);
    if (count == 0)
        delete this;
    return static_cast<ULONG>(count);
}

HRESULT STDMETHODCALLTYPE CFactory::CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppv) {
    if (ppv != nullptr)
        *ppv = nullptr;
    if (pUnkOuter != nullptr)
        return CLASS_E_NOAGGREGATION;
    // The constructor allocates nothing, so nothrow new is the only allocation to check.
    CVelkshell* object = new (std::nothrow) CVelkshell();
    if (object == nullptr)
        return E_OUTOFMEMORY;
    // An unsupported riid leaves the query without a reference, and this Release frees
    // the new object again.
    const HRESULT hr = object->QueryInterface(riid, ppv);
    object->Release();
    return hr;
}

HRESULT STDMETHODCALLTYPE CFactory::LockServer(BOOL fLock) {
    if (fLock)
        moduleAddRef();
    else
        moduleRelease();
    return S_OK;
}

} // namespace velk
