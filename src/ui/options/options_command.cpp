// The main window's options dialog command.
#include "ui/main/frm_main.h"
#include "ui/options/frm_options.h"

namespace vorel::ui {

void frmMain::mnuViewOptions_Click() {
  {
    frmOptions dialog(this);
    dialog.exec();
  }
  activateWindow();
}

}  // namespace vorel::ui
