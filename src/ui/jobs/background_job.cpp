#include "ui/jobs/background_job.h"

#include <pthread.h>
#include <signal.h>

#include <thread>

#include "platform/safe_file.h"

namespace vorel::ui::jobs {
namespace {

// Interrupting signals belong to the interface thread, which ends the
// program in order; the worker never takes them.
void LeaveSignalsToTheInterfaceThread() {
  const sigset_t set = platform::EndingSignalSet();
  pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

}  // namespace

BackgroundJob::BackgroundJob() {
  timer_.setInterval(kProgressIntervalMs);
  connect(&timer_, &QTimer::timeout, this, &BackgroundJob::PublishProgress);
}

BackgroundJob::~BackgroundJob() = default;

void BackgroundJob::Run(const std::function<void()>& work) {
  running_ = true;
  cancel_ = false;
  std::exception_ptr failure;
  std::atomic<bool> finished{false};
  QEventLoop loop;
  timer_.start();
  std::thread worker([&] {
    LeaveSignalsToTheInterfaceThread();
    try {
      work();
    } catch (...) {
      failure = std::current_exception();
    }
    finished = true;
    // Wakes the waiting loop; queued, so it runs on the interface thread.
    QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
  });
  // The loop also ends when the whole program is asked to quit; the work,
  // cancelled by then, is waited for below.
  while (!finished && loop.exec() == 0 && !finished) {
  }
  worker.join();
  timer_.stop();
  running_ = false;
  PublishProgress();
  if (failure) std::rethrow_exception(failure);
}

void BackgroundJob::SetProgress(int64_t done, int64_t total) {
  std::lock_guard lock(mutex_);
  if (progress_.positioned && progress_.done == done && progress_.total == total) return;
  progress_.positioned = true;
  progress_.done = done;
  progress_.total = total;
  ++version_;
}

void BackgroundJob::SetMessage(std::string message) {
  std::lock_guard lock(mutex_);
  if (progress_.message == message) return;
  progress_.message = std::move(message);
  ++version_;
}

void BackgroundJob::Cancel() {
  if (cancel_.exchange(true)) return;
  emit CancelRequestedChanged();
}

void BackgroundJob::PublishProgress() {
  JobProgress current;
  {
    std::lock_guard lock(mutex_);
    if (version_ == published_) return;
    published_ = version_;
    current = progress_;
  }
  emit ProgressChanged(current);
}

}  // namespace vorel::ui::jobs
