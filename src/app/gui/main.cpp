// The desktop program vorel.
//   vorel [/USEFILE | /USEREGS | /DELREGS] [--analyse FILE]
//   vorel --help | --version
#include <QApplication>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/qt/qt_prompter.h"
#include "platform/qt/qt_translations.h"
#include "ui/main/frm_main.h"
#include "ui/main/japanese_fonts.h"
#include "ui/main/startup_sequence.h"

namespace {

constexpr const char* kUsage =
    "使い方: vorel [/USEFILE | /USEREGS | /DELREGS] [--analyse ファイル]\n"
    "ＨＰアクセス解析: ホームページのアクセスログを解析し、グラフで表示します。\n"
    "\n"
    "  /USEFILE          設定を設定ファイル vorel.ini に置きます（既定）。\n"
    "  /USEREGS          設定をユーザーごとの保存場所（~/.config/vorel）に置きます。\n"
    "  /DELREGS          ユーザーごとの保存場所の設定を消して終わります。\n"
    "  --analyse ファイル  起動してすぐにこのログを解析します（日付、ページの指定なし）。\n"
    "  -h, --help        この説明を表示します。\n"
    "      --version     版を表示します。\n"
    "\n"
    "画面なしでレポートを作るには vorel-report を使います。\n";

// --help and --version answer on standard output without opening a window,
// so they work where there is no display as well.
bool AnswersAlone(int argc, char** argv, int& status) {
  for (int i = 1; i < argc; ++i) {
    const char* text = nullptr;
    std::string version;
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      text = kUsage;
    } else if (std::strcmp(argv[i], "--version") == 0) {
      // As the About box writes it: the minor version in two digits.
      char number[32];
      std::snprintf(number, sizeof number, "%d.%02d", VOREL_VERSION_MAJOR, VOREL_VERSION_MINOR);
      version = std::string("vorel ") + number + " (Build: " VOREL_BUILD_NUMBER ")\n";
      text = version.c_str();
    } else if (std::strcmp(argv[i], "--analyse") == 0) {
      ++i;  // a log may be called --help
      continue;
    } else {
      continue;
    }
    status = std::fputs(text, stdout) >= 0 && std::fflush(stdout) == 0 ? 0 : 1;
    return true;
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (int status = 0; AnswersAlone(argc, argv, status)) return status;
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("vorel"));
  QApplication::setDesktopFileName(QStringLiteral("vorel"));  // the menu entry's icon and name on Wayland
  vorel::ui::InstallJapaneseFonts();
  // Stock buttons and file dialogs in Japanese where the system has Qt's translations.
  vorel::platform::InstallJapaneseQtTexts();
  vorel::platform::QtPrompter prompter;
  vorel::platform::ScopedPrompter scoped(prompter);

  // The switches are read from the text after the program's name; --analyse
  // FILE is taken out first so that a path with spaces stays whole.
  vorel::ui::StartupRequest request;
  const QStringList arguments = QApplication::arguments();
  for (qsizetype i = 1; i < arguments.size(); ++i) {
    if (arguments[i] == QLatin1String("--analyse") && i + 1 < arguments.size()) {
      request.analyseFile = arguments[++i].toStdString();
      continue;
    }
    if (!request.arguments.empty()) request.arguments += ' ';
    request.arguments += arguments[i].toStdString();
  }

  return vorel::ui::RunProgram(request);
}
