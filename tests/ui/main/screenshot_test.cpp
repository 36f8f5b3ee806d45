// Takes a picture of the main window with the bundled sample analysed, for
// the README and for looking at the windows without a screen. The PNG goes to
// the build folder (main-window.png) or to $VOREL_SCREENSHOT.
#include <QImage>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPixmap>
#include <cstdlib>

#include "analysis/result.h"
#include "ui/main/japanese_fonts.h"
#include "ui/results/frm_base.h"
#include "ui/ui_test_support.h"

namespace vorel::ui {
namespace {

class ScreenshotTest : public UiTest {};

TEST_F(ScreenshotTest, MainWindowWithTheSampleAnalysed) {
  InstallJapaneseFonts();
  // The summary and five graphs, as a user might leave them.
  settings::SetParam("VisibleWindow", 1 + 2 + 16 + 32 + 64 + 1024);
  settings::SetParam("MainWidth", 1180 * 15);
  settings::SetParam("MainHeight", 800 * 15);
  frmMain& main = OpenFrame();
  settings::SetParam("DllVersion", "1.00");
  main.AnalyseFile(std::string(VOREL_SOURCE_DIR) + "/data/sample-access.log");
  ASSERT_TRUE(prompter.messages.empty());
  ASSERT_GT(analysis::ResultCount(0), 0);
  EXPECT_EQ(main.BaseWindow()->lblTotalAccess->text(), QString::number(analysis::ResultCount(0)));

  // Summary top left, the graphs around it.
  const QRect area = main.mdiArea()->viewport()->rect();
  const int w = area.width() / 3;
  const int h = area.height() / 2;
  const std::pair<ResultSlot, QRect> places[] = {
      {ResultSlot::Base, QRect(0, 0, w, h)},           {ResultSlot::Month, QRect(w, 0, w, h)},
      {ResultSlot::Time, QRect(2 * w, 0, w, h)},       {ResultSlot::DWeek, QRect(0, h, w, h)},
      {ResultSlot::Os, QRect(w, h, w, h)},             {ResultSlot::Page, QRect(2 * w, h, w, h)}};
  for (const auto& [slot, rect] : places) main.SubWindow(slot)->setGeometry(rect);
  main.mdiArea()->setActiveSubWindow(main.SubWindow(ResultSlot::Base));
  QApplication::processEvents();

  const char* target = std::getenv("VOREL_SCREENSHOT");
  const QString path = target ? QString::fromLocal8Bit(target) : QStringLiteral(VOREL_BINARY_DIR "/main-window.png");
  const QImage image = main.grab().toImage();
  ASSERT_TRUE(image.save(path));
  EXPECT_EQ(QImage(path).size(), main.size());
}

}  // namespace
}  // namespace vorel::ui
