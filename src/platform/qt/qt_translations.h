// Qt's own texts (the stock buttons of message boxes, the file dialogs) in
// Japanese, from the translations the system carries.
#pragma once

#include <QString>

namespace vorel::platform {

// The folder where Qt looks for its translations.
QString QtTranslationsFolder();

// Loads Qt's Japanese texts from the folder into the application. False,
// and the English texts stay, when they are not there.
bool InstallJapaneseQtTexts(const QString& folder = QtTranslationsFolder());

}  // namespace vorel::platform
