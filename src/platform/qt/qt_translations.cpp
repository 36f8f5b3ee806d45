#include "platform/qt/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace vorel::platform {

QString QtTranslationsFolder() { return QLibraryInfo::path(QLibraryInfo::TranslationsPath); }

bool InstallJapaneseQtTexts(const QString& folder) {
  auto* translator = new QTranslator(QCoreApplication::instance());
  // qtbase holds the dialogs and buttons of the widgets.
  if (!translator->load(QStringLiteral("qtbase_ja"), folder) || !QCoreApplication::installTranslator(translator)) {
    delete translator;
    return false;
  }
  return true;
}

}  // namespace vorel::platform
