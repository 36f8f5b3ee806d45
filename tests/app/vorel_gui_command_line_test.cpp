// The desktop program's own answers on the command line: usage and version
// on standard output, exit 0, no window (the test runs without a display).
#ifdef VOREL_GUI_EXE
#include <gtest/gtest.h>

#include "app/report_process.h"
#include "support/test_files.h"

namespace vorel::testing {
namespace {

struct AnswerRow {
  std::vector<std::string> args;
  const char* begins;  // what standard output begins with
};

TEST(VorelCommandLineTest, HelpAndVersionAnswerOnStandardOutputWithoutOpeningAWindow) {
  TempDir dir;
  const AnswerRow rows[] = {
      {{"--help"}, "使い方: vorel [/USEFILE | /USEREGS | /DELREGS] [--analyse ファイル]\n"},
      {{"-h"}, "使い方: vorel "},
      {{"/USEREGS", "--help"}, "使い方: vorel "},
      {{"--version"}, "vorel "},
  };
  for (const AnswerRow& row : rows) {
    SCOPED_TRACE(row.args.front());
    // No display: a program that tried to open its window would fail.
    const ProcessResult result = RunProgram("/usr/bin/env", [&] {
      std::vector<std::string> args = {"-u", "DISPLAY", "-u", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM=xcb", VOREL_GUI_EXE};
      args.insert(args.end(), row.args.begin(), row.args.end());
      return args;
    }(), dir.path());
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out.rfind(row.begins, 0), 0u) << result.out;
    EXPECT_EQ(result.err, "");
  }
  // The version line names the build, as the About box does.
  const ProcessResult version = RunProgram(VOREL_GUI_EXE, {"--version"}, dir.path());
  EXPECT_NE(version.out.find("(Build: " VOREL_BUILD_NUMBER_TEXT ")\n"), std::string::npos) << version.out;
}

}  // namespace
}  // namespace vorel::testing
#endif
