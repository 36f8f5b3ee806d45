// The main window's FTP download command.
#include "ui/main/frm_main.h"

namespace vorel::ui {

void frmMain::mnuEditFtp_Click() {}

}  // namespace vorel::ui
