#pragma once

#include <cstddef>
#include <string>

namespace quillmere {

// SHA-1 of a byte sequence fed in pieces, through OpenSSL's EVP interface.
class Sha1Digest {
 public:
  Sha1Digest();
  ~Sha1Digest();
  Sha1Digest(const Sha1Digest&) = delete;
  Sha1Digest& operator=(const Sha1Digest&) = delete;

  void Update(const void* data, std::size_t size);
  // The digest as 40 lower-case hexadecimal digits; ends this digest.
  std::string HexDigest();

 private:
  void* context_;  // EVP_MD_CTX
};

std::string Sha1Hex(const void* data, std::size_t size);

}  // namespace quillmere
