#include "app/gui/signal_ending.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QApplication>
#include <QSocketNotifier>
#include <QTimer>
#include <csignal>

#include "platform/safe_file.h"
#include "ui/main/frm_main.h"

namespace vorel::gui {
namespace {

int g_pipe[2] = {-1, -1};
volatile sig_atomic_t g_received = 0;

void EndAtOnce(int code) {
  platform::RemoveTemporaryFilesInProgress();
  ::_exit(code);
}

void OnInterrupt(int signal) {
  // Asked again while ending in order: end now.
  if (g_received) EndAtOnce(128 + signal);
  g_received = signal;
  const unsigned char number = static_cast<unsigned char>(signal);
  [[maybe_unused]] const ssize_t written = ::write(g_pipe[1], &number, 1);
}

ui::frmMain* Frame() {
  for (QWidget* window : QApplication::topLevelWidgets())
    if (auto* frame = qobject_cast<ui::frmMain*>(window); frame && frame->isVisible()) return frame;
  return nullptr;
}

}  // namespace

SignalEnding::SignalEnding() {
  if (::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
  notifier_ = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, &SignalEnding::OnSignal);
  platform::CatchEndingSignals(OnInterrupt, SA_RESTART);
}

SignalEnding::~SignalEnding() {
  for (int signal : platform::kEndingSignals) {
    struct sigaction old {};
    if (::sigaction(signal, nullptr, &old) == 0 && old.sa_handler == OnInterrupt) ::signal(signal, SIG_DFL);
  }
}

void SignalEnding::OnSignal() {
  unsigned char number = 0;
  if (::read(g_pipe[0], &number, 1) != 1) return;
  notifier_->setEnabled(false);
  const int code = 128 + number;
  QTimer::singleShot(kGraceMs, [code] { EndAtOnce(code); });
  ui::frmMain* frame = Frame();
  if (!frame) EndAtOnce(code);
  frame->CloseForSignal(code);
}

}  // namespace vorel::gui
