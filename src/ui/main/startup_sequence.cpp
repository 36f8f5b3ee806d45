#include "ui/main/startup_sequence.h"

#include <QApplication>
#include <chrono>
#include <new>
#include <stdexcept>
#include <system_error>

#include "analysis/class_lists.h"
#include "analysis/companion.h"
#include "platform/prompter.h"
#include "platform/qt/help_viewer.h"
#include "settings/param_store.h"
#include "settings/registry_settings.h"
#include "settings/settings_file.h"
#include "settings/startup.h"
#include "ui/ftp/frm_ftp.h"
#include "ui/main/frm_main.h"

namespace vorel::ui {
namespace {

void ShowStartupError(const std::exception_ptr& error) {
  platform::CurrentPrompter().ShowMessage({StartupErrorText(error), kProgramTitle, platform::MessageIcon::Error,
                                           platform::MessageButtons::Ok, platform::MessageAnswer::Ok});
}

std::string CompanionVersion() {
  char buffer[10];
  std::fill(std::begin(buffer), std::end(buffer), ' ');
  analysis::aa_get_version(buffer);
  std::string text(buffer, sizeof buffer);
  // The module fills what it needs; a NUL it wrote ends the text as well.
  if (const size_t nul = text.find('\0'); nul != std::string::npos) text.resize(nul);
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

}  // namespace

std::string StartupErrorText(const std::exception_ptr& error) {
  int number = 5;
  std::string description = "不明なエラーです。";
  try {
    std::rethrow_exception(error);
  } catch (const std::bad_alloc&) {
    number = 7;
    description = "メモリが不足しています。";
  } catch (const std::out_of_range& e) {
    number = 9;
    description = std::string("インデックスが有効範囲にありません。(") + e.what() + ")";
  } catch (const std::system_error& e) {
    number = e.code().value();
    description = e.code().message();
  } catch (const std::exception& e) {
    description = e.what();
  } catch (...) {
  }
  return "Error: " + std::to_string(number) + "\r\n" + description;
}

namespace {

// The start-up, telling a failure apart from an end after /DELREGS.
std::unique_ptr<frmMain> StartUp(const StartupRequest& request, bool& failed);

}  // namespace

std::unique_ptr<frmMain> Main(const StartupRequest& request) {
  bool failed = false;
  return StartUp(request, failed);
}

int RunProgram(const StartupRequest& request) {
  bool failed = false;
  const std::unique_ptr<frmMain> frame = StartUp(request, failed);
  if (!frame) return failed ? 1 : 0;
  return QApplication::exec();
}

namespace {

std::unique_ptr<frmMain> StartUp(const StartupRequest& request, bool& failed) {
  const settings::StartupFlags flags = settings::ParseCommandLine(request.arguments);
  if (flags.deleteSettings) {
    settings::DeleteRegistrySettings();
    platform::CurrentPrompter().ShowMessage({"レジストリ項目を削除しました。", "レジストリ削除",
                                             platform::MessageIcon::Information, platform::MessageButtons::Ok,
                                             platform::MessageAnswer::Ok});
    return nullptr;
  }

  std::unique_ptr<frmMain> frame;
  bool shown = false;
  try {
    settings::SetParam("DllVersion", CompanionVersion());
    frame = std::make_unique<frmMain>();
    platform::SetHelpFile(platform::DefaultHelpFilePath());
    settings::SeedPasswordRandom(
        static_cast<unsigned>(std::chrono::system_clock::now().time_since_epoch().count()));
    bool firstStart = false;
    if (flags.useSettingsFile) {
      firstStart = !settings::LoadParamsFromFile();
      frame->EnableRegistryExport(false);
    } else {
      firstStart = !settings::LoadParamsFromRegistry();
      frame->EnableRegistryExport(true);
    }
    frame->Form_Load();
    analysis::LoadClassLists();
    if (firstStart) frame->PlaceForFirstStart();
    else frame->resize(settings::ParamInt("MainWidth") / 15, settings::ParamInt("MainHeight") / 15);
    frame->show();
    shown = true;
    // Nothing saved yet to say where the windows go: side by side, none hidden.
    if (firstStart) frame->TileInGrid();
    if (settings::ParamFlag("AutoFtp")) {
      // The dialog's connect command, the dialog itself never shown.
      frmFtp ftp(frame.get());
      ftp.cmdConnect_Click();
    }
    if (settings::ParamFlag("AutoAnalize")) frame->mnuEditAnalize_Click(0);
    if (settings::ParamFlag("AutoMaxSize")) frame->showMaximized();
    if (settings::ParamFlag("AutoTile")) frame->mnuWindowTileHorizontal_Click();
    if (request.analyseFile) frame->AnalyseFile(*request.analyseFile);
  } catch (...) {
    ShowStartupError(std::current_exception());
    // A frame that was never shown is discarded and the program ends.
    if (!shown) {
      failed = true;
      return nullptr;
    }
  }
  return frame;
}

}  // namespace

}  // namespace vorel::ui
