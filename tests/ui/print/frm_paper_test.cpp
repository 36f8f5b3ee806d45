// The print setup dialog: its controls, loading from and storing to
// PrintWindow and PaperType, the refused empty selection, cancelling, help.
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <vector>

#include "platform/qt/help_window.h"
#include "ui/print/frm_paper.h"
#include "ui/ui_test_support.h"

namespace vorel::ui {
namespace {

class FrmPaperTest : public UiTest {
 protected:
  // The dialog's controls as the accessibility layer and scripts find them.
  static QCheckBox* Box(QWidget& dialog, int index) {
    for (QCheckBox* box : dialog.findChildren<QCheckBox*>(QStringLiteral("chkWindow")))
      if (box->property("Index").toInt() == index) return box;
    return nullptr;
  }
  static QRadioButton* Option(QWidget& dialog, int index) {
    for (QRadioButton* option : dialog.findChildren<QRadioButton*>(QStringLiteral("optPaper")))
      if (option->property("Index").toInt() == index) return option;
    return nullptr;
  }
  static QPushButton* Button(QWidget& dialog, const char* name) {
    return dialog.findChild<QPushButton*>(QString::fromLatin1(name));
  }
  static int CheckedMask(QWidget& dialog) {
    int mask = 0;
    for (int i = 0; i < kPrintWindowBoxes; ++i)
      if (Box(dialog, i)->isChecked()) mask |= 1 << i;
    return mask;
  }
};

TEST_F(FrmPaperTest, ControlsCarryTheirCaptionsIndexesAndAccessibleNames) {
  frmPaper dialog(nullptr);
  EXPECT_EQ(dialog.objectName(), QStringLiteral("frmPaper"));
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("印刷設定"));
  const char* captions[] = {"月",     "日付",   "週",     "曜日", "時間",         "ＯＳ",
                            "ブラウザ", "ホスト", "前画面", "ページ", "エージェント", "ロボット"};
  EXPECT_EQ(dialog.findChildren<QCheckBox*>(QStringLiteral("chkWindow")).size(), kPrintWindowBoxes);
  for (int i = 0; i < kPrintWindowBoxes; ++i) {
    QCheckBox* box = Box(dialog, i);
    ASSERT_NE(box, nullptr) << i;
    EXPECT_EQ(box->text(), QString::fromUtf8(captions[i]));
    EXPECT_EQ(box->accessibleName(), QString::fromUtf8(captions[i]));
  }
  auto* frame = dialog.findChild<QGroupBox*>(QStringLiteral("fraPaper"));
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame->title(), QStringLiteral("一枚あたりの項目数"));
  const char* options[] = {"１項目", "２項目", "４項目"};
  for (int i = 0; i < 3; ++i) {
    QRadioButton* option = Option(dialog, i);
    ASSERT_NE(option, nullptr) << i;
    EXPECT_EQ(option->text(), QString::fromUtf8(options[i]));
    EXPECT_EQ(option->parentWidget(), frame);
    EXPECT_FALSE(option->accessibleName().isEmpty());
  }
  auto* image = dialog.findChild<QLabel*>(QStringLiteral("imgPaper"));
  ASSERT_NE(image, nullptr);
  EXPECT_FALSE(image->pixmap().isNull());
  EXPECT_FALSE(image->accessibleName().isEmpty());
  const std::pair<const char*, const char*> buttons[] = {
      {"cmdNext", "印刷(&P)"}, {"cmdCancel", "中止(&C)"}, {"cmdHelp", "ヘルプ(&H)"}};
  for (const auto& [name, caption] : buttons) {
    QPushButton* button = Button(dialog, name);
    ASSERT_NE(button, nullptr) << name;
    EXPECT_EQ(button->text(), QString::fromUtf8(caption));
    EXPECT_FALSE(button->accessibleName().isEmpty());
    EXPECT_FALSE(button->accessibleName().contains(QLatin1Char('&')));
  }
  EXPECT_TRUE(Button(dialog, "cmdNext")->isDefault());
}

TEST_F(FrmPaperTest, ThePictureShowsTheChosenNumberOfGraphsASheet) {
  settings::SetParam("PaperType", 0);
  frmPaper dialog(nullptr);
  auto* image = dialog.findChild<QLabel*>(QStringLiteral("imgPaper"));
  std::vector<QImage> shown;
  for (int i : {0, 1, 2}) {
    Option(dialog, i)->click();
    shown.push_back(image->pixmap().toImage());
    EXPECT_EQ(shown.back(), PaperIllustration(dialog.devicePixelRatioF(), i).toImage()) << i;
    EXPECT_EQ(image->accessibleDescription(), QStringLiteral("一枚に") + Option(dialog, i)->text());
  }
  // Each choice has a picture of its own.
  EXPECT_NE(shown[0], shown[1]);
  EXPECT_NE(shown[1], shown[2]);
  EXPECT_NE(shown[0], shown[2]);
  // The picture at opening is the stored choice's.
  settings::SetParam("PaperType", 1);
  frmPaper again(nullptr);
  EXPECT_EQ(again.findChild<QLabel*>(QStringLiteral("imgPaper"))->pixmap().toImage(), shown[1]);
}

TEST_F(FrmPaperTest, LoadsTheBitsAndPaperTypeFromTheSettings) {
  {
    frmPaper dialog(nullptr);  // the defaults: 4095, one per sheet
    EXPECT_EQ(CheckedMask(dialog), 4095);
    EXPECT_TRUE(Option(dialog, 0)->isChecked());
  }
  settings::SetParam("PrintWindow", 1 | 8 | 1024);
  settings::SetParam("PaperType", 2);
  frmPaper dialog(nullptr);
  EXPECT_EQ(CheckedMask(dialog), 1 | 8 | 1024);
  EXPECT_TRUE(Box(dialog, 10)->isChecked());
  EXPECT_FALSE(Box(dialog, 1)->isChecked());
  EXPECT_TRUE(Option(dialog, 2)->isChecked());
  EXPECT_FALSE(Option(dialog, 0)->isChecked());
  EXPECT_FALSE(dialog.aapNextCancel());
}

TEST_F(FrmPaperTest, PrintWithNothingCheckedIsRefusedAndStoresNothing) {
  settings::SetParam("PrintWindow", 4 | 16);
  settings::SetParam("PaperType", 1);
  frmPaper dialog(nullptr);
  dialog.show();
  Box(dialog, 2)->click();
  Box(dialog, 4)->click();
  Option(dialog, 2)->click();
  ASSERT_EQ(CheckedMask(dialog), 0);
  Button(dialog, "cmdNext")->click();
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0].text, "印刷する画面が選択されていません。");
  EXPECT_EQ(prompter.messages[0].title, "エラー");
  EXPECT_EQ(prompter.messages[0].icon, platform::MessageIcon::Error);
  EXPECT_EQ(prompter.messages[0].buttons, platform::MessageButtons::Ok);
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_FALSE(dialog.aapNextCancel());
  EXPECT_EQ(settings::ParamInt("PrintWindow"), 4 | 16);
  EXPECT_EQ(settings::ParamInt("PaperType"), 1);

  // Checking one box then lets Print through.
  Box(dialog, 9)->click();
  Button(dialog, "cmdNext")->click();
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_TRUE(dialog.aapNextCancel());
  EXPECT_EQ(settings::ParamInt("PrintWindow"), 512);
  EXPECT_EQ(settings::ParamInt("PaperType"), 2);
  EXPECT_EQ(prompter.messages.size(), 1u);
}

TEST_F(FrmPaperTest, PrintStoresTheChoiceAndTheNextOpeningShowsIt) {
  {
    frmPaper dialog(nullptr);
    dialog.show();
    for (int i : {0, 3, 5, 7}) Box(dialog, i)->click();  // off
    Option(dialog, 1)->click();
    Button(dialog, "cmdNext")->click();
    EXPECT_TRUE(dialog.aapNextCancel());
  }
  const int expected = 4095 & ~(1 | 8 | 32 | 128);
  // Bit 11 of the default is the robots' box, which stays checked.
  EXPECT_EQ(settings::ParamInt("PrintWindow"), expected);
  EXPECT_EQ(settings::ParamInt("PaperType"), 1);
  frmPaper again(nullptr);
  EXPECT_EQ(CheckedMask(again), expected);
  EXPECT_TRUE(Option(again, 1)->isChecked());
}

TEST_F(FrmPaperTest, CancelEscapeAndTheCloseBoxStoreNothing) {
  settings::SetParam("PrintWindow", 6);
  settings::SetParam("PaperType", 0);
  auto tryClosing = [&](const std::function<void(frmPaper&)>& close) {
    frmPaper dialog(nullptr);
    dialog.show();
    Box(dialog, 0)->click();
    Option(dialog, 2)->click();
    close(dialog);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_FALSE(dialog.aapNextCancel());
    EXPECT_EQ(settings::ParamInt("PrintWindow"), 6);
    EXPECT_EQ(settings::ParamInt("PaperType"), 0);
  };
  tryClosing([](frmPaper& d) { Button(d, "cmdCancel")->click(); });
  tryClosing([](frmPaper& d) { PressKey(&d, Qt::Key_Escape); });
  tryClosing([](frmPaper& d) { d.close(); });

  // Cancel after a refused empty Print still answers false.
  frmPaper dialog(nullptr);
  dialog.show();
  for (int i : {1, 2}) Box(dialog, i)->click();
  Button(dialog, "cmdNext")->click();
  Button(dialog, "cmdCancel")->click();
  EXPECT_FALSE(dialog.aapNextCancel());
  EXPECT_EQ(settings::ParamInt("PrintWindow"), 6);
}

TEST_F(FrmPaperTest, HelpOpensThePrintSetupTopicOrReportsAMissingHelpFile) {
  frmPaper dialog(nullptr);
  dialog.show();
  Button(dialog, "cmdHelp")->click();
  platform::HelpWindow* help = nullptr;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* h = qobject_cast<platform::HelpWindow*>(w); h && h->isVisible()) help = h;
  ASSERT_NE(help, nullptr);
  EXPECT_EQ(help->CurrentPage(), QStringLiteral("topic-104.html"));
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_TRUE(prompter.messages.empty());

  platform::SetHelpFile(dir.File("vorel.hlp"));
  Button(dialog, "cmdHelp")->click();
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0].title, "エラー");
  EXPECT_EQ(prompter.messages[0].text, "ヘルプファイルが見つかりません。\r\n" + dir.File("vorel.hlp"));
}

TEST_F(FrmPaperTest, PrintCommandOpensTheDialogModallyOwnedByTheFrame) {
  frmMain& main = OpenFrame();
  main.EnableResultCommands(true);
  QString caption;
  bool modal = false;
  QWidget* owner = nullptr;
  QTimer::singleShot(0, [&] {
    QWidget* dialog = QApplication::activeModalWidget();
    ASSERT_NE(dialog, nullptr);
    caption = dialog->windowTitle();
    modal = dialog->isModal();
    owner = dialog->parentWidget();
    Button(*dialog, "cmdCancel")->click();
  });
  main.ToolbarButton("Printer")->trigger();
  EXPECT_EQ(caption, QStringLiteral("印刷設定"));
  EXPECT_TRUE(modal);
  EXPECT_EQ(owner, &main);
  // Cancelled: no printer or file was asked for.
  EXPECT_TRUE(prompter.fileRequests.empty());
  EXPECT_TRUE(prompter.printerRequests.empty());
}

}  // namespace
}  // namespace vorel::ui
