#include "platform/prompter.h"

#include <cstdio>
#include <iostream>

#include "platform/terminal.h"

namespace vorel::platform {
namespace {

Prompter* g_prompter = nullptr;

HeadlessPrompter& DefaultPrompter() {
  static HeadlessPrompter prompter;
  return prompter;
}

MessageAnswer FallbackAnswer(const MessageRequest& request) {
  switch (request.buttons) {
    case MessageButtons::Ok: return MessageAnswer::Ok;
    case MessageButtons::RetryCancel: return MessageAnswer::Cancel;
    case MessageButtons::YesNo: return MessageAnswer::No;
  }
  return MessageAnswer::Cancel;
}

// Takes the next scripted answer; an empty queue means the user cancelled.
template <typename T>
std::optional<T> NextAnswer(std::deque<std::optional<T>>& queue) {
  if (queue.empty()) return std::nullopt;
  auto answer = queue.front();
  queue.pop_front();
  return answer;
}

}  // namespace

Prompter& CurrentPrompter() { return g_prompter ? *g_prompter : DefaultPrompter(); }
void SetPrompter(Prompter* prompter) { g_prompter = prompter; }

ScopedPrompter::ScopedPrompter(Prompter& prompter) : previous_(g_prompter) { g_prompter = &prompter; }
ScopedPrompter::~ScopedPrompter() { g_prompter = previous_; }

MessageAnswer HeadlessPrompter::ShowMessage(const MessageRequest& request) {
  std::string text = request.title.empty() ? request.text : request.title + ": " + request.text;
  // The program's messages use CR LF; a terminal wants LF.
  std::string plain;
  for (char c : text)
    if (c != '\r') plain.push_back(c);
  std::cerr << ToTerminalEncoding(plain) << std::endl;
  return FallbackAnswer(request);
}

std::optional<std::string> HeadlessPrompter::ChooseFile(const FileDialogRequest&) { return std::nullopt; }

MessageAnswer ScriptedPrompter::ShowMessage(const MessageRequest& request) {
  messages.push_back(request);
  if (onMessage) onMessage(request);
  if (answers.empty()) return request.buttons == MessageButtons::Ok ? MessageAnswer::Ok : FallbackAnswer(request);
  MessageAnswer answer = answers.front();
  answers.pop_front();
  return answer;
}

std::optional<std::string> ScriptedPrompter::ChooseFile(const FileDialogRequest& request) {
  fileRequests.push_back(request);
  return NextAnswer(files);
}

std::optional<uint32_t> ScriptedPrompter::ChooseColor(uint32_t initial) {
  colorRequests.push_back(initial);
  return NextAnswer(colors);
}

std::optional<FontChoice> ScriptedPrompter::ChooseFont(const FontChoice& initial) {
  fontRequests.push_back(initial);
  return NextAnswer(fonts);
}

std::optional<std::string> ScriptedPrompter::ChooseFolder(const FolderDialogRequest& request) {
  folderRequests.push_back(request);
  return NextAnswer(folders);
}

std::optional<PrinterSetup> ScriptedPrompter::SetupPrinter(const PrinterSetup& current) {
  printerRequests.push_back(current);
  return NextAnswer(printers);
}

void ShowError(const std::string& text, const std::string& title) {
  CurrentPrompter().ShowMessage({text, title, MessageIcon::Error, MessageButtons::Ok, MessageAnswer::Ok});
}

bool AskRetry(const std::string& text) {
  return CurrentPrompter().ShowMessage({text, "エラー", MessageIcon::Error, MessageButtons::RetryCancel,
                                        MessageAnswer::Retry}) == MessageAnswer::Retry;
}

bool AskYesNo(const std::string& text, const std::string& title) {
  return CurrentPrompter().ShowMessage({text, title, MessageIcon::Question, MessageButtons::YesNo,
                                        MessageAnswer::No}) == MessageAnswer::Yes;
}

}  // namespace vorel::platform
