#include "engine/module_path.h"

namespace velk {

std::wstring modulePathOf(HMODULE module) {
    // Paths are at most 32767 characters; a buffer that large always fits a whole one.
    for (DWORD capacity = MAX_PATH; capacity <= 65536; capacity *= 2) {
        std::wstring buffer(capacity, L'\0');
        const DWORD length = GetModuleFileNameW(module, &buffer[0], capacity);
        if (length == 0)
            return std::wstring();
        // A cut path fills the buffer exactly (and sets ERROR_INSUFFICIENT_BUFFER).
        if (length < capacity) {
            buffer.resize(length);
            return buffer;
        }
    }
    return std::wstring();
}

} // namespace velk
