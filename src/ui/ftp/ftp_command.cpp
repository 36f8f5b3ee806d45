// The main window's FTP download command.
#include "ui/ftp/frm_ftp.h"
#include "ui/main/frm_main.h"

namespace vorel::ui {

void frmMain::mnuEditFtp_Click() {
  frmFtp dialog(this);
  dialog.exec();
  // The frame takes the keyboard focus back from the dialog.
  activateWindow();
}

}  // namespace vorel::ui
