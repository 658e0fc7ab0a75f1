#include "online/http_client.h"

#include <curl/curl.h>

#include <mutex>

#include "online/url_text.h"
#include "platform/utf8.h"

namespace corvale::online {
namespace {

constexpr const char* kUserAgent = "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";

std::size_t Append(char* data, std::size_t size, std::size_t count, void* answer) {
  auto* text = static_cast<std::string*>(answer);
  if (text->size() + size * count > kMaxAnswerBytes) return 0;  // curl then fails the request
  text->append(data, size * count);
  return size * count;
}

int Progress(void* cancelled, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
  return cancelled && static_cast<const std::atomic<bool>*>(cancelled)->load() ? 1 : 0;
}

}  // namespace

std::string CleanUtf8(std::string_view bytes) {
  bytes = bytes.substr(0, bytes.find('\0'));
  std::string text;
  text.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size();) {
    const platform::CodePoint c = platform::DecodeUtf8At(bytes, i);
    if (c.valid) {
      text.append(bytes.substr(i, c.length));
    } else {
      text += "\xEF\xBF\xBD";
    }
    i += c.length;
  }
  return text;
}

std::string FetchText(const std::string& address, const std::string& formBody,
                      const FetchLimits& limits) {
  static std::once_flag curlReady;
  std::call_once(curlReady, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });

  const bool secure = LowerAscii(address.substr(0, 8)) == "https://";
  const std::string url = std::string(secure ? "https://" : "http://") + UrlHost(address) + ":" +
                          std::to_string(UrlPort(address)) + UrlPath(address);
  CURL* curl = curl_easy_init();
  if (!curl) return {};
  curl_slist* headers = nullptr;
  for (const std::string& line :
       {std::string("Accept: */*"), "Referer: " + address, std::string("Accept-Language: zh-cn"),
        std::string("Content-Type: application/x-www-form-urlencoded")}) {
    headers = curl_slist_append(headers, line.c_str());
  }
  std::string answer;
  curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
  curl_easy_setopt(curl, CURLOPT_USERAGENT, kUserAgent);
  curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
  curl_easy_setopt(curl, CURLOPT_POST, 1L);
  curl_easy_setopt(curl, CURLOPT_POSTFIELDS, formBody.c_str());
  curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE, long(formBody.size()));
  curl_easy_setopt(curl, CURLOPT_PROXY, "");  // a direct connection, as the program asks for
  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, limits.connectSeconds);
  curl_easy_setopt(curl, CURLOPT_TIMEOUT, limits.totalSeconds);
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl, CURLOPT_HTTP_VERSION,
                   long(CURL_HTTP_VERSION_1_1));  // as the service expects
  curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, Progress);
  curl_easy_setopt(curl, CURLOPT_XFERINFODATA, limits.cancelled);
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, Append);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &answer);
  // The status is not examined: the body of any answer, an error page included, is the text.
  const CURLcode result = curl_easy_perform(curl);
  curl_slist_free_all(headers);
  curl_easy_cleanup(curl);
  if (result != CURLE_OK) return {};
  return CleanUtf8(answer);
}

}  // namespace corvale::online
