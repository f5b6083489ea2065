#include "engine/platform/cng_hash.h"

#include "engine/hex.h"

namespace velk {

CngHash::CngHash() = default;

bool CngHash::open(const wchar_t* identifier) {
    if (BCryptOpenAlgorithmProvider(&provider_, identifier, nullptr, 0) != 0) {
        provider_ = nullptr;
        return false;
    }
    ULONG written = 0;
    BCryptGetProperty(provider_, BCRYPT_OBJECT_LENGTH, reinterpret_cast<PUCHAR>(&objectLength_),
                      sizeof objectLength_, &written, 0);
    BCryptGetProperty(provider_, BCRYPT_HASH_LENGTH, reinterpret_cast<PUCHAR>(&digestLength_),
                      sizeof digestLength_, &written, 0);
    hashObject_.assign(objectLength_, 0);
    if (BCryptCreateHash(provider_, &hash_, hashObject_.data(), objectLength_, nullptr, 0, 0) !=
        0) {
        hash_ = nullptr;
        return false;
    }
    return true;
}

void CngHash::update(const std::uint8_t* data, std::uint32_t length) {
    BCryptHashData(hash_, const_cast<PUCHAR>(data), length, 0);
}

std::string CngHash::finishHex() {
    std::vector<std::uint8_t> digest(digestLength_, 0);
    BCryptFinishHash(hash_, digest.data(), digestLength_, 0);
    return toHex(digest.data(), digest.size());
}

CngHash::~CngHash() {
    if (hash_ != nullptr)
        BCryptDestroyHash(hash_);
    if (provider_ != nullptr)
        BCryptCloseAlgorithmProvider(provider_, 0);
}

} // namespace velk
