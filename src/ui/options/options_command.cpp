// The main window's options dialog command.
#include "ui/main/frm_main.h"

namespace vorel::ui {

void frmMain::mnuViewOptions_Click() {}

}  // namespace vorel::ui
