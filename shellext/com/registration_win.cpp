// DllRegisterServer / DllUnregisterServer: the class, its in-process server, the handler
// keys for every file and for shortcuts, and the approval entry.

#include "engine/unique_handle.h"
#include "shellext/com/module.h"

#include <windows.h>

#include <msi.h>
#include <olectl.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <new>
#include <string>

namespace velk {
namespace {

const wchar_t kClassName[] = L"Velkora";
const wchar_t kApprovedKey[] =
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions\\Approved";

const wchar_t* const kHandlerKeys[] = {
    L"*\\shellex\\ContextMenuHandlers\\Velkora",
    L"*\\shellex\\PropertySheetHandlers\\Velkora",
    L"lnkfile\\shellex\\PropertySheetHandlers\\Velkora",
};

// An earlier name of the extension; an upgraded installation must not show two entries.
const wchar_t* const kLegacyHandlerKeys[] = {
    L"*\\shellex\\ContextMenuHandlers\\Ostrivane",
    L"*\\shellex\\PropertySheetHandlers\\Ostrivane",
    L"lnkfile\\shellex\\PropertySheetHandlers\\Ostrivane",
};

std::wstring classKeyPath() {
    return std::wstring(L"CLSID\\") + kVelkshellClsidText;
}

// Creates (or opens) the key and sets one REG_SZ value; the stored byte count includes
// the terminating NUL. The key is closed right after.
bool setStringValue(HKEY root, const std::wstring& path, const wchar_t* name,
                    const std::wstring& data) {
    HKEY raw = nullptr;
    if (RegCreateKeyExW(root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr,
                        &raw, nullptr) != ERROR_SUCCESS)
        return false;
    const UniqueRegKey key(raw);
    const DWORD bytes = static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t));
    return RegSetValueExW(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                          bytes) == ERROR_SUCCESS;
}

void deleteLegacyKeys() {
    for (const wchar_t* key : kLegacyHandlerKeys)
        SHDeleteKeyW(HKEY_CLASSES_ROOT, key); // absent is fine
}

HRESULT registerServer() {
    // A cut path would register some other file, or none, as the server: nothing is written.
    const std::wstring dllPath = moduleFilePath();
    if (dllPath.empty())
        return SELFREG_E_CLASS;
    deleteLegacyKeys();

    const std::wstring classKey = classKeyPath();
    if (!setStringValue(HKEY_CLASSES_ROOT, classKey, nullptr, kClassName))
        return SELFREG_E_CLASS;

    // Only the class key is essential; a handler key that cannot be written is skipped.
    const std::wstring serverKey = classKey + L"\\InprocServer32";
    setStringValue(HKEY_CLASSES_ROOT, serverKey, nullptr, dllPath);
    setStringValue(HKEY_CLASSES_ROOT, serverKey, L"ThreadingModel", L"Apartment");
    for (const wchar_t* key : kHandlerKeys)
        setStringValue(HKEY_CLASSES_ROOT, key, nullptr, kVelkshellClsidText);
    // Without rights to the machine hive this is skipped silently.
    setStringValue(HKEY_LOCAL_MACHINE, kApprovedKey, kVelkshellClsidText, kClassName);

    SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
    return S_OK;
}

void unregisterServer() {
    SHDeleteKeyW(HKEY_CLASSES_ROOT, classKeyPath().c_str());
    for (const wchar_t* key : kHandlerKeys)
        SHDeleteKeyW(HKEY_CLASSES_ROOT, key);
    deleteLegacyKeys();

    HKEY raw = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kApprovedKey, 0, KEY_WRITE, &raw) == ERROR_SUCCESS) {
        const UniqueRegKey approved(raw);
        RegDeleteValueW(approved.get(), kVelkshellClsidText);
    }
    SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
}

} // namespace
} // namespace velk

STDAPI DllRegisterServer() {
    try {
        return velk::registerServer();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_FAIL;
    }
}

// A deferred custom action of the Windows installer package, run after the package has
// written its registry entries and again after it has removed them: it removes the handler
// keys of the earlier name and tells the shell that associations changed. A missing key is
// not a failure, and the clean-up never fails an installation.
extern "C" UINT WINAPI RemoveLegacyHandlers(MSIHANDLE) {
    velk::deleteLegacyKeys();
    SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
    return ERROR_SUCCESS;
}

STDAPI DllUnregisterServer() {
    try {
        velk::unregisterServer();
    } catch (...) {
        // What could not be deleted stays; unregistration reports nothing.
    }
    return S_OK;
}
