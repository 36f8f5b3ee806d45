#include "platform/data_files.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "platform/paths.h"
#include "platform/prompter.h"
#include "platform/safe_file.h"

#ifndef VOREL_DATA_FROM_BIN
#define VOREL_DATA_FROM_BIN "../share/vorel"
#endif

namespace vorel::platform {
namespace {

constexpr char kClassFileName[] = "vorel.dat";

bool KeepsFilesBesideProgram() {
  if (IsInstalledProgram()) return false;
  return ::access(ProgramFolder().c_str(), W_OK) == 0;
}

}  // namespace

std::string InstalledDataFolder() {
  std::filesystem::path folder(JoinPath(ProgramFolder(), VOREL_DATA_FROM_BIN));
  std::string normal = folder.lexically_normal().string();
  if (normal.size() > 1 && normal.back() == '/') normal.pop_back();
  return normal;
}

bool IsInstalledProgram() {
  return !FileExists(JoinPath(ProgramFolder(), kClassFileName)) && FolderExists(InstalledDataFolder());
}

std::string UserSettingsFolder() { return JoinPath(UserConfigFolder(), "vorel"); }

std::string SettingsFolder() {
  if (KeepsFilesBesideProgram()) return ProgramFolder();
  return UserSettingsFolder();
}

// Only a write makes the folder: reading settings leaves no empty folder behind.
void MakeSettingsFolder() {
  if (!KeepsFilesBesideProgram()) MakeFolders(UserSettingsFolder());  // a failure shows when the file is written
}

std::string DocumentFolder() {
  if (KeepsFilesBesideProgram()) return ProgramFolder();
  if (const char* home = std::getenv("HOME"); home && home[0] == '/') return home;
  if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir && pw->pw_dir[0] == '/') return pw->pw_dir;
  return SettingsFolder();
}

std::string ShippedFilePath(std::string_view name) {
  const std::string beside = JoinPath(ProgramFolder(), name);
  if (FileExists(beside)) return beside;
  const std::string installed = JoinPath(InstalledDataFolder(), name);
  if (FileExists(installed)) return installed;
  return beside;
}

std::string ClassificationFileToLoad() {
  const std::string own = JoinPath(SettingsFolder(), kClassFileName);
  return FileExists(own) ? own : ShippedFilePath(kClassFileName);
}

std::string EditableClassificationFile() {
  const std::string own = JoinPath(SettingsFolder(), kClassFileName);
  if (FileExists(own)) return own;
  const std::string shipped = ShippedFilePath(kClassFileName);
  if (shipped == own || !FileExists(shipped)) return own;  // the editor starts a new file
  std::string bytes;
  if (!ReadWholeFile(shipped, bytes)) {
    ShowError("解析情報ファイルの読み込みに失敗しました。\r\n" + shipped);
    return {};
  }
  MakeSettingsFolder();
  if (!WriteFileSafely(own, bytes, "解析情報ファイルの書き込みに失敗しました。\r\n" + own)) return {};
  return own;
}

}  // namespace vorel::platform
