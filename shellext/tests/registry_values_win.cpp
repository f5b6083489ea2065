#include "registry_values.h"

#include "engine/unique_handle.h"

using velk::UniqueRegKey;

bool keyExists(HKEY root, const std::wstring& path) {
    HKEY raw = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &raw) != ERROR_SUCCESS)
        return false;
    UniqueRegKey key(raw);
    return true;
}

StoredValue readValue(HKEY root, const std::wstring& path, const wchar_t* name) {
    StoredValue value;
    HKEY raw = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &raw) != ERROR_SUCCESS)
        return value;
    UniqueRegKey key(raw);
    DWORD size = 0;
    if (RegQueryValueExW(key.get(), name, nullptr, &value.type, nullptr, &size) != ERROR_SUCCESS)
        return value;
    value.bytes.resize(size);
    if (RegQueryValueExW(key.get(), name, nullptr, &value.type, value.bytes.data(), &size) !=
        ERROR_SUCCESS)
        return value;
    value.bytes.resize(size);
    value.present = true;
    return value;
}
