// The main window's page setup and print command.
#include "ui/main/frm_main.h"
#include "ui/print/frm_paper.h"
#include "ui/print/print_run.h"

namespace vorel::ui {

void frmMain::mnuFilePageSetup_Click() { RunPageSetup(); }

void frmMain::mnuFilePrint_Click() {
  try {
    frmPaper paper(this);
    paper.exec();
    if (paper.aapNextCancel()) {
      std::optional<platform::PrinterSetup> destination = PrintDestination();
      // Without any printer the graphs still get out, into a PDF file.
      if (!destination) {
        if (std::optional<std::string> path = ChooseFileToWrite("PDF ファイル (*.pdf)|*.pdf" VOREL_ALL_FILES_FILTER))
          destination = PdfDestination(*path);
      }
      if (destination) PrintSelectedGraphs(*destination, this);
    }
  } catch (...) {
    // A failure while printing ends the command quietly.
  }
  activateWindow();
}

}  // namespace vorel::ui
