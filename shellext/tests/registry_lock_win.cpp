// registry_lock lock|unlock KEY: makes a key under HKEY_CLASSES_ROOT read-only for everyone
// (created when missing), as the machine's registry is for a user who is not an
// administrator, or gives everyone full access to it again. The owner keeps the right to
// change the access list, so unlock works. Exit code 0 on success.

#include "engine/unique_handle.h"

#include <windows.h>

#include <sddl.h>

#include <cstdio>
#include <string>

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        std::fputs("usage: registry_lock lock|unlock KEY\n", stderr);
        return 2;
    }
    const std::wstring action = argv[1];
    const bool lock = action == L"lock";
    if (!lock && action != L"unlock")
        return 2;
    HKEY raw = nullptr;
    const LONG opened =
        lock ? RegCreateKeyExW(HKEY_CLASSES_ROOT, argv[2], 0, nullptr, REG_OPTION_NON_VOLATILE,
                               WRITE_DAC, nullptr, &raw, nullptr)
             : RegOpenKeyExW(HKEY_CLASSES_ROOT, argv[2], 0, WRITE_DAC, &raw);
    if (opened != ERROR_SUCCESS) {
        std::fprintf(stderr, "registry_lock: cannot open the key (%ld)\n", opened);
        return 1;
    }
    const velk::UniqueRegKey key(raw);
    // Protected lists: nothing is inherited from the parent key.
    const wchar_t* descriptor = lock ? L"D:P(A;;KR;;;WD)" : L"D:P(A;;KA;;;WD)";
    PSECURITY_DESCRIPTOR security = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(descriptor, SDDL_REVISION_1,
                                                              &security, nullptr))
        return 1;
    const LONG set = RegSetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, security);
    LocalFree(security);
    if (set != ERROR_SUCCESS) {
        std::fprintf(stderr, "registry_lock: cannot set the access list (%ld)\n", set);
        return 1;
    }
    return 0;
}
