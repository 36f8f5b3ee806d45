// Printing the graphs: the printer chosen in page setup (kept for the rest
// of the run), the destination of a print, and the print itself on a
// printer or into a PDF file.
#pragma once

#include <QSize>
#include <optional>
#include <string>

#include "platform/prompter.h"

class QPagedPaintDevice;
class QPainter;

namespace vorel::ui {

class frmMain;

// Page setup's choice; nothing until page setup was confirmed once.
const std::optional<platform::PrinterSetup>& PrinterChoice();
void ForgetPrinterChoice();

// The platform's printer setup through the prompter, preset with the current
// choice. Confirming keeps the new choice for the run; cancelling changes nothing.
void RunPageSetup();

// Where the print command prints: page setup's choice, else the system's
// default printer; nothing when no printer is installed.
std::optional<platform::PrinterSetup> PrintDestination();

// A PDF file as the destination, on the paper of page setup's choice.
platform::PrinterSetup PdfDestination(const std::string& path);

// The screen's size in twips: the page's coordinate system is this large.
QSize ScreenTwips();

// Prints the graphs of PrintWindow, PaperType to a sheet. Open windows of
// `frame` print with their current colours, the others with the colours of
// the settings. A PDF file is written whole or not at all and a failed write
// is reported; a printer's failure ends quietly. True when printed.
bool PrintSelectedGraphs(const platform::PrinterSetup& destination, const frmMain* frame);

// The sheets on a device whose painter is active: the coordinate system of
// `screenTwips` over the whole page, then the graphs. False when a new page
// could not be started.
bool PaintGraphSheets(QPagedPaintDevice& device, QPainter& painter, const frmMain* frame, int printWindow,
                      int paperType, QSize screenTwips);

}  // namespace vorel::ui
