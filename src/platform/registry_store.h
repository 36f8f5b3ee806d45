// The per-user registry on this platform: one CP932 text file in the user's
// configuration folder ($XDG_CONFIG_HOME or ~/.config, then "vorel"), holding
// keys with their string values. Values are listed in the order they were
// first written; rewriting a value keeps its place. Every change rewrites the
// file through a temporary file and a rename while holding a lock, so a crash
// never leaves a broken store and two programs saving at once never mix it.
// Key paths and value names compare without regard to ASCII letter case.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry_text.h"

namespace vorel::platform {

// The folder and file of the store.
std::string RegistryFolder();
std::string RegistryStorePath();

// Tests give the store a folder of their own; an empty text restores the
// user's configuration folder.
void SetRegistryFolderForTesting(std::string folder);
// Test hook: asked before each change (with the value name, or the key path
// for a key deletion); true makes that change fail as if the disk were full.
void SetRegistryWriteFaultForTesting(std::function<bool(std::string_view name)> fault);

// Reading never fails: a missing or unreadable store reads as empty.
std::optional<std::string> RegistryReadValue(std::string_view key, std::string_view name);
std::string RegistryGetValue(std::string_view key, std::string_view name, std::string_view defaultText);
// The key's values in first-written order; empty when the key does not exist.
std::vector<RegistryValue> RegistryListValues(std::string_view key);

// Changes; false when the store could not be written (it is then unchanged).
bool RegistryWriteValue(std::string_view key, std::string_view name, std::string_view text);
// A missing value or key is no error.
bool RegistryDeleteValue(std::string_view key, std::string_view name);
// Removes the key with all its values and every key below it.
bool RegistryDeleteKey(std::string_view key);

}  // namespace vorel::platform
