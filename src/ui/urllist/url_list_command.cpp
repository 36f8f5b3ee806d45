// The main window's URL list command.
#include "ui/main/frm_main.h"
#include "ui/urllist/frm_url.h"

namespace vorel::ui {

void frmMain::mnuEditUrlList_Click() {
  // Modal: no analysis can change the result while the list shows it.
  frmUrl form(this);
  form.exec();
  // The keyboard goes back to the frame, not to whatever window was last active.
  activateWindow();
}

}  // namespace vorel::ui
