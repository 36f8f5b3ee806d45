// The main window's URL list command.
#include "ui/main/frm_main.h"

namespace vorel::ui {

void frmMain::mnuEditUrlList_Click() {}

}  // namespace vorel::ui
