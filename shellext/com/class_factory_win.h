#pragma once
// CFactory: the class factory of the one creatable class, CVelkshell.

#include <windows.h>

#include <unknwn.h>

namespace velk {

// Holds no count on the module: a factory alone does not keep the DLL loaded.
class CFactory final : public IClassFactory {
  public:
    CFactory() = default;
    CFactory(const CFactory&) = delete;
    CFactory& operator=(const CFactory&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppv) override;
    HRESULT STDMETHODCALLTYPE LockServer(BOOL fLock) override;

  private:
    ~CFactory() = default;

    volatile LONG refCount = 1;
};

} // namespace velk
