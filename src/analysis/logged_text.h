// Texts as web servers log them. A server writes the bytes the visitor sent:
// raw, as \xHH escapes (nginx, Apache) or as the visitor's own %HH escapes,
// with \" and \\ inside quoted fields. Decoded once, every way of writing a
// text is the same text.
#pragma once

#include <string>
#include <string_view>

namespace vorel::analysis {

// Replaces `out` with the text of `logged`: the escapes \" and \\ unescaped,
// \xHH turned into its byte, and with `percents` %HH too; the bytes
// are then read as UTF-8 when they are well-formed UTF-8, otherwise as CP932.
void DecodeLoggedText(std::string_view logged, bool percents, std::string& out);

}  // namespace vorel::analysis
