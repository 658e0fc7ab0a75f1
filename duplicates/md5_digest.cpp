#include "duplicates/md5_digest.h"

#include <openssl/evp.h>

namespace corvale::duplicates {

Md5Digest::Md5Digest() : context_(EVP_MD_CTX_new()) {}

Md5Digest::~Md5Digest() { EVP_MD_CTX_free(context_); }

void Md5Digest::Begin() {
  EVP_DigestInit_ex(context_, EVP_md5(), nullptr);
  bytes_ = {};
  text_.clear();
}

void Md5Digest::Add(const void* bytes, std::size_t length) {
  if (length > 0) EVP_DigestUpdate(context_, bytes, length);
}

void Md5Digest::Finish() {
  unsigned int length = 0;
  EVP_DigestFinal_ex(context_, bytes_.data(), &length);
  text_ = resultlist::DigestText(bytes_);
}

std::string Md5Text(const std::string& bytes) {
  Md5Digest digest;
  digest.Begin();
  digest.Add(bytes.data(), bytes.size());
  digest.Finish();
  return digest.Text();
}

}  // namespace corvale::duplicates
