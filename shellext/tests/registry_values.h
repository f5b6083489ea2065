#pragma once
// Reading the registry in the shell tests: whether a key is there, and a value as stored.

#include <windows.h>

#include <string>
#include <vector>

bool keyExists(HKEY root, const std::wstring& path);

struct StoredValue {
    bool present = false;
    DWORD type = 0;
    std::vector<BYTE> bytes;
};

inline bool operator==(const StoredValue& a, const StoredValue& b) {
    return a.present == b.present && a.type == b.type && a.bytes == b.bytes;
}

// The value's type and bytes; present false when the key or the value is missing.
StoredValue readValue(HKEY root, const std::wstring& path, const wchar_t* name);
