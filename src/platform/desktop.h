// The desktop's shell: opening a document or a URL with the application the
// desktop associates with it, and starting a program. The desktop program
// uses the system's; tests install a scripted twin that records every call.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vorel::platform {

class Desktop {
 public:
  virtual ~Desktop() = default;
  // Opens a file or URL with its associated application, without waiting
  // for it. False when nothing could be started.
  virtual bool Open(const std::string& target) = 0;
  // The program associated with a file, or nothing when none is.
  virtual std::optional<std::string> FindAssociatedProgram(const std::string& path) = 0;
  // Starts a program with its arguments, without waiting for it. False when
  // it could not be started.
  virtual bool StartProgram(const std::string& program, const std::vector<std::string>& arguments) = 0;
  // A plain-text editor installed here, for a text file nothing is
  // associated with; nothing when none is found.
  virtual std::optional<std::string> FindTextEditor() { return std::nullopt; }
};

// The desktop in use: the system's unless a test installed another.
Desktop& CurrentDesktop();
void SetDesktop(Desktop* desktop);

class ScopedDesktop {
 public:
  explicit ScopedDesktop(Desktop& desktop);
  ~ScopedDesktop();
  ScopedDesktop(const ScopedDesktop&) = delete;
  ScopedDesktop& operator=(const ScopedDesktop&) = delete;

 private:
  Desktop* previous_;
};

// Records every call and answers as scripted.
class ScriptedDesktop : public Desktop {
 public:
  bool Open(const std::string& target) override;
  std::optional<std::string> FindAssociatedProgram(const std::string& path) override;
  bool StartProgram(const std::string& program, const std::vector<std::string>& arguments) override;
  std::optional<std::string> FindTextEditor() override;

  struct Started {
    std::string program;
    std::vector<std::string> arguments;
  };

  bool openSucceeds = true;
  std::optional<std::string> associatedProgram;
  bool startSucceeds = true;
  std::optional<std::string> textEditor;

  std::vector<std::string> opened;
  std::vector<std::string> lookedUp;
  std::vector<Started> started;
  int editorLookups = 0;
};

}  // namespace vorel::platform
