// The program's start: switches, the companion module's version, the
// settings, the main window and the start-up actions the settings ask for.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace vorel::ui {

class frmMain;

struct StartupRequest {
  // The command line after the program's name, as one text.
  std::string arguments;
  // A log to analyse once the program has started (--analyse FILE).
  std::optional<std::string> analyseFile;
};

// Runs the start-up. Returns the shown main window, or null when the program
// ends at once: after /DELREGS, or after an error before the window was shown
// (reported as "Error: " + number + CR LF + description).
std::unique_ptr<frmMain> Main(const StartupRequest& request);

// The whole run of the desktop program: start-up, then the message loop
// until the main window closes. The exit status: 0 after a normal end or
// /DELREGS, 1 when start-up failed (its error message has been shown).
int RunProgram(const StartupRequest& request);

// The text of the start-up error message for an exception.
std::string StartupErrorText(const std::exception_ptr& error);

}  // namespace vorel::ui
