#pragma once
// One platform hash computation: MD5, SHA-1, SHA-256, SHA-384 or SHA-512. On Windows it is
// CNG (bcrypt); elsewhere OpenSSL's libcrypto stands behind the same three steps.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>

#include <bcrypt.h>
#endif

namespace velk {

class CngHash {
  public:
    CngHash();
    ~CngHash();
    CngHash(const CngHash&) = delete;
    CngHash& operator=(const CngHash&) = delete;

    // The platform identifier of a catalogue entry ("SHA256"). False when the provider or the
    // hash object cannot be created; whatever was obtained is released by the destructor.
    bool open(const wchar_t* identifier);
    // Chunks never exceed 1 MiB. The platform's status is not examined.
    void update(const std::uint8_t* data, std::uint32_t length);
    std::string finishHex();

  private:
#ifdef _WIN32
    BCRYPT_ALG_HANDLE provider_ = nullptr;
    BCRYPT_HASH_HANDLE hash_ = nullptr;
    ULONG objectLength_ = 0;
    ULONG digestLength_ = 0;
    std::vector<std::uint8_t> hashObject_;
#else
    struct Context;
    std::unique_ptr<Context> context_;
#endif
};

} // namespace velk
