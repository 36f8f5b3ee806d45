#include "settings/load_checks.h"

#include <climits>
#include <string>

#include "platform/codepage.h"
#include "settings/param_store.h"
#include "settings/settings_file.h"

namespace vorel::settings {
namespace {

void ReplaceOutside(std::string_view key, long low, long high, int replacement) {
  const long value = ParamInt(key);
  if (value < low || value > high) SetParamFromText(key, std::to_string(replacement));
}

}  // namespace

bool IsStoredParam(std::string_view key) { return key != "FtpSavePassword" && key != "DllVersion"; }

void LoadStoredPassword(std::string_view stored) {
  std::string password;
  if (platform::Utf8Length(stored) == 60) password = UnscramblePassword(std::string(stored));
  SetParamFromText("FtpPassword", password);
  SetParamFromText("FtpSavePassword", password.empty() ? "False" : "True");
}

bool IsUsableColourText(std::string_view text) { return platform::Utf8Length(text) == 9; }

void ApplyCommonRangeChecks() {
  ReplaceOutside("VisibleWindow", 0, 8191, 8191);
  ReplaceOutside("RobotMode", 0, 2, 1);
  ReplaceOutside("MaxDisp", 1, 999, 25);
  ReplaceOutside("CheckLine", 200, LONG_MAX, 200);
}

void ApplyFileRangeChecks() {
  ReplaceOutside("FontSize", 1, 99, 9);
  ReplaceOutside("GraphPattern", 0, 7, 1);
  ReplaceOutside("PrintWindow", 0, 4095, 4095);
  ReplaceOutside("PaperType", 0, 2, 0);
}

}  // namespace vorel::settings
