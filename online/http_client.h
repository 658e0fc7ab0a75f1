// FetchText: posts a form body to an address and returns the whole answer body as text, or ""
// on any failure. The one network operation of the program.
#pragma once

#include <atomic>
#include <cstddef>
#include <string>

namespace corvale::online {

struct FetchLimits {
  long connectSeconds = 10;  // giving up on a service that does not answer
  long totalSeconds = 30;
  // Set from another thread, it ends the request early (within a second or so).
  const std::atomic<bool>* cancelled = nullptr;
};

// Answers longer than this are no answer of the service: the request counts as failed.
inline constexpr std::size_t kMaxAnswerBytes = 1 << 20;

std::string FetchText(const std::string& address, const std::string& formBody = {},
                      const FetchLimits& limits = {});

// Valid UTF-8 stays; every invalid byte becomes U+FFFD. The text ends at its first NUL.
std::string CleanUtf8(std::string_view bytes);

}  // namespace corvale::online
