#include "settings/settings_file.h"

#include <cstdlib>
#include <map>
#include <string_view>

#include "platform/codepage.h"
#include "platform/data_files.h"
#include "platform/paths.h"
#include "platform/safe_file.h"
#include "settings/load_checks.h"
#include "settings/param_store.h"
#include "settings/text_util.h"

namespace vorel::settings {
namespace {

constexpr char kProductName[] = "vorel";
constexpr char kWriteFailure[] = "設定ファイルの書き込みに失敗しました。";

// The file keeps only what differs from the defaults, except these.
bool IsAlwaysWritten(std::string_view key) {
  return key == "MainWidth" || key == "MainHeight" || key == "StartDate" || key == "EndDate" ||
         key == "FtpLocalFolder";
}

const ParamDef* FindStoredParamIgnoringCase(std::string_view name) {
  for (const ParamDef& def : ParamDefinitions())
    if (IsStoredParam(def.key) && EqualsIgnoreCase(def.key, name)) return &def;
  return nullptr;
}

// Defaults everywhere, except what the file never holds for sure: the FTP
// account (the password may be absent from the file) and the library's
// version, which start-up has already asked for.
void PutDefaultsInPlace() {
  static constexpr std::string_view kKept[] = {"FtpServerName", "FtpUserName", "FtpPassword", "FtpSavePassword",
                                               "DllVersion"};
  std::map<std::string_view, std::string> kept;
  for (std::string_view key : kKept) kept[key] = GetParam(key).ToText();
  ApplyDefaults();
  for (const auto& [key, text] : kept) SetParamFromText(key, text);
}

void ReadSettingLine(const ParamDef& def, std::string_view value, std::map<std::string_view, int>& listLines) {
  const std::string_view key = def.key;
  const std::string_view trimmed = TrimSpaces(value);
  switch (def.kind) {
    case ParamKind::TextList: {
      // The n-th line of a list key fills entry n; lines past the list's end are ignored.
      int entry = ++listLines[key];
      if (entry <= def.listSize) SetParamFromText(key, trimmed, entry);
      return;
    }
    case ParamKind::Colour:
      if (IsUsableColourText(trimmed)) SetParamFromText(key, trimmed);
      return;
    case ParamKind::Text:
      if (key == "FtpPassword") LoadStoredPassword(trimmed);
      else SetParamFromText(key, trimmed);
      return;
    case ParamKind::Date:
      SetParamFromText(key, trimmed);
      return;
    case ParamKind::Long:
      if (key == "MainWidth" || key == "MainHeight") {
        // A size is never negative, whatever was written by hand.
        if (auto number = ParseNumber(value)) SetParamFromText(key, std::to_string(std::llabs(*number)));
        return;
      }
      SetParamFromText(key, value);
      return;
    case ParamKind::Short:
    case ParamKind::Flag:
      SetParamFromText(key, value);
      return;
  }
}

void AppendLine(std::string& text, std::string_view key, std::string_view value) {
  text.append(key);
  text.push_back('=');
  text.append(value);
  text.append("\r\n");
}

std::string SettingsFileText() {
  std::string text = std::string("[") + kProductName + "]\r\n\r\n";
  for (const ParamDef& def : ParamDefinitions()) {
    const std::string_view key = def.key;
    if (!IsStoredParam(key)) continue;
    if (def.kind == ParamKind::TextList) {
      for (int i = 1; i <= def.listSize; ++i)
        if (std::string entry = ParamText(key, i); !entry.empty()) AppendLine(text, key, entry);
      continue;
    }
    if (key == "FtpPassword") {
      if (ParamFlag("FtpSavePassword")) AppendLine(text, key, ScramblePassword(ParamText(key)));
      continue;
    }
    const std::string value = GetParam(key).ToText();
    if (IsAlwaysWritten(key) || value != def.defaultText) AppendLine(text, key, value);
  }
  return text;
}

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// CP932 keeps the file readable by every other copy of the program; only a
// value that CP932 cannot carry (a path with "é", say) makes it UTF-8 with a
// byte-order mark, so that nothing is lost.
std::string SettingsFileBytes(const std::string& utf8) {
  std::string cp932 = platform::Utf8ToCp932(utf8);
  if (platform::Cp932ToUtf8(cp932) == utf8) return cp932;
  std::string bytes(kUtf8Mark);
  bytes += utf8;
  return bytes;
}

std::string SettingsText(std::string_view bytes) {
  if (bytes.substr(0, kUtf8Mark.size()) == kUtf8Mark) return std::string(bytes.substr(kUtf8Mark.size()));
  return platform::Cp932ToUtf8(bytes);
}

}  // namespace

std::string SettingsFilePath() { return platform::JoinPath(platform::SettingsFolder(), std::string(kProductName) + ".ini"); }

bool LoadParamsFromFile() { return LoadParamsFromFileAt(SettingsFilePath()); }

bool LoadParamsFromFileAt(const std::string& path) {
  PutDefaultsInPlace();
  std::string bytes;
  if (platform::ReadSmallFile(path, bytes) != platform::SmallFileProblem::None) return false;
  const std::string text = SettingsText(bytes);

  std::map<std::string_view, int> listLines;
  size_t start = 0;
  while (start < text.size()) {
    // A line ends at CR LF, LF or a lone CR.
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) end = text.size();
    std::string_view line = TrimLeadingSpaces(std::string_view(text).substr(start, end - start));
    start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);

    const size_t equals = line.find('=');
    if (equals == std::string_view::npos) continue;
    const ParamDef* def = FindStoredParamIgnoringCase(TrimSpaces(line.substr(0, equals)));
    if (!def) continue;
    ReadSettingLine(*def, line.substr(equals + 1), listLines);
  }
  ApplyCommonRangeChecks();
  ApplyFileRangeChecks();
  return true;
}

bool SaveParamsToFile() {
  platform::MakeSettingsFolder();
  return SaveParamsToFileAt(SettingsFilePath());
}

bool SaveParamsToFileAt(const std::string& path) {
  return platform::WriteFileSafely(path, SettingsFileBytes(SettingsFileText()),
                                   std::string(kWriteFailure) + "\r\n" + path);
}

}  // namespace vorel::settings
