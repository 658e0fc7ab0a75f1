// FetchText: posts a form body to an address and returns the whole answer body as text, or ""
// on any failure. The one network operation of the program.
#pragma once

#include <string>

namespace corvale::online {

struct FetchLimits {
  long connectSeconds = 10;  // giving up on a service that does not answer
  long totalSeconds = 30;
};

std::string FetchText(const std::string& address, const std::string& formBody = {},
                      const FetchLimits& limits = {});

// Valid UTF-8 stays; every invalid byte becomes U+FFFD. The text ends at its first NUL.
std::string CleanUtf8(std::string_view bytes);

}  // namespace corvale::online
