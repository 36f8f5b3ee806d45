// One piece of long work (an analysis pass, a download) on a worker thread
// while the interface stays live. The caller waits in a local event loop, as
// a modal dialog does, so windows keep drawing and answering the screen
// reader. The work writes its progress into a cell that the interface thread
// reads on a timer; a cancel request reaches the work through an atomic flag.
#pragma once

#include <QEventLoop>
#include <QObject>
#include <QString>
#include <QTimer>
#include <atomic>
#include <cstdint>
#include <exception>
#include <functional>
#include <mutex>
#include <string>

namespace vorel::ui::jobs {

// How far the work is: `done` of `total` (total 0: not known) and a message.
struct JobProgress {
  int64_t done = 0;
  int64_t total = 0;
  std::string message;
  bool positioned = false;  // the work has reported a position

};

class BackgroundJob : public QObject {
  Q_OBJECT
 public:
  // How often the interface looks at the progress.
  static constexpr int kProgressIntervalMs = 50;

  BackgroundJob();
  ~BackgroundJob() override;

  // Runs `work` on a worker thread and returns once it has ended, the event
  // loop running meanwhile. An exception of the work is thrown again here.
  void Run(const std::function<void()>& work);
  bool IsRunning() const { return running_; }

  // --- for the work, on its thread ---
  void SetProgress(int64_t done, int64_t total);
  void SetMessage(std::string message);
  const std::atomic<bool>& CancelFlag() const { return cancel_; }

  // --- on the interface thread ---
  void Cancel();
  bool CancelRequested() const { return cancel_.load(); }

 signals:
  // On the interface thread whenever the progress has changed, at most every
  // kProgressIntervalMs, and once more when the work has ended.
  void ProgressChanged(const vorel::ui::jobs::JobProgress& progress);
  void CancelRequestedChanged();

 private:
  void PublishProgress();

  mutable std::mutex mutex_;
  JobProgress progress_;
  uint64_t version_ = 0;
  uint64_t published_ = 0;
  std::atomic<bool> cancel_{false};
  bool running_ = false;
  QTimer timer_;
};

}  // namespace vorel::ui::jobs
