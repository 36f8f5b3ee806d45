// Shared set-up for the settings tests: a program folder and a registry of
// their own, an empty parameter store and a scripted prompter.
#pragma once

#include <gtest/gtest.h>

#include <ctime>
#include <string>

#include "platform/paths.h"
#include "platform/prompter.h"
#include "platform/registry_store.h"
#include "platform/safe_file.h"
#include "settings/param_store.h"
#include "support/test_files.h"

namespace vorel::settings {

class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::SetProgramFolder(dir.path());
    platform::SetRegistryFolderForTesting(dir.File("config/vorel"));
    ClearParams();
  }
  void TearDown() override {
    platform::SetWriteFaultForTesting(nullptr);
    platform::SetRegistryWriteFaultForTesting(nullptr);
    platform::SetRegistryFolderForTesting("");
    platform::SetProgramFolder("");
    ClearParams();
  }

  // Today's date, read from the clock without the code under test.
  static std::string TodayText(bool firstOfMonth = false) {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return std::to_string(local.tm_year + 1900) + "/" + std::to_string(local.tm_mon + 1) + "/" +
           std::to_string(firstOfMonth ? 1 : local.tm_mday);
  }

  testing::TempDir dir;
  platform::ScriptedPrompter prompter;
  platform::ScopedPrompter scoped{prompter};
};

}  // namespace vorel::settings
