// Japanese text on this machine: the Windows font names of the settings fall
// back to an installed Japanese font that has the program's characters.
#include <QFont>
#include <QFontInfo>
#include <QFontMetrics>

#include "ui/main/japanese_fonts.h"
#include "ui/ui_test_support.h"

namespace vorel::ui {
namespace {

TEST(JapaneseFontsTest, WindowsFontNamesFallBackToAnInstalledJapaneseFont) {
  const QString family = JapaneseFontFamily();
  if (family.isEmpty()) GTEST_SKIP() << "no Japanese font installed (scripts/install-deps installs fonts-noto-cjk)";
  const QFont before = QApplication::font();
  InstallJapaneseFonts();
  for (const char* name : {"ＭＳ Ｐゴシック", "MS PGothic", "ＭＳ ゴシック"}) {
    const QFont font(QString::fromUtf8(name), 9);
    EXPECT_TRUE(QFontInfo(font).family().contains(QStringLiteral("CJK")) ||
                QFontInfo(font).family().contains(QStringLiteral("Gothic")))
        << name << " -> " << QFontInfo(font).family().toStdString();
    const QFontMetrics metrics(font);
    for (QChar c : QStringLiteral("ＨＰアクセス解析月別"))
      EXPECT_TRUE(metrics.inFont(c)) << name;
  }
  EXPECT_TRUE(QApplication::font().families().contains(family));
  QApplication::setFont(before);
}

}  // namespace
}  // namespace vorel::ui
