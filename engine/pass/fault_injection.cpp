#include "engine/pass/fault_injection.h"

#include <atomic>
#include <cwchar>

namespace velk::faults {
namespace {
std::atomic<const wchar_t*> gFailingIdentifier{nullptr};
std::atomic<std::size_t> gReadFailureAfterChunks{0};
std::atomic<unsigned> gReadDelayMilliseconds{0};
} // namespace

void setPlatformHashOpenFailure(const wchar_t* identifier) {
    gFailingIdentifier = identifier;
}

bool platformHashOpenFails(const wchar_t* identifier) {
    const wchar_t* failing = gFailingIdentifier.load();
    return failing != nullptr && std::wcscmp(failing, identifier) == 0;
}

void setReadFailureAfterChunks(std::size_t chunks) {
    gReadFailureAfterChunks = chunks;
}

std::size_t readFailureAfterChunks() {
    return gReadFailureAfterChunks.load();
}

void setReadDelayMilliseconds(unsigned ms) {
    gReadDelayMilliseconds = ms;
}

unsigned readDelayMilliseconds() {
    return gReadDelayMilliseconds.load();
}

} // namespace velk::faults
