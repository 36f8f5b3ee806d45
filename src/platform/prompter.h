// Every question the program asks the user goes through one Prompter: message
// boxes, file dialogs, colour and font choosers. The desktop program installs
// one that shows real dialogs; tests and vorel-report install scripted ones.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vorel::platform {

enum class MessageIcon { None, Error, Warning, Question, Information };
enum class MessageButtons { Ok, RetryCancel, YesNo };
enum class MessageAnswer { Ok, Retry, Cancel, Yes, No };

struct MessageRequest {
  std::string text;
  std::string title;
  MessageIcon icon = MessageIcon::None;
  MessageButtons buttons = MessageButtons::Ok;
  MessageAnswer defaultAnswer = MessageAnswer::Ok;
};

struct FileDialogRequest {
  bool save = false;
  std::string title;
  // Filters as "description|pattern|description|pattern…", first one selected.
  std::string filter;
  std::string initialPath;
};

struct FontChoice {
  std::string name;
  int size = 9;
};

struct FolderDialogRequest {
  std::string title;
  std::string initialPath;
};

// The printer chosen in page setup, in terms free of any toolkit. An empty
// printer name with an output file means printing to a PDF file.
struct PrinterSetup {
  std::string printerName;
  std::string outputFile;
  std::string paperName;  // "A4", "Letter", …; empty: the printer's default
  bool landscape = false;
};

class Prompter {
 public:
  virtual ~Prompter() = default;
  virtual MessageAnswer ShowMessage(const MessageRequest& request) = 0;
  // The chosen path, or nothing when the user cancelled.
  virtual std::optional<std::string> ChooseFile(const FileDialogRequest& request) = 0;
  // Colour as 0xBBGGRR (red + 256 × green + 65536 × blue); nothing when cancelled.
  virtual std::optional<uint32_t> ChooseColor(uint32_t initial) { (void)initial; return std::nullopt; }
  virtual std::optional<FontChoice> ChooseFont(const FontChoice& initial) { (void)initial; return std::nullopt; }
  // The chosen folder, or nothing when the user cancelled.
  virtual std::optional<std::string> ChooseFolder(const FolderDialogRequest& request) { (void)request; return std::nullopt; }
  // The platform's printer setup, preset with the current choice; nothing when cancelled.
  virtual std::optional<PrinterSetup> SetupPrinter(const PrinterSetup& current) { (void)current; return std::nullopt; }
};

// The prompter in use. Without one installed, a headless prompter answers:
// it writes the message to standard error and takes the safe answer
// (Cancel for Retry/Cancel, No for Yes/No).
Prompter& CurrentPrompter();
void SetPrompter(Prompter* prompter);

// Installs a prompter for the lifetime of the object.
class ScopedPrompter {
 public:
  explicit ScopedPrompter(Prompter& prompter);
  ~ScopedPrompter();
  ScopedPrompter(const ScopedPrompter&) = delete;
  ScopedPrompter& operator=(const ScopedPrompter&) = delete;

 private:
  Prompter* previous_;
};

// Answers without a screen: messages go to standard error (in the terminal's
// encoding), Retry/Cancel answers Cancel, Yes/No answers No.
class HeadlessPrompter : public Prompter {
 public:
  MessageAnswer ShowMessage(const MessageRequest& request) override;
  std::optional<std::string> ChooseFile(const FileDialogRequest& request) override;
};

// A prompter driven by a script: records every request and answers from
// queues, falling back to the default answer (or cancel) when a queue is empty.
// A hook may run before an answer is given, to change the world (say, create
// the folder a failed write needs) before a Retry.
class ScriptedPrompter : public Prompter {
 public:
  MessageAnswer ShowMessage(const MessageRequest& request) override;
  std::optional<std::string> ChooseFile(const FileDialogRequest& request) override;
  std::optional<uint32_t> ChooseColor(uint32_t initial) override;
  std::optional<FontChoice> ChooseFont(const FontChoice& initial) override;
  std::optional<std::string> ChooseFolder(const FolderDialogRequest& request) override;
  std::optional<PrinterSetup> SetupPrinter(const PrinterSetup& current) override;

  std::deque<MessageAnswer> answers;
  std::deque<std::optional<std::string>> files;
  std::deque<std::optional<uint32_t>> colors;
  std::deque<std::optional<FontChoice>> fonts;
  std::deque<std::optional<std::string>> folders;
  std::deque<std::optional<PrinterSetup>> printers;
  std::function<void(const MessageRequest&)> onMessage;

  std::vector<MessageRequest> messages;
  std::vector<FileDialogRequest> fileRequests;
  std::vector<uint32_t> colorRequests;
  std::vector<FontChoice> fontRequests;
  std::vector<FolderDialogRequest> folderRequests;
  std::vector<PrinterSetup> printerRequests;
};

// Shorthands for the message kinds the program uses.
void ShowError(const std::string& text, const std::string& title = "エラー");
// Asks Retry/Cancel with the error icon under the title "エラー"; true for Retry.
bool AskRetry(const std::string& text);
// Asks Yes/No with the question icon, No being the default; true for Yes.
bool AskYesNo(const std::string& text, const std::string& title);

}  // namespace vorel::platform
