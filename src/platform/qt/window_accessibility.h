// Windows built on a plain QWidget (the help window, the progress window)
// are otherwise read by assistive technology as an anonymous filler.
#pragma once

class QWidget;

namespace vorel::platform {

// Has `window` read as a window, or as a dialog for a Qt::Dialog, by its title.
void ReadAsWindow(QWidget* window);

}  // namespace vorel::platform
