// The job layer: the work runs on a worker thread while the interface
// thread's event loop goes on, its progress reaches the interface thread,
// a cancel request reaches the work, and a failure comes back to the caller.
#include <gtest/gtest.h>

#include <QApplication>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <stdexcept>
#include <thread>
#include <vector>

#include "ui/jobs/background_job.h"

namespace vorel::ui::jobs {
namespace {

TEST(BackgroundJobTest, TimersFireWhileTheWorkRunsOnAnotherThread) {
  BackgroundJob job;
  std::atomic<bool> timerFired{false};
  std::thread::id workThread;
  QTimer::singleShot(0, [&] { timerFired = true; });
  // The work ends only once the interface thread has run the timer.
  job.Run([&] {
    workThread = std::this_thread::get_id();
    while (!timerFired) std::this_thread::yield();
  });
  EXPECT_TRUE(timerFired);
  EXPECT_NE(workThread, std::this_thread::get_id());
  EXPECT_FALSE(job.IsRunning());
}

TEST(BackgroundJobTest, ProgressReachesTheInterfaceThreadAndTheLastStepIsNeverLost) {
  BackgroundJob job;
  std::vector<JobProgress> seen;
  bool onInterfaceThread = true;
  QObject::connect(&job, &BackgroundJob::ProgressChanged, [&](const JobProgress& progress) {
    onInterfaceThread = onInterfaceThread && QThread::currentThread() == qApp->thread();
    seen.push_back(progress);
  });
  std::atomic<bool> published{false};
  QObject::connect(&job, &BackgroundJob::ProgressChanged, [&] { published = true; });
  job.Run([&] {
    job.SetMessage("前半");
    job.SetProgress(1, 4);
    // Waits until the interface has shown a step, then finishes at once.
    while (!published) std::this_thread::yield();
    job.SetMessage("後半");
    job.SetProgress(4, 4);
  });
  ASSERT_GE(seen.size(), 2u);
  EXPECT_TRUE(onInterfaceThread);
  EXPECT_EQ(seen.front().message, "前半");
  EXPECT_EQ(seen.front().done, 1);
  EXPECT_EQ(seen.back().message, "後半");
  EXPECT_EQ(seen.back().done, 4);
  EXPECT_EQ(seen.back().total, 4);
}

TEST(BackgroundJobTest, ACancelFromTheInterfaceReachesTheWork) {
  BackgroundJob job;
  int cancelSignals = 0;
  QObject::connect(&job, &BackgroundJob::CancelRequestedChanged, [&] { ++cancelSignals; });
  QTimer::singleShot(20, &job, [&] {
    job.Cancel();
    job.Cancel();
  });
  bool sawCancel = false;
  job.Run([&] {
    while (!job.CancelFlag().load()) std::this_thread::yield();
    sawCancel = true;
  });
  EXPECT_TRUE(sawCancel);
  EXPECT_TRUE(job.CancelRequested());
  EXPECT_EQ(cancelSignals, 1);
  // A job run again starts without the old request.
  bool cancelledAtStart = true;
  job.Run([&] { cancelledAtStart = job.CancelFlag().load(); });
  EXPECT_FALSE(cancelledAtStart);
}

TEST(BackgroundJobTest, AFailureOfTheWorkIsThrownToTheCaller) {
  BackgroundJob job;
  EXPECT_THROW(job.Run([] { throw std::runtime_error("broken"); }), std::runtime_error);
  EXPECT_FALSE(job.IsRunning());
}

}  // namespace
}  // namespace vorel::ui::jobs
