// SIGINT, SIGTERM and SIGHUP end the desktop program in order. The handler
// only writes the signal's number into a pipe; back on the interface thread
// the frame stops its running work, closes as at a normal exit (saving the
// settings), the temporary files in progress are removed, and the program
// ends with 128 + the number, as vorel-report does. A second signal, or an
// orderly end that takes too long, removes the temporary files and ends at once.
#pragma once

#include <QObject>

class QSocketNotifier;

namespace vorel::gui {

class SignalEnding : public QObject {
 public:
  // How long the orderly end may take before the program ends at once.
  static constexpr int kGraceMs = 5000;

  SignalEnding();
  ~SignalEnding() override;

 private:
  void OnSignal();

  QSocketNotifier* notifier_ = nullptr;
};

}  // namespace vorel::gui
