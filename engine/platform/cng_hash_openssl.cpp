#include "engine/platform/cng_hash.h"

#include "engine/hex.h"

#include <openssl/evp.h>

#include <cwchar>

namespace velk {

struct CngHash::Context {
    EVP_MD_CTX* ctx = nullptr;
    ~Context() {
        if (ctx != nullptr) EVP_MD_CTX_free(ctx);
    }
};

namespace {

const EVP_MD* digestFor(const wchar_t* identifier) {
    struct Entry {
        const wchar_t* id;
        const EVP_MD* (*md)();
    };
    static const Entry kTable[] = {{L"MD5", EVP_md5},       {L"SHA1", EVP_sha1},
                                   {L"SHA256", EVP_sha256}, {L"SHA384", EVP_sha384},
                                   {L"SHA512", EVP_sha512}};
    for (const Entry& e : kTable) {
        if (std::wcscmp(e.id, identifier) == 0) return e.md();
    }
    return nullptr;
}

} // namespace

bool CngHash::open(const wchar_t* identifier) {
    if (platformHashOpenShouldFail(identifier)) return false;
    const EVP_MD* md = digestFor(identifier);
    if (md == nullptr) return false;
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
