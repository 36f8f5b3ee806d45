// Japanese text on machines without the Windows fonts: the font names the
// settings use ("ＭＳ Ｐゴシック" by default) are mapped to an installed
// Japanese font, and the interface uses one as well.
#pragma once

#include <QString>

namespace vorel::ui {

// The installed Japanese font family the program falls back to; empty when none is installed.
QString JapaneseFontFamily();

// Adds the substitutions and sets the application's font family. Needs a QApplication.
void InstallJapaneseFonts();

}  // namespace vorel::ui
