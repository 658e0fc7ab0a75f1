// One MD5 computation (RFC 1321) over OpenSSL's EVP interface: begin, add bytes, finish, and the
// digest as 32 lowercase hexadecimal digits.
#pragma once

#include <cstddef>
#include <string>

#include "resultlist/result_list.h"

struct evp_md_ctx_st;

namespace corvale::duplicates {

class Md5Digest {
 public:
  Md5Digest();
  ~Md5Digest();
  Md5Digest(const Md5Digest&) = delete;
  Md5Digest& operator=(const Md5Digest&) = delete;

  void Begin();
  void Add(const void* bytes, std::size_t length);
  void Finish();
  // "" until finished.
  const std::string& Text() const { return text_; }
  const resultlist::Digest& Bytes() const { return bytes_; }

 private:
  evp_md_ctx_st* context_;
  resultlist::Digest bytes_{};
  std::string text_;
};

// The digest of a whole byte string.
std::string Md5Text(const std::string& bytes);

}  // namespace corvale::duplicates
