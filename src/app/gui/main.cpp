// The desktop program vorel.
//   vorel [/USEFILE | /USEREGS | /DELREGS] [--analyse FILE]
#include <QApplication>
#include <string>

#include "app/gui/signal_ending.h"
#include "platform/qt/qt_prompter.h"
#include "platform/qt/qt_translations.h"
#include "ui/main/frm_main.h"
#include "ui/main/japanese_fonts.h"
#include "ui/main/startup_sequence.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("vorel"));
  QApplication::setDesktopFileName(QStringLiteral("vorel"));  // the menu entry's icon and name on Wayland
  vorel::ui::InstallJapaneseFonts();
  // Stock buttons and file dialogs in Japanese where the system has Qt's translations.
  vorel::platform::InstallJapaneseQtTexts();
  vorel::platform::QtPrompter prompter;
  vorel::platform::ScopedPrompter scoped(prompter);
  // SIGINT, SIGTERM and SIGHUP end the program in order, without leftover temporary files.
  vorel::gui::SignalEnding signalEnding;

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
