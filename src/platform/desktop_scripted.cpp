#include "platform/desktop.h"

namespace vorel::platform {

bool ScriptedDesktop::Open(const std::string& target) {
  opened.push_back(target);
  return openSucceeds;
}

std::optional<std::string> ScriptedDesktop::FindAssociatedProgram(const std::string& path) {
  lookedUp.push_back(path);
  return associatedProgram;
}

bool ScriptedDesktop::StartProgram(const std::string& program, const std::vector<std::string>& arguments) {
  started.push_back({program, arguments});
  return startSucceeds;
}

std::optional<std::string> ScriptedDesktop::FindTextEditor() {
  ++editorLookups;
  return textEditor;
}

ScopedDesktop::ScopedDesktop(Desktop& desktop) : previous_(&CurrentDesktop()) { SetDesktop(&desktop); }
ScopedDesktop::~ScopedDesktop() { SetDesktop(previous_); }

}  // namespace vorel::platform
