#include "ui/urllist/url_check.h"

#include <array>

namespace vorel::ui {
namespace {

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    char c = text[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != prefix[i]) return false;
  }
  return true;
}

// The length of the accepted scheme with its "://", or 0.
size_t SchemeLength(std::string_view text) {
  for (std::string_view scheme : {"http://", "https://", "ftp://"})
    if (StartsWithNoCase(text, scheme)) return scheme.size();
  return 0;
}

bool IsControl(unsigned char c) { return c < 0x20 || c == 0x7F; }

bool NeedsEncoding(unsigned char c) {
  switch (c) {
    case ' ': case '"': case '<': case '>': case '\\': case '^': case '`': case '{': case '|': case '}':
      return true;
    default:
      return false;
  }
}

}  // namespace

std::optional<std::string> OpenableUrl(std::string_view referrer) {
  const size_t scheme = SchemeLength(referrer);
  if (scheme == 0) return std::nullopt;
  // The host: something before the path, query or fragment begins.
  if (scheme == referrer.size()) return std::nullopt;
  const char first = referrer[scheme];
  if (first == '/' || first == '?' || first == '#' || first == '\\' || first == ' ') return std::nullopt;

  static constexpr std::array<char, 16> kHex = {'0', '1', '2', '3', '4', '5', '6', '7',
                                                '8', '9', 'A', 'B', 'C', 'D', 'E', 'F'};
  // The scheme in lower case: handlers are registered under that spelling.
  std::string url;
  url.reserve(referrer.size());
  for (char ch : referrer.substr(0, scheme)) url += (ch >= 'A' && ch <= 'Z') ? static_cast<char>(ch - 'A' + 'a') : ch;
  for (char ch : referrer.substr(scheme)) {
    const auto c = static_cast<unsigned char>(ch);
    if (IsControl(c)) return std::nullopt;
    if (NeedsEncoding(c)) {
      url += '%';
      url += kHex[c >> 4];
      url += kHex[c & 0x0F];
    } else {
      url += ch;
    }
  }
  return url;
}

}  // namespace vorel::ui
