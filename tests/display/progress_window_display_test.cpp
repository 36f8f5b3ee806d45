// The progress window on a real X server: a private Xvfb on a free display,
// the desktop program's analysis command on a long log, and what the server
// saw of the window while the pass ran. Skipped when Xvfb cannot start.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QSet>
#include <QTimer>
#include <QWindow>
#include <csignal>
#include <cstdlib>
#include <memory>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include <QComboBox>
#include <QTest>

#include "analysis/result.h"
#include "ui/results/frm_base.h"
#include "ui/results/graph_window.h"
#include "ui/main/frm_status.h"
#include "ui/ui_test_support.h"

namespace vorel::ui {
namespace {

// An Xvfb of its own: it chooses a free display number and reports it.
class VirtualDisplay {
 public:
  VirtualDisplay() {
    int fds[2];
    if (pipe(fds) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      close(fds[0]);
      const std::string fd = std::to_string(fds[1]);
      execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x1024x24", "-nolisten", "tcp",
             static_cast<char*>(nullptr));
      _exit(127);
    }
    close(fds[1]);
    if (pid_ < 0) {
      close(fds[0]);
      return;
    }
    std::string number;
    pollfd wait{fds[0], POLLIN, 0};
    char c = 0;
    // The number ends with a line feed once the server accepts clients.
    while (poll(&wait, 1, 15000) > 0 && read(fds[0], &c, 1) == 1 && c != '\n') number += c;
    close(fds[0]);
    if (c == '\n' && !number.empty()) name_ = ":" + number;
  }
  ~VirtualDisplay() {
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      waitpid(pid_, nullptr, 0);
    }
  }
  // ":N", or empty when the server did not start.
  const std::string& name() const { return name_; }

 private:
  pid_t pid_ = -1;
  std::string name_;
};

std::unique_ptr<VirtualDisplay> g_display;
QApplication* g_app = nullptr;

// What the window system let the progress window show during the pass.
class PaintWatcher : public QObject {
 public:
  bool exposed = false;
  int labelPaints = 0;
  QString paintedLabel;
  QSet<int> paintedPositions;
  QRect statusGeometry;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::Paint) return false;
    auto* status = qobject_cast<frmStatus*>(watched->parent());
    if (!status || !status->isVisible()) return false;
    if (status->windowHandle() && status->windowHandle()->isExposed()) exposed = true;
    statusGeometry = status->frameGeometry();
    if (watched == status->lblStatus) {
      ++labelPaints;
      paintedLabel = status->lblStatus->text();
    }
    if (watched == status->pbrStatus) paintedPositions.insert(status->pbrStatus->value());
    return false;
  }
};

class ProgressWindowDisplayTest : public UiTest {
 protected:
  static void SetUpTestSuite() {
    g_display = std::make_unique<VirtualDisplay>();
    if (g_display->name().empty()) return;
    setenv("DISPLAY", g_display->name().c_str(), 1);
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    static int argc = 1;
    static char name[] = "vorel_display_tests";
    static char* argv[] = {name, nullptr};
    g_app = new QApplication(argc, argv);
  }
  static void TearDownTestSuite() {
    delete g_app;
    g_app = nullptr;
    g_display.reset();
  }
  void SetUp() override {
    if (!g_app) GTEST_SKIP() << "Xvfb could not start";
    UiTest::SetUp();
  }
  void TearDown() override {
    if (g_app) UiTest::TearDown();
  }
};

TEST_F(ProgressWindowDisplayTest, WindowIsExposedCentredAndRepaintsWhileALongPassRuns) {
  settings::SetParam("VisibleWindow", 0);
  settings::SetParam("CheckLine", 200);
  frmMain& main = OpenFrame();
  main.move(120, 80);
  QApplication::processEvents();
  // 200,000 accesses of four records: 4,000 steps of the bar, long enough
  // for the bar to be drawn at many of them.
  UseLog(WriteLongLog("long.log", 200000));

  PaintWatcher watcher;
  qApp->installEventFilter(&watcher);
  // Screens of the server itself while the pass runs, for a person to look at.
  QTimer shots;
  int shot = 0;
  const char* shotFolder = std::getenv("VOREL_DISPLAY_SHOTS");
  if (shotFolder) {
    QObject::connect(&shots, &QTimer::timeout, [&] {
      QApplication::primaryScreen()->grabWindow(0).save(QStringLiteral("%1/progress-%2.png").arg(shotFolder).arg(shot++));
    });
    shots.start(100);
  }
  main.mnuEditAnalize_Click(0);
  shots.stop();
  qApp->removeEventFilter(&watcher);

  EXPECT_TRUE(prompter.messages.empty());
  EXPECT_EQ(analysis::ResultCount(0), 200000);
  EXPECT_TRUE(watcher.exposed);
  EXPECT_GE(watcher.labelPaints, 1);
  EXPECT_FALSE(watcher.paintedLabel.isEmpty());
  // The bar was drawn at many positions on its way, not only at its ends.
  EXPECT_GE(watcher.paintedPositions.size(), 10) << watcher.paintedPositions.size();
  // Centred over the main window.
  const QPoint offset = watcher.statusGeometry.center() - main.frameGeometry().center();
  EXPECT_LE(offset.manhattanLength(), 4) << offset.x() << "," << offset.y();
}

TEST_F(ProgressWindowDisplayTest, TheProgramAnswersWhileALongPassRunsAndAStopMidPassKeepsThePreviousResult) {
  settings::SetParam("VisibleWindow", 1);
  settings::SetParam("CheckLine", 200);
  frmMain& main = OpenFrame();
  main.AnalyseFile(WriteLog("first.log", 7));
  ASSERT_EQ(analysis::ResultCount(0), 7);
  main.BaseWindow()->cmbFileName->setEditText(QString::fromStdString(WriteLongLog("long.log", 400000)));

  // While the pass runs: a timer of the interface keeps firing, a graph
  // window opened from the menu appears on the server, and then 中止 stops
  // the pass half-way.
  int ticks = 0;
  bool graphShown = false;
  int stoppedAt = -1, maximum = -1;
  QTimer ticker;
  QObject::connect(&ticker, &QTimer::timeout, [&] {
    if (!main.RunningJob()) return;
    ++ticks;
    if (ticks == 3) main.mnuViewMonth_Click();
    QWidget* month = main.Graph(GraphKind::Month);
    if (month && month->isVisible() && month->window()->windowHandle() &&
        month->window()->windowHandle()->isExposed())
      graphShown = true;
    auto* status = main.findChild<frmStatus*>();
    if (graphShown && ticks >= 10 && stoppedAt < 0 && status && status->pbrStatus->value() > 0) {
      stoppedAt = status->pbrStatus->value();
      maximum = status->pbrStatus->maximum();
      QTest::keyClick(status, Qt::Key_Escape);
    }
  });
  ticker.start(10);
  main.mnuEditAnalize_Click(0);
  ticker.stop();

  EXPECT_GE(ticks, 10);
  EXPECT_TRUE(graphShown);
  ASSERT_GT(stoppedAt, 0);
  EXPECT_LT(stoppedAt, maximum);
  EXPECT_TRUE(prompter.messages.empty());
  EXPECT_EQ(analysis::ResultCount(0), 7);
  EXPECT_EQ(main.BaseWindow()->lblTotalAccess->text(), QStringLiteral("7"));
}

}  // namespace
}  // namespace vorel::ui
