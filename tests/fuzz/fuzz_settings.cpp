// The settings file: read whatever the file holds, then write it back.
#include <cstdint>

#include "fuzz_support.h"
#include "settings/param_store.h"
#include "settings/settings_file.h"

using namespace vorel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::InstallQuietPrompter();
  settings::ClearParams();
  settings::ApplyDefaults();
  const std::string path = fuzz::WriteScratch("vorel.ini", data, size);
  if (settings::LoadParamsFromFileAt(path)) settings::SaveParamsToFileAt(fuzz::ScratchFile("saved.ini"));
  return 0;
}
