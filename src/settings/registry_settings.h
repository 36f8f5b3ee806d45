// The settings kept in the per-user registry store (switch /USEREGS), and the
// export of that store to a "REGEDIT4" file.
#pragma once

#include <string>

namespace vorel::settings {

// The registry section of the program's settings.
inline constexpr const char* kRegistrySection = "Software\\VB and VBA Program Settings\\Palvern Company\\vorel";

// Loads every stored parameter; false when the store holds no settings yet.
bool LoadParamsFromRegistry();
bool SaveParamsToRegistry();
void DeleteRegistrySettings();

bool ExportRegFile(const std::string& path);
std::string EscapeRegText(const std::string& text);

}  // namespace vorel::settings
