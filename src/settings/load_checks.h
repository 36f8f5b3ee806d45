// Checks that both settings loaders (settings file and registry) apply to the
// values they read.
#pragma once

#include <string_view>

namespace vorel::settings {

// FtpSavePassword and DllVersion are never stored.
bool IsStoredParam(std::string_view key);

// A stored password form of exactly 60 characters is unscrambled, and
// FtpSavePassword says whether a password came out of it; any other form
// loads as an empty password that is not kept.
void LoadStoredPassword(std::string_view stored);

// A colour text is taken only when it is nine characters long.
bool IsUsableColourText(std::string_view text);

// VisibleWindow outside 0..8191, MaxDisp outside 1..999, CheckLine below 200
// and RobotMode outside 0..2 are replaced; both loaders check these.
void ApplyCommonRangeChecks();
// FontSize, GraphPattern, PrintWindow and PaperType: only the settings file
// is checked for these.
void ApplyFileRangeChecks();

}  // namespace vorel::settings
