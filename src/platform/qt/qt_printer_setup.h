// The printer choice (PrinterSetup, free of any toolkit) to and from a QPrinter.
#pragma once

#include <QPageSize>
#include <string>

#include "platform/prompter.h"

class QPrinter;

namespace vorel::platform {

// A paper by its key ("A4", "Letter"); an unknown or empty key gives an invalid size.
QPageSize PageSizeFromName(const std::string& name);

// Presets a printer with a choice: the named printer, or PDF output to the
// file when no printer is named; paper and orientation.
void ApplyPrinterSetup(QPrinter& printer, const PrinterSetup& setup);
PrinterSetup PrinterSetupOf(const QPrinter& printer);

}  // namespace vorel::platform
