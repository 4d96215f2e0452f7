#include "model/sha1_digest.h"

#include <openssl/evp.h>

#include <new>

namespace quillmere {
namespace {

EVP_MD_CTX* Context(void* p) { return static_cast<EVP_MD_CTX*>(p); }

}  // namespace

Sha1Digest::Sha1Digest() : context_(EVP_MD_CTX_new()) {
  if (context_ == nullptr || EVP_DigestInit_ex(Context(context_), EVP_sha1(), nullptr) != 1) {
    EVP_MD_CTX_free(Context(context_));
    throw std::bad_alloc();
  }
}

Sha1Digest::~Sha1Digest() { EVP_MD_CTX_free(Context(context_)); }

void Sha1Digest::Update(const void* data, std::size_t size) {
  if (size > 0) EVP_DigestUpdate(Context(context_), data, size);
}

std::string Sha1Digest::HexDigest() {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  EVP_DigestFinal_ex(Context(context_), digest, &length);
  static const char kHex[] = "0123456789abcdef";
  std::string text;
  text.reserve(length * 2);
  for (unsigned int i = 0; i < length; ++i) {
    text.push_back(kHex[digest[i] >> 4]);
    text.push_back(kHex[digest[i] & 15]);
  }
  return text;
}

std::string Sha1Hex(const void* data, std::size_t size) {
  Sha1Digest digest;
  digest.Update(data, size);
  return digest.HexDigest();
}

}  // namespace quillmere
