#include "engine/platform/cng_hash.h"

#include <atomic>
#include <cwchar>

namespace velk {

const wchar_t* const kPlatformHashIds[5] = {L"MD5", L"SHA1", L"SHA256", L"SHA384", L"SHA512"};

namespace {
std::atomic<const wchar_t*> gFailingIdentifier{nullptr};
}

void setPlatformHashOpenFailure(const wchar_t* identifier) { gFailingIdentifier = identifier; }

bool platformHashOpenShouldFail(const wchar_t* identifier) {
    const wchar_t* failing = gFailingIdentifier.load();
    return failing != nullptr && std::wcscmp(failing, identifier) == 0;
}

} // namespace velk
