// The DLL's entry points for COM (registration lives in registration_win.cpp).

#include "shellext/com/class_factory_win.h"
#include "shellext/com/module.h"

#include <windows.h>

#include <new>

extern "C" BOOL WINAPI DllMain(HINSTANCE hinstDLL, DWORD fdwReason, LPVOID) {
    if (fdwReason == DLL_PROCESS_ATTACH) {
        velk::moduleHandle = hinstDLL;
        DisableThreadLibraryCalls(hinstDLL);
    }
    return TRUE;
}

STDAPI DllGetClassObject(REFCLSID rclsid, REFIID riid, LPVOID* ppv) {
    if (!IsEqualCLSID(rclsid, velk::kVelkshellClsid))
        return CLASS_E_CLASSNOTAVAILABLE;
    velk::CFactory* factory = new (std::nothrow) velk::CFactory();
    if (factory == nullptr)
        return E_OUTOFMEMORY;
    const HRESULT hr = factory->QueryInterface(riid, ppv);
    factory->Release();
    return hr;
}

STDAPI DllCanUnloadNow() {
    return velk::moduleRefCountValue() == 0 ? S_OK : S_FALSE;
}
