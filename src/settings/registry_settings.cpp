#include "settings/registry_settings.h"

#include <string>
#include <vector>

#include "platform/prompter.h"
#include "platform/registry_store.h"
#include "settings/load_checks.h"
#include "settings/param_store.h"
#include "settings/settings_file.h"
#include "settings/text_util.h"

namespace vorel::settings {
namespace {

constexpr char kWriteFailure[] = "レジストリの書き込みに失敗しました。";

const std::string* FindStored(const std::vector<platform::RegistryValue>& values, std::string_view name) {
  for (const auto& value : values)
    if (platform::SameRegistryName(value.name, name)) return &value.text;
  return nullptr;
}

// One change to the registry, repeated while the user answers Retry.
template <typename Change>
bool WithRetry(Change change) {
  while (!change())
    if (!platform::AskRetry(kWriteFailure)) return false;
  return true;
}

bool WriteValue(std::string_view name, std::string_view text) {
  return WithRetry([&] { return platform::RegistryWriteValue(kRegistrySection, name, text); });
}

}  // namespace

bool LoadParamsFromRegistry() {
  const std::vector<platform::RegistryValue> values = platform::RegistryListValues(kRegistrySection);
  for (const ParamDef& def : ParamDefinitions()) {
    const std::string_view key = def.key;
    if (!IsStoredParam(key)) continue;
    if (def.kind == ParamKind::TextList) {
      for (int i = 1; i <= def.listSize; ++i) {
        const std::string* stored = FindStored(values, std::string(key) + std::to_string(i));
        SetParamFromText(key, stored ? *stored : DefaultText(key, i), i);
      }
      continue;
    }
    const std::string* stored = FindStored(values, key);
    if (key == "FtpPassword") {
      LoadStoredPassword(stored ? *stored : "");
    } else if (!stored) {
      ApplyDefault(key);
    } else if (def.kind == ParamKind::Colour) {
      const std::string_view trimmed = TrimSpaces(*stored);
      if (IsUsableColourText(trimmed)) SetParamFromText(key, trimmed);
      else ApplyDefault(key);
    } else {
      // A value that does not convert leaves the parameter as it was.
      SetParamFromText(key, *stored);
    }
  }
  ApplyCommonRangeChecks();
  return !values.empty();
}

bool SaveParamsToRegistry() {
  for (const ParamDef& def : ParamDefinitions()) {
    const std::string_view key = def.key;
    // CheckLine is changed only by hand in the registry, so it is never overwritten.
    if (!IsStoredParam(key) || key == "CheckLine") continue;
    if (def.kind == ParamKind::TextList) {
      for (int i = 1; i <= def.listSize; ++i)
        if (!WriteValue(std::string(key) + std::to_string(i), ParamText(key, i))) return false;
      continue;
    }
    if (key == "FtpPassword") {
      bool ok = ParamFlag("FtpSavePassword")
                    ? WriteValue(key, ScramblePassword(ParamText(key)))
                    : WithRetry([&] { return platform::RegistryDeleteValue(kRegistrySection, key); });
      if (!ok) return false;
      continue;
    }
    if (!WriteValue(key, GetParam(key).ToText())) return false;
  }
  return true;
}

void DeleteRegistrySettings() { platform::RegistryDeleteKey(kRegistrySection); }

}  // namespace vorel::settings
