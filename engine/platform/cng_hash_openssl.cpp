#include "engine/platform/cng_hash.h"

#include "engine/hex.h"

#include <openssl/evp.h>

#include <string>

namespace velk {

struct CngHash::Context {
    EVP_MD_CTX* ctx = nullptr;
    ~Context() {
        if (ctx != nullptr)
            EVP_MD_CTX_free(ctx);
    }
};

namespace {

// libcrypto knows the platform identifiers ("SHA256") as digest names.
const EVP_MD* digestFor(const wchar_t* identifier) {
    std::string name;
    for (; *identifier != L'\0'; ++identifier) {
        if ((*identifier & ~0x7F) != 0)
            return nullptr;
        name.push_back(static_cast<char>(*identifier));
    }
    return EVP_get_digestbyname(name.c_str());
}

} // namespace

bool CngHash::open(const wchar_t* identifier) {
    const EVP_MD* md = digestFor(identifier);
    if (md == nullptr)
        return false;
    context_.reset(new Context);
    context_->ctx = EVP_MD_CTX_new();
    return context_->ctx != nullptr && EVP_DigestInit_ex(context_->ctx, md, nullptr) == 1;
}

void CngHash::update(const std::uint8_t* data, std::uint32_t length) {
    EVP_DigestUpdate(context_->ctx, data, length);
}

std::string CngHash::finishHex() {
    unsigned char digest[EVP_MAX_MD_SIZE] = {};
    unsigned int length = 0;
    EVP_DigestFinal_ex(context_->ctx, digest, &length);
    return toHex(digest, length);
}

CngHash::CngHash() = default;
CngHash::~CngHash() = default;

} // namespace velk
