#include "platform/utf8.h"

namespace corvale::platform {

CodePoint DecodeUtf8At(std::string_view text, std::size_t at) {
  constexpr CodePoint kInvalid{0xFFFD, 1, false};
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[at + k]); };
  const unsigned char lead = byte(0);
  if (lead < 0x80) return {lead, 1, true};
  const std::size_t length = lead >= 0xC2 && lead < 0xE0    ? 2
                             : lead >= 0xE0 && lead < 0xF0  ? 3
                             : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                            : 0;
  if (length == 0 || at + length > text.size()) return kInvalid;
  char32_t value = lead & (length == 2 ? 0x1F : length == 3 ? 0x0F : 0x07);
  for (std::size_t k = 1; k < length; ++k) {
    if ((byte(k) & 0xC0) != 0x80) return kInvalid;
    value = (value << 6) | (byte(k) & 0x3F);
  }
  const bool overlong = (length == 3 && value < 0x800) || (length == 4 && value < 0x10000);
  if (overlong || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return kInvalid;
  return {value, length, true};
}

}  // namespace corvale::platform
