// The desktop program's analysis against vorel-report on the same server
// log of about 1,000,000 lines: the analysis command from the click to the
// redrawn windows (the pass on its worker thread, the progress window up),
// and vorel-report as a process from its start to its written report. Both
// in wall-clock time. Offscreen.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <QApplication>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "analysis/class_lists.h"
#include "analysis/result.h"
#include "log_generator.h"
#include "timed_child.h"
#include "platform/paths.h"
#include "platform/prompter.h"
#include "settings/param_store.h"
#include "ui/main/frm_main.h"

namespace {

// A combined log of about 1,000,000 lines (three page views in five lines), generated once and kept.
std::string ServerLogPath() {
  vorel::bench::LogShape shape;
  shape.accesses = 600000;
  shape.combined = true;
  return vorel::bench::GeneratedLog(shape, "/tmp/vorel-bench-desktop-combined.log");
}

void BM_DesktopAnalysis(benchmark::State& state) {
  using namespace vorel;
  const std::string log = ServerLogPath();
  const std::string folder = "/tmp/vorel-bench-desktop-" + std::to_string(::getpid());
  std::filesystem::create_directories(folder);
  std::filesystem::copy_file(VOREL_SOURCE_DIR "/data/vorel.dat", folder + "/vorel.dat",
                             std::filesystem::copy_options::overwrite_existing);
  platform::SetProgramFolder(folder);
  platform::ScriptedPrompter prompter;
  platform::ScopedPrompter scoped(prompter);
  settings::ApplyDefaults();
  settings::SetParam("VisibleWindow", 4095);
  analysis::LoadClassLists();
  {
    ui::frmMain main;
    main.Form_Load();
    main.resize(1024, 768);
    main.show();
    QApplication::processEvents();
    for (auto _ : state) {
      const auto start = std::chrono::steady_clock::now();
      main.AnalyseFile(log);
      state.SetIterationTime(vorel::bench::SecondsSince(start));
      if (!prompter.messages.empty()) state.SkipWithError(prompter.messages.front().text.c_str());
    }
    state.counters["page_views"] = analysis::Result().Total;
  }
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_DesktopAnalysis)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);

#ifdef VOREL_REPORT_EXE
void BM_ReportCommandSameLog(benchmark::State& state) {
  const std::string out = "/tmp/vorel-bench-desktop-report-" + std::to_string(::getpid()) + ".txt";
  const std::vector<std::string> args = {VOREL_REPORT_EXE, "-q", "--classes", VOREL_SOURCE_DIR "/data/vorel.dat",
                                         "--all-dates", "--all-pages", ServerLogPath(), "-o", out};
  for (auto _ : state) {
    double seconds = 0;
    if (!vorel::bench::RunTimedChild(args, seconds)) state.SkipWithError("vorel-report failed");
    state.SetIterationTime(seconds);
  }
  std::remove(out.c_str());
}
BENCHMARK(BM_ReportCommandSameLog)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);
#endif

}  // namespace
