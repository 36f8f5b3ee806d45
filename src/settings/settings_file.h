// The settings file "vorel.ini" beside the program, and the scrambled form of
// the FTP password kept in it.
#pragma once

#include <string>

namespace vorel::settings {

// The settings file's path: "vorel.ini" in the settings folder (beside the
// program, or per user when the program is installed).
std::string SettingsFilePath();

// Puts every default in place, then reads the settings file (CP932, or UTF-8
// when it begins with a byte-order mark) over them. False when the file could
// not be read: missing, not a regular file, or larger than 16 MiB (every
// parameter then holds its default).
bool LoadParamsFromFile();
bool LoadParamsFromFileAt(const std::string& path);

// Rewrites the settings file from the store (CR LF), through a temporary
// file; Retry/Cancel on failure. False when the user gave up. The file is
// CP932 unless a value holds a character CP932 lacks; then it is UTF-8 with a
// byte-order mark.
bool SaveParamsToFile();
bool SaveParamsToFileAt(const std::string& path);

// The 60-digit stored form of a password; empty when it cannot be scrambled.
std::string ScramblePassword(const std::string& password);
// The password, or empty when the stored form does not check out.
std::string UnscramblePassword(const std::string& stored);

// Seeds the generator the scrambling draws from (from the clock at start-up).
void SeedPasswordRandom(unsigned seed);

}  // namespace vorel::settings
