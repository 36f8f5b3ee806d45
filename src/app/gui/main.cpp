// The desktop program vorel.
//   vorel [/USEFILE | /USEREGS | /DELREGS] [--analyse FILE]
#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <memory>
#include <string>

#include "platform/qt/qt_prompter.h"
#include "ui/main/frm_main.h"
#include "ui/main/japanese_fonts.h"
#include "ui/main/startup_sequence.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("vorel"));
  QApplication::setDesktopFileName(QStringLiteral("vorel"));  // the menu entry's icon and name on Wayland
  vorel::ui::InstallJapaneseFonts();
  // Qt's own texts (standard buttons, file and print dialogs) in Japanese like the rest.
  QTranslator qtTexts;
  if (qtTexts.load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QApplication::installTranslator(&qtTexts);
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

  std::unique_ptr<vorel::ui::frmMain> frame = vorel::ui::Main(request);
  if (!frame) return 0;
  return QApplication::exec();
}
