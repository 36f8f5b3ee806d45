// The desktop program's prompter: real message boxes and file, colour and
// font dialogs, owned by whichever window of the program is active.
#pragma once

#include <QString>

#include "platform/prompter.h"

namespace vorel::platform {

class QtPrompter : public Prompter {
 public:
  MessageAnswer ShowMessage(const MessageRequest& request) override;
  std::optional<std::string> ChooseFile(const FileDialogRequest& request) override;
  std::optional<uint32_t> ChooseColor(uint32_t initial) override;
  std::optional<FontChoice> ChooseFont(const FontChoice& initial) override;
  std::optional<std::string> ChooseFolder(const FolderDialogRequest& request) override;
  // Qt's print dialog (qt_prompter_printer.cpp).
  std::optional<PrinterSetup> SetupPrinter(const PrinterSetup& current) override;
};

// "desc|pattern|desc|pattern…" (patterns separated by ";") as a Qt filter
// list: "desc (pattern pattern);;…". A description that already ends with
// its patterns in parentheses keeps them only once.
QString QtFileFilter(const std::string& filter);

// The program's messages use CR LF; a label wants LF.
QString MessageText(const std::string& text);

}  // namespace vorel::platform
