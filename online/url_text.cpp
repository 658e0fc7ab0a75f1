#include "online/url_text.h"

namespace corvale::online {
namespace {

void ReplaceAll(std::string& text, std::string_view from, std::string_view to) {
  for (std::size_t at = text.find(from); at != std::string::npos;
       at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
}

std::size_t Find(std::string_view text, std::string_view what, std::size_t from, bool ignoreCase) {
  if (!ignoreCase) return text.find(what, from);
  return LowerAscii(text).find(LowerAscii(what), from);
}

}  // namespace

std::string LowerAscii(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  }
  return lower;
}

std::string TextBetween(std::string_view text, std::string left, std::string right,
                        std::size_t start, bool ignoreCase) {
  ReplaceAll(left, "#引号", "\"");
  ReplaceAll(right, "#引号", "\"");
  const std::size_t at = Find(text, left, start, ignoreCase);
  if (at == std::string_view::npos) return {};
  const std::size_t begin = at + left.size();
  const std::size_t end = Find(text, right, begin, ignoreCase);
  if (end == std::string_view::npos) return {};
  return std::string(text.substr(begin, end - begin));
}

std::string UrlHost(std::string_view address, bool keepPort) {
  std::string lower = LowerAscii(address);
  if (lower.empty() || lower.back() != '/') lower += '/';
  std::string left = "http://";
  if (lower.starts_with("https://")) {
    left = "https://";
  } else if (lower.find("http://") == std::string::npos) {
    lower = "http://" + lower;
  }
  std::string host = TextBetween(lower, left, "/");
  if (!keepPort) host = host.substr(0, host.find(':'));
  return host;
}

int UrlPort(std::string_view address) {
  const std::string host = UrlHost(address, true);
  const auto colon = host.rfind(':');
  if (colon != std::string::npos) {
    int port = 0;
    for (std::size_t i = colon + 1; i < host.size() && host[i] >= '0' && host[i] <= '9'; ++i) {
      port = port * 10 + (host[i] - '0');
      if (port > 65535) break;
    }
    return port;
  }
  return LowerAscii(address.substr(0, 5)) == "https" ? 443 : 80;
}

std::string UrlPath(std::string_view address) {
  const std::string host = UrlHost(address);
  const std::size_t at = Find(address, host, 0, true);
  if (at == std::string_view::npos) return "/";
  const std::size_t slash = address.find('/', at);
  return slash == std::string_view::npos ? "/" : std::string(address.substr(slash));
}

}  // namespace corvale::online
