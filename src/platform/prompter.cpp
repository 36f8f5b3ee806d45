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
  if (files.empty()) return std::nullopt;
  auto file = files.front();
  files.pop_front();
  return file;
}

std::optional<uint32_t> ScriptedPrompter::ChooseColor(uint32_t) {
  if (colors.empty()) return std::nullopt;
  auto c = colors.front();
  colors.pop_front();
  return c;
}

std::optional<FontChoice> ScriptedPrompter::ChooseFont(const FontChoice&) {
  if (fonts.empty()) return std::nullopt;
  auto f = fonts.front();
  fonts.pop_front();
  return f;
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
