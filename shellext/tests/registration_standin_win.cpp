// Answers regsvr32 as velkshell.dll does but changes nothing in the registry: what a user
// who is not an administrator sees, since velkshell's DllUnregisterServer reports success
// even when every deletion is refused (Wine does not refuse them).

#include <windows.h>

extern "C" __declspec(dllexport) HRESULT WINAPI DllRegisterServer() {
    return S_OK;
}

extern "C" __declspec(dllexport) HRESULT WINAPI DllUnregisterServer() {
    return S_OK;
}
