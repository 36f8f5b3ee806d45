// The main window's page setup and print command.
#include "ui/main/frm_main.h"

namespace vorel::ui {

void frmMain::mnuFilePageSetup_Click() {}
void frmMain::mnuFilePrint_Click() {}

}  // namespace vorel::ui
