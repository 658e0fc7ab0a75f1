// Decoding the program's UTF-8 texts one code point at a time, for the places that must turn
// arbitrary bytes (file names, network answers) into valid text.
#pragma once

#include <cstddef>
#include <string_view>

namespace corvale::platform {

struct CodePoint {
  char32_t value;      // U+FFFD where the bytes are not valid UTF-8
  std::size_t length;  // bytes taken; 1 for an invalid byte
  bool valid;
};

// The code point that starts at text[at]; overlong forms, surrogates and values beyond
// U+10FFFF are invalid.
CodePoint DecodeUtf8At(std::string_view text, std::size_t at);

}  // namespace corvale::platform
