// Text and address helpers of the online part: the text between two markers, and the host, port
// and path of an address.
#pragma once

#include <string>
#include <string_view>

namespace corvale::online {

// The text after the first left marker (from start) up to the next right marker; "" when either
// is missing. In both markers "#引号" stands for a double quote.
std::string TextBetween(std::string_view text, std::string left, std::string right,
                        std::size_t start = 0, bool ignoreCase = false);

// The host of an address, lower-cased; with keepPort its ":port" stays.
std::string UrlHost(std::string_view address, bool keepPort = false);
// The port named after the host, else 443 for "https" addresses and 80 for all others.
int UrlPort(std::string_view address);
// The path with its query as the address spells it, "/" when there is none.
std::string UrlPath(std::string_view address);

std::string LowerAscii(std::string_view text);

}  // namespace corvale::online
