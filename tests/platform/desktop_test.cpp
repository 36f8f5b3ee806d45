#include "platform/desktop.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "support/test_files.h"

namespace vorel::platform {
namespace {

TEST(SystemDesktopTest, StartsAProgramWithoutWaitingAndReportsMissingOnes) {
  vorel::testing::TempDir dir;
  const std::string marker = dir.File("started");
  Desktop& system = CurrentDesktop();
  // The program sleeps before it leaves its mark: the call must not wait for it.
  ASSERT_TRUE(system.StartProgram("/bin/sh", {"-c", "sleep 0.3; echo \"$0\" > \"$1\"", "x y", marker}));
  EXPECT_FALSE(std::filesystem::exists(marker));
  for (int i = 0; i < 100 && !std::filesystem::exists(marker); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  std::ifstream in(marker);
  std::string line;
  std::getline(in, line);
  EXPECT_EQ(line, "x y");  // arguments arrive whole, never through a shell's word splitting

  EXPECT_FALSE(system.StartProgram(dir.path() + "/no-such-program", {}));
}

TEST(ScriptedDesktopTest, RecordsCallsAndStandsInForTheSystem) {
  ScriptedDesktop scripted;
  scripted.associatedProgram = "editor.desktop";
  scripted.openSucceeds = false;
  {
    ScopedDesktop scope(scripted);
    EXPECT_FALSE(CurrentDesktop().Open("http://example.jp/"));
    EXPECT_EQ(CurrentDesktop().FindAssociatedProgram("/tmp/a.dat"), "editor.desktop");
    EXPECT_TRUE(CurrentDesktop().StartProgram("ed", {"/tmp/a.dat"}));
  }
  EXPECT_NE(&CurrentDesktop(), &scripted);
  ASSERT_EQ(scripted.opened.size(), 1u);
  EXPECT_EQ(scripted.opened[0], "http://example.jp/");
  EXPECT_EQ(scripted.lookedUp, std::vector<std::string>{"/tmp/a.dat"});
  ASSERT_EQ(scripted.started.size(), 1u);
  EXPECT_EQ(scripted.started[0].arguments, std::vector<std::string>{"/tmp/a.dat"});
}

}  // namespace
}  // namespace vorel::platform
