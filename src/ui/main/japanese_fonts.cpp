#include "ui/main/japanese_fonts.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QStringList>

namespace vorel::ui {
namespace {

// Installed by scripts/install-deps (fonts-noto-cjk) or common on Debian.
const QStringList kProportional = {QStringLiteral("Noto Sans CJK JP"), QStringLiteral("IPAPGothic"),
                                   QStringLiteral("IPAexGothic"), QStringLiteral("TakaoPGothic"),
                                   QStringLiteral("VL PGothic")};
const QStringList kMonospace = {QStringLiteral("Noto Sans Mono CJK JP"), QStringLiteral("IPAGothic"),
                                QStringLiteral("TakaoGothic"), QStringLiteral("VL Gothic")};

// The Windows font names the settings may carry.
const QStringList kProportionalNames = {QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"),
                                        QStringLiteral("ＭＳ ＵＩ Gothic"), QStringLiteral("MS UI Gothic"),
                                        QStringLiteral("メイリオ"), QStringLiteral("Meiryo")};
const QStringList kMonospaceNames = {QStringLiteral("ＭＳ ゴシック"), QStringLiteral("MS Gothic")};

QStringList Installed(const QStringList& candidates) {
  const QStringList families = QFontDatabase::families();
  QStringList found;
  for (const QString& candidate : candidates)
    if (families.contains(candidate, Qt::CaseInsensitive)) found << candidate;
  return found;
}

}  // namespace

QString JapaneseFontFamily() {
  const QStringList found = Installed(kProportional);
  return found.isEmpty() ? QString() : found.first();
}

void InstallJapaneseFonts() {
  const QStringList proportional = Installed(kProportional);
  QStringList monospace = Installed(kMonospace);
  if (monospace.isEmpty()) monospace = proportional;
  for (const QString& name : kProportionalNames)
    if (!proportional.isEmpty()) QFont::insertSubstitutions(name, proportional);
  for (const QString& name : kMonospaceNames)
    if (!monospace.isEmpty()) QFont::insertSubstitutions(name, monospace);
  // Kanji drawn in Japanese forms, whatever the machine's locale prefers.
  if (!proportional.isEmpty()) {
    QFont font = QApplication::font();
    font.setFamilies(proportional);
    QApplication::setFont(font);
  }
}

}  // namespace vorel::ui
