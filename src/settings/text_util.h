// Small text helpers shared by the settings and the analysis engine (UTF-8 text).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vorel::settings {

// Removes ASCII spaces (not tabs) from both ends, as the stored settings expect.
std::string_view TrimSpaces(std::string_view text);
std::string_view TrimLeadingSpaces(std::string_view text);

// ASCII-only case folding, for key names.
bool EqualsIgnoreCase(std::string_view a, std::string_view b);
std::string ToUpperAscii(std::string_view text);

// The value of a hexadecimal digit (either case), or -1.
int HexDigitValue(char c);

// Unicode simple lower-casing of ASCII, full-width Latin, Latin-1, Greek and
// Cyrillic capitals; every other character is copied unchanged.
std::string ToLowerText(std::string_view utf8);

// A whole number written in decimal, with optional spaces and sign; a decimal
// fraction is rounded half to even. Nothing when the text is no number or
// does not fit in 64 bits.
std::optional<long long> ParseNumber(std::string_view text);

}  // namespace vorel::settings
