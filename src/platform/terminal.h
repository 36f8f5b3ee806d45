// Text for the user's terminal: its encoding is taken from the locale.
#pragma once

#include <string>
#include <string_view>

namespace vorel::platform {

// Converts UTF-8 text to the encoding of the terminal's locale (UTF-8 text is
// returned unchanged when the locale is UTF-8 or unknown).
std::string ToTerminalEncoding(std::string_view utf8);

}  // namespace vorel::platform
