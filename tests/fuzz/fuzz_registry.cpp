// The per-user store: list and read whatever the store file holds, then
// write a value into it.
#include <cstdint>

#include "fuzz_support.h"
#include "platform/registry_store.h"

using namespace vorel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::InstallQuietPrompter();
  static const bool folder = [] {
    platform::SetRegistryFolderForTesting(fuzz::ScratchFolder());
    return true;
  }();
  (void)folder;
  const std::string path = platform::RegistryStorePath();
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return 0;
  if (size > 0) std::fwrite(data, 1, size, f);
  std::fclose(f);
  const char* key = "Software\\VB and VBA Program Settings\\vorel\\Settings";
  for (const auto& value : platform::RegistryListValues(key)) platform::RegistryReadValue(key, value.name);
  platform::RegistryGetValue(key, "LogFile", "");
  platform::RegistryWriteValue(key, "LogFile", "C:\\logs\\access.log");
  platform::RegistryDeleteValue(key, "LogFile");
  return 0;
}
