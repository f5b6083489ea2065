#pragma once
// Faults the engine's tests inject into the passes. Only the test build of the pass library
// (VELK_FAULT_INJECTION) has them; the shipped binaries carry neither these functions nor the
// checks that consult them, and a test looks for this namespace in their symbol tables.

#ifdef VELK_FAULT_INJECTION
#include <cstddef>

namespace velk::faults {

// While set, starting the platform digest with this identifier ("SHA256") fails as if the
// provider could not be created. nullptr restores normal behaviour.
void setPlatformHashOpenFailure(const wchar_t* identifier);
bool platformHashOpenFails(const wchar_t* identifier);

// While n > 0, every read loop started afterwards behaves as if its stream failed after
// delivering n chunks: the next read delivers nothing and the loop reports a read error.
// 0 restores normal behaviour.
void setReadFailureAfterChunks(std::size_t chunks);
std::size_t readFailureAfterChunks();

// While ms > 0, every read of every read loop waits this long first, as a slow disk or
// network would. 0 restores normal behaviour.
void setReadDelayMilliseconds(unsigned ms);
unsigned readDelayMilliseconds();

} // namespace velk::faults
#endif
