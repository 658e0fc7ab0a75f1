#include "duplicates/md5_digest.h"

#include <openssl/evp.h>

namespace corvale::duplicates {

Md5Digest::Md5Digest() : context_(EVP_MD_CTX_new()) {}

Md5Digest::~Md5Digest() { EVP_MD_CTX_free(context_); }

void Md5Digest::Begin() {
  EVP_DigestInit_ex(context_, EVP_md5(), nullptr);
  text_.clear();
}

void Md5Digest::Add(const void* bytes, std::size_t length) {
  if (length > 0) EVP_DigestUpdate(context_, bytes, length);
}

void Md5Digest::Finish() {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  EVP_DigestFinal_ex(context_, digest, &length);
  static constexpr char kHex[] = "0123456789abcdef";
  text_.clear();
  for (unsigned int i = 0; i < length; ++i) {
    text_ += kHex[digest[i] >> 4];
    text_ += kHex[digest[i] & 15];
  }
}

std::string Md5Text(const std::string& bytes) {
  Md5Digest digest;
  digest.Begin();
  digest.Add(bytes.data(), bytes.size());
  digest.Finish();
  return digest.Text();
}

}  // namespace corvale::duplicates
