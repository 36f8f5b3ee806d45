// The options dialog: opening from the settings, the enabling rules, the
// keyboard walk across the tabs, the maximum count, the choosers, storing on
// confirming and recolouring the open graph windows.
#include "ui/options/frm_options.h"

#include <QCheckBox>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QPointer>
#include <QTimer>

#include "analysis/log_layout.h"
#include "options_test_support.h"
#include "settings/settings_file.h"
#include "ui/options/time_zone_choice.h"
#include "ui/results/color_text.h"
#include "ui/results/graph_picture.h"
#include "ui/results/graph_windows.h"

namespace vorel::ui {
namespace {

using settings::ParamFlag;
using settings::ParamInput;
using settings::ParamInt;
using settings::ParamText;
using settings::SetParam;

class FrmOptionsTest : public UiTest {
 protected:
  // The dialog as the main window opens it, shown but not run modally.
  frmOptions& Open(QWidget* owner = nullptr) {
    dialog = std::make_unique<frmOptions>(owner);
    dialog->show();
    dialog->activateWindow();
    QApplication::processEvents();
    return *dialog;
  }
  QCheckBox* Check(const char* name, int index = -1) { return Control<QCheckBox>(dialog.get(), name, index); }
  QRadioButton* Option(const char* name, int index) { return Control<QRadioButton>(dialog.get(), name, index); }
  QPushButton* Button(const char* name, int index = -1) { return Control<QPushButton>(dialog.get(), name, index); }
  QLineEdit* MaxDisp() { return Control<QLineEdit>(dialog.get(), "txtMaxDisp"); }
  QLineEdit* LogFormat() { return Control<QLineEdit>(dialog.get(), "txtLogFormat"); }
  QTabWidget* Tabs() { return Control<QTabWidget>(dialog.get(), "tabOptionPanel"); }

  void TearDown() override {
    dialog.reset();
    UiTest::TearDown();
  }

  std::unique_ptr<frmOptions> dialog;
};

TEST_F(FrmOptionsTest, OpensWithTheStoredValuesAndTheEnablingRules) {
  SetParam("IgnoreIP", ParamInput{true});
  SetParam("SpecifyClass", ParamInput{false});
  SetParam("SpecifyHost", ParamInput{false});
  SetParam("IgnoreHost", ParamInput{true});
  SetParam("Smallize", ParamInput{true});
  SetParam("AutoMaxSize", ParamInput{true});
  SetParam("MaxDisp", 40);
  SetParam("GraphPattern", 6);
  SetParam("GraphHost", "010020030");
  frmOptions& options = Open();

  EXPECT_EQ(options.windowTitle(), QStringLiteral("オプション設定"));
  EXPECT_EQ(MaxDisp()->text(), QStringLiteral("40"));
  EXPECT_TRUE(Check("chkIgnoreIp")->isChecked());
  // The class choice is kept, but cannot be changed while addresses are ignored.
  EXPECT_TRUE(Option("optSpecifyClass", 1)->isChecked());
  EXPECT_FALSE(Option("optSpecifyClass", 0)->isEnabled());
  EXPECT_FALSE(Option("optSpecifyClass", 1)->isEnabled());
  EXPECT_TRUE(Check("chkSmallize")->isChecked());
  EXPECT_FALSE(Check("chkSearchLike")->isChecked());
  EXPECT_TRUE(Check("chkStartUp", 2)->isChecked());
  EXPECT_FALSE(Check("chkStartUp", 0)->isChecked());
  EXPECT_EQ(static_cast<ColorButton*>(Button("cmdColor", 9))->faceColor(), RgbColor(10, 20, 30));
  EXPECT_EQ(Control<QComboBox>(&options, "cmbGraphPattern")->currentText(), QStringLiteral("クロス"));
  EXPECT_EQ(Control<QLabel>(&options, "lblFontName")->text(), QStringLiteral("ＭＳ Ｐゴシック"));
  EXPECT_EQ(options.FontSize(), 9);
  EXPECT_EQ(Tabs()->currentIndex(), 0);
  EXPECT_EQ(options.HelpContextID(), 47);

  // Host filter off: its choice and the list check wait for the box.
  EXPECT_TRUE(Option("optSpecifyHost", 1)->isChecked());
  for (QWidget* w : {static_cast<QWidget*>(Option("optSpecifyHost", 0)), static_cast<QWidget*>(Option("optSpecifyHost", 1)),
                     static_cast<QWidget*>(Button("cmdIgnoreHost"))})
    EXPECT_FALSE(w->isEnabled());
  Check("chkSpecifyHost")->click();
  for (QWidget* w : {static_cast<QWidget*>(Option("optSpecifyHost", 0)), static_cast<QWidget*>(Option("optSpecifyHost", 1)),
                     static_cast<QWidget*>(Button("cmdIgnoreHost"))})
    EXPECT_TRUE(w->isEnabled());
  Check("chkIgnoreIp")->click();
  EXPECT_TRUE(Option("optSpecifyClass", 0)->isEnabled());
  EXPECT_TRUE(Option("optSpecifyClass", 1)->isChecked());

  // The texts users read, and the red notes.
  EXPECT_EQ(Check("chkIgnoreIp")->text(), QStringLiteral("ＩＰアドレスを無視する。（ホスト名のみ解析）"));
  EXPECT_EQ(Button("cmdIgnoreHost")->text(), QStringLiteral("設定確認(L)..."));
  EXPECT_EQ(Control<QLabel>(&options, "lblSearchLike", 1)->text(), QStringLiteral("（解析情報ファイルの変更が必要です）"));
  EXPECT_EQ(Control<QLabel>(&options, "lblSmallize")->palette().color(QPalette::WindowText), QColor(192, 0, 0));
  EXPECT_EQ(Control<QLabel>(&options, "lblNotes", 11)->text(), QStringLiteral("= エージェント別"));
  EXPECT_EQ(Control<QLabel>(&options, "lblColor", 12)->text(), QStringLiteral("エージェント"));
  EXPECT_TRUE(Button("cmdOk")->isDefault());
  EXPECT_EQ(Button("cmdCancel")->text(), QStringLiteral("中止(&C)"));
  EXPECT_EQ(Button("cmdOk")->accessibleName(), QStringLiteral("設定"));
  EXPECT_EQ(Button("cmdIgnoreHost")->accessibleName(), QStringLiteral("設定確認"));
  EXPECT_EQ(Check("chkCodeChange")->accessibleName(), QStringLiteral("％？？をコード変換する。（例： %7e -> ~ ）"));
  EXPECT_EQ(Button("cmdColor", 2)->accessibleName(), QStringLiteral("月のグラフの色"));
}

TEST_F(FrmOptionsTest, MaximumCountTakesOneToThreeDigitsOnly) {
  frmOptions& options = Open();
  QLineEdit* count = MaxDisp();
  count->clear();
  TypeText(count, QStringLiteral("1a2b34"));
  EXPECT_EQ(count->text(), QStringLiteral("123"));  // letters dropped, no fourth digit
  count->clear();
  QInputMethodEvent composed;
  composed.setCommitString(QStringLiteral("５x"));
  QApplication::sendEvent(count, &composed);
  EXPECT_EQ(count->text(), QString());
  // Entering the box selects its whole text, however the focus comes.
  Tabs()->setCurrentIndex(2);
  count->setText(QStringLiteral("77"));
  Control<QComboBox>(&options, "cmbGraphPattern")->setFocus();
  count->setFocus(Qt::MouseFocusReason);
  QApplication::processEvents();
  EXPECT_EQ(count->selectedText(), QStringLiteral("77"));

  // Refused: nothing stored, the dialog stays open with the user's values.
  Check("chkSmallize")->click();
  for (const char* refused : {"0", "", "000"}) {
    SCOPED_TRACE(refused);
    count->setText(QString::fromLatin1(refused));
    Button("cmdOk")->click();
    ASSERT_FALSE(prompter.messages.empty());
    EXPECT_EQ(prompter.messages.back().text, "最大表示数には、１～９９９の数値を入力してください。");
    EXPECT_EQ(prompter.messages.back().title, "エラー");
    EXPECT_EQ(prompter.messages.back().icon, platform::MessageIcon::Error);
    EXPECT_TRUE(options.isVisible());
    EXPECT_EQ(ParamInt("MaxDisp"), 25);
    EXPECT_FALSE(ParamFlag("Smallize"));
  }
  EXPECT_EQ(prompter.messages.size(), 3u);
  EXPECT_TRUE(Check("chkSmallize")->isChecked());

  count->setText(QStringLiteral("999"));
  Button("cmdOk")->click();
  EXPECT_EQ(prompter.messages.size(), 3u);
  EXPECT_EQ(options.result(), QDialog::Accepted);
  EXPECT_FALSE(options.isVisible());
  EXPECT_EQ(ParamInt("MaxDisp"), 999);
  EXPECT_TRUE(ParamFlag("Smallize"));
}

TEST_F(FrmOptionsTest, ConfirmingUnchangedRewritesEveryValueAsItWas) {
  // A settings file with values away from the defaults, as a user leaves it.
  SetParam("MaxDisp", 7);
  SetParam("IgnoreIP", ParamInput{true});
  SetParam("SpecifyClass", ParamInput{false});
  SetParam("SpecifyHost", ParamInput{true});
  SetParam("IgnoreHost", ParamInput{true});
  SetParam("AutoTile", ParamInput{true});
  SetParam("GraphFore", "001002003");
  SetParam("FontName", "ＭＳ ゴシック");
  SetParam("FontSize", 12);
  SetParam("GraphPattern", 0);
  ASSERT_EQ(settings::GetParam("GraphDate").text, "235225115");
  const std::string before = dir.File("before.ini");
  ASSERT_TRUE(settings::SaveParamsToFileAt(before));
  settings::ClearParams();
  ASSERT_TRUE(settings::LoadParamsFromFileAt(before));

  Open();
  Button("cmdOk")->click();
  EXPECT_EQ(dialog->result(), QDialog::Accepted);
  const std::string after = dir.File("after.ini");
  ASSERT_TRUE(settings::SaveParamsToFileAt(after));
  EXPECT_EQ(testing::ReadFile(after), testing::ReadFile(before));
  EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(FrmOptionsTest, ConfirmingStoresEveryControlAndCancellingNothing) {
  frmOptions& options = Open();
  // Every box flipped from its default, the other option of both groups.
  const char* flags[] = {"chkIgnoreIp", "chkCodeChange",  "chkSmallize",    "chkIgnoreIndex", "chkIgnoreQuestion",
                         "chkIgnoreSharp", "chkIgnorePortNo", "chkSearchLike", "chkIgnorePage", "chkSpecifyHost"};
  for (const char* name : flags) Check(name)->click();
  for (int i = 0; i < 4; ++i) Check("chkStartUp", i)->click();
  Option("optSpecifyClass", 1)->setChecked(true);
  Option("optSpecifyHost", 1)->setChecked(true);
  Control<QComboBox>(&options, "cmbGraphPattern")->setCurrentIndex(7);

  // A cancelled chooser changes nothing; a chosen colour shows on the button.
  prompter.colors = {std::nullopt, RgbColor(1, 2, 3)};
  Button("cmdColor", 12)->click();
  EXPECT_EQ(static_cast<ColorButton*>(Button("cmdColor", 12))->faceColor(), RgbColor(255, 64, 128));
  Button("cmdColor", 12)->click();
  EXPECT_EQ(static_cast<ColorButton*>(Button("cmdColor", 12))->faceColor(), RgbColor(1, 2, 3));
  prompter.fonts = {std::nullopt, platform::FontChoice{"Noto Sans CJK JP", 14}};
  Button("cmdFontName")->click();
  EXPECT_EQ(Control<QLabel>(&options, "lblFontName")->text(), QStringLiteral("ＭＳ Ｐゴシック"));
  Button("cmdFontName")->click();
  ASSERT_EQ(prompter.fontRequests.size(), 2u);
  EXPECT_EQ(prompter.fontRequests[0].name, "ＭＳ Ｐゴシック");  // preset with the shown name and kept size
  EXPECT_EQ(prompter.fontRequests[0].size, 9);
  EXPECT_EQ(Control<QLabel>(&options, "lblFontName")->text(), QStringLiteral("Noto Sans CJK JP"));
  EXPECT_EQ(options.FontSize(), 14);
  // Nothing reaches the store before confirming.
  EXPECT_EQ(ParamText("GraphAgent"), "255064128");
  EXPECT_EQ(ParamText("FontName"), "ＭＳ Ｐゴシック");

  // Cancelling a second dialog loses only that dialog's changes.
  {
    frmOptions other(nullptr);
    Control<QCheckBox>(&other, "chkIgnorePage")->click();
    Control<QPushButton>(&other, "cmdCancel")->click();
    EXPECT_EQ(other.result(), QDialog::Rejected);
    EXPECT_TRUE(ParamFlag("IgnorePage"));
  }

  Button("cmdOk")->click();
  EXPECT_TRUE(ParamFlag("IgnoreIP"));
  EXPECT_FALSE(ParamFlag("SpecifyClass"));
  EXPECT_FALSE(ParamFlag("CodeChange"));
  EXPECT_TRUE(ParamFlag("Smallize"));
  EXPECT_FALSE(ParamFlag("IgnoreIndex"));
  EXPECT_FALSE(ParamFlag("IgnoreQuestion"));
  EXPECT_FALSE(ParamFlag("IgnoreSharp"));
  EXPECT_FALSE(ParamFlag("IgnorePortNo"));
  EXPECT_TRUE(ParamFlag("SearchLike"));
  EXPECT_FALSE(ParamFlag("IgnorePage"));
  EXPECT_TRUE(ParamFlag("SpecifyHost"));
  EXPECT_TRUE(ParamFlag("IgnoreHost"));
  for (const char* key : {"AutoFtp", "AutoAnalize", "AutoMaxSize", "AutoTile"}) EXPECT_TRUE(ParamFlag(key)) << key;
  EXPECT_EQ(ParamText("GraphAgent"), "001002003");
  EXPECT_EQ(ParamText("GraphMonth"), "255000000");
  EXPECT_EQ(ParamText("FontName"), "Noto Sans CJK JP");
  EXPECT_EQ(ParamInt("FontSize"), 14);
  EXPECT_EQ(ParamInt("GraphPattern"), 7);
}

TEST_F(FrmOptionsTest, SaveColorParamWritesThreeDigitGroupsThatReadBack) {
  frmOptions& options = Open();
  static_cast<ColorButton*>(Button("cmdColor", 9))->setFaceColor(RgbColor(0, 32, 128));
  options.SaveColorParam("GraphHost", 9);
  EXPECT_EQ(ParamText("GraphHost"), "000032128");
  EXPECT_EQ(ColorFromText(ParamText("GraphHost")), RgbColor(0, 32, 128));
  static_cast<ColorButton*>(Button("cmdColor", 0))->setFaceColor(RgbColor(255, 128, 64));
  options.SaveColorParam("GraphFore", 0);
  EXPECT_EQ(ParamText("GraphFore"), "255128064");
}

TEST_F(FrmOptionsTest, ALogFormatIsStoredOnlyWhenItDescribesReadableLines) {
  const std::string nginx = "log_format main '$remote_addr [$time_local] \"$request\" $status';";
  SetParam("LogFormat", ParamInput{nginx});
  frmOptions& options = Open();
  QLineEdit* format = LogFormat();
  EXPECT_EQ(format->text().toStdString(), nginx);
  EXPECT_FALSE(format->accessibleName().isEmpty());
  EXPECT_TRUE(Tabs()->widget(0)->isAncestorOf(format));

  Tabs()->setCurrentIndex(2);
  format->setText(QStringLiteral("%h %l %u \"%r\" %>s"));  // no time stamp
  Button("cmdOk")->click();
  ASSERT_EQ(prompter.messages.size(), 1u);
  analysis::LogLayout layout;
  std::string error;
  EXPECT_FALSE(analysis::CompileLogLayout(format->text().toStdString(), layout, error));
  EXPECT_EQ(prompter.messages.back().text, error);
  EXPECT_EQ(prompter.messages.back().title, "エラー");
  EXPECT_TRUE(options.isVisible());
  EXPECT_EQ(Tabs()->currentIndex(), 0);
  EXPECT_EQ(ParamText("LogFormat"), nginx);

  format->setText(QStringLiteral("  "));  // empty: found by itself again
  Button("cmdOk")->click();
  EXPECT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(options.result(), QDialog::Accepted);
  EXPECT_EQ(ParamText("LogFormat"), "");
}

TEST_F(FrmOptionsTest, TheKeyboardWalksAcrossTheTabsAndTheTabsSetTheHelpTopic) {
  Open();
  QTabWidget* tabs = Tabs();
  auto* timeZone = Control<QComboBox>(dialog.get(), "cmbTimeZone");
  timeZone->setFocus();
  PressKey(timeZone, Qt::Key_Tab);
  EXPECT_EQ(dialog->focusWidget(), Option("optRobotMode", 1));  // the chosen RobotMode
  EXPECT_EQ(tabs->currentIndex(), 0);
  PressKey(Option("optRobotMode", 1), Qt::Key_Tab);
  EXPECT_EQ(dialog->focusWidget(), LogFormat());
  EXPECT_EQ(tabs->currentIndex(), 0);
  PressKey(LogFormat(), Qt::Key_Tab);
  EXPECT_EQ(dialog->focusWidget(), Check("chkSpecifyHost"));
  EXPECT_EQ(tabs->currentIndex(), 1);
  EXPECT_EQ(dialog->HelpContextID(), 139);

  // The host choice is off: Tab goes on to the start-up boxes.
  PressKey(Check("chkSpecifyHost"), Qt::Key_Tab);
  EXPECT_EQ(dialog->focusWidget(), Check("chkStartUp", 0));

  Button("cmdOk")->setFocus();
  PressShiftTab(Button("cmdOk"));
  EXPECT_EQ(dialog->focusWidget(), Control<QComboBox>(dialog.get(), "cmbGraphPattern"));
  EXPECT_EQ(tabs->currentIndex(), 2);
  EXPECT_EQ(dialog->HelpContextID(), 71);

  // Back across to panel 2's last box; from the last button round to the
  // first box of panel 1, and back again.
  Button("cmdColor", 0)->setFocus();
  PressShiftTab(Button("cmdColor", 0));
  EXPECT_EQ(dialog->focusWidget(), Check("chkStartUp", 3));
  EXPECT_EQ(tabs->currentIndex(), 1);
  Button("cmdHelp")->setFocus();
  PressKey(Button("cmdHelp"), Qt::Key_Tab);
  EXPECT_EQ(dialog->focusWidget(), Check("chkIgnoreIp"));
  EXPECT_EQ(tabs->currentIndex(), 0);
  EXPECT_EQ(dialog->HelpContextID(), 47);
  PressShiftTab(Check("chkIgnoreIp"));
  EXPECT_EQ(dialog->focusWidget(), Button("cmdHelp"));
  EXPECT_EQ(tabs->currentIndex(), 0);

  tabs->setCurrentIndex(1);
  EXPECT_EQ(dialog->HelpContextID(), 139);
  tabs->setCurrentIndex(0);
  EXPECT_EQ(dialog->HelpContextID(), 47);
}

TEST_F(FrmOptionsTest, HelpOpensTheTopicOfTheTabInFrontOrReportsTheFailure) {
  Open();
  Tabs()->setCurrentIndex(2);
  Button("cmdHelp")->click();
  platform::HelpWindow* help = ShownHelpWindow();
  ASSERT_NE(help, nullptr);
  EXPECT_EQ(help->CurrentPage(), QStringLiteral("topic-71.html"));
  EXPECT_TRUE(prompter.messages.empty());

  platform::SetHelpFile(dir.File("vorel.hlp"));
  Button("cmdHelp")->click();
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0].title, "エラー");
  EXPECT_NE(prompter.messages[0].text.find(dir.File("vorel.hlp")), std::string::npos);
  EXPECT_TRUE(dialog->isVisible());
}

TEST_F(FrmOptionsTest, TheToolbarOpensTheDialogModallyAndANewColourRecoloursTheOpenWindowAtOnce) {
  SetParam("VisibleWindow", 2);  // only the month window
  UseLog(WriteLog("access.log", 40));
  frmMain& main = OpenFrame();
  main.mnuEditAnalize_Click(0);
  GraphWindow* month = main.Graph(GraphKind::Month);
  ASSERT_NE(month, nullptr);
  ASSERT_EQ(main.Graph(GraphKind::Host), nullptr);
  const QColor chosen(0, 200, 100);
  auto pixelsOf = [month](const QColor& colour) {
    const QImage image = month->picture()->image().toImage();
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) n += QColor(image.pixel(x, y)).rgb() == colour.rgb();
    return n;
  };
  ASSERT_EQ(pixelsOf(chosen), 0);
  ASSERT_GT(pixelsOf(QColor(255, 0, 0)), 0);

  QPointer<QWidget> shown;
  QWidget* owner = nullptr;
  prompter.colors = {RgbColor(0, 200, 100)};
  QTimer::singleShot(0, [&] {
    shown = QApplication::activeModalWidget();
    ASSERT_TRUE(shown);
    owner = shown->parentWidget();
    Control<QComboBox>(shown, "cmbGraphPattern")->setCurrentIndex(0);  // solid bars
    Control<QPushButton>(shown, "cmdColor", 2)->click();
    Control<QPushButton>(shown, "cmdOk")->click();
  });
  main.ToolbarButton("Options")->trigger();
  ASSERT_NE(owner, nullptr);
  EXPECT_TRUE(shown.isNull());  // the dialog lives for one run only
  EXPECT_EQ(owner, &main);
  EXPECT_EQ(ParamText("GraphMonth"), "000200100");
  EXPECT_EQ(month->colors().bar, RgbColor(0, 200, 100));
  // Redrawn at once, the new fill pattern with it: the columns are solid.
  EXPECT_GT(pixelsOf(chosen), 2000);
  EXPECT_EQ(pixelsOf(QColor(255, 0, 0)), 0);

  // Cancelling changes no window.
  prompter.colors = {RgbColor(9, 9, 9)};
  QTimer::singleShot(0, [&] {
    QWidget* again = QApplication::activeModalWidget();
    ASSERT_NE(again, nullptr);
    Control<QPushButton>(again, "cmdColor", 2)->click();
    Control<QPushButton>(again, "cmdCancel")->click();
  });
  main.MenuItem("mnuViewOptions")->trigger();
  EXPECT_EQ(month->colors().bar, RgbColor(0, 200, 100));
  EXPECT_EQ(ParamText("GraphMonth"), "000200100");
}

}  // namespace
}  // namespace vorel::ui

namespace vorel::ui {
namespace {

// The zone of server logs: offered by caption or by name, typed freely, an
// unknown name refused with the dialog left open.
TEST_F(FrmOptionsTest, TheTimeZoneIsChosenOrTypedAndAnUnknownNameIsRefused) {
  struct Row {
    const char* stored;   // TimeZone before the dialog opens
    QString shown;        // what the box shows for it
    QString typed;        // what the user leaves in the box
    const char* result;   // TimeZone after OK; nullptr: refused
  };
  const Row rows[] = {
      {"", QString::fromUtf8(kComputerZoneCaption), QString::fromUtf8(kLoggedTimeCaption), "log"},
      {"log", QString::fromUtf8(kLoggedTimeCaption), QStringLiteral("Europe/Berlin"), "Europe/Berlin"},
      {"Asia/Tokyo", QStringLiteral("Asia/Tokyo"), QStringLiteral(" +09:00 "), "+09:00"},
      {"+09:00", QStringLiteral("+09:00"), QString::fromUtf8(kComputerZoneCaption), ""},
      {"Asia/Tokyo", QStringLiteral("Asia/Tokyo"), QStringLiteral("Asia/Tokio"), nullptr},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.typed.toStdString());
    SetParam("TimeZone", ParamInput{std::string(row.stored)});
    prompter.messages.clear();
    frmOptions& options = Open();
    auto* box = Control<QComboBox>(&options, "cmbTimeZone");
    EXPECT_TRUE(box->isEditable());
    EXPECT_FALSE(box->accessibleName().isEmpty());
    EXPECT_GT(box->findText(QStringLiteral("America/New_York")), 1);
    EXPECT_EQ(box->currentText(), row.shown);
    box->setEditText(row.typed);
    Button("cmdOk")->click();
    if (row.result) {
      EXPECT_TRUE(prompter.messages.empty());
      EXPECT_EQ(options.result(), QDialog::Accepted);
      EXPECT_EQ(ParamText("TimeZone"), row.result);
    } else {
      ASSERT_EQ(prompter.messages.size(), 1u);
      EXPECT_NE(prompter.messages[0].text.find("Asia/Tokio"), std::string::npos);
      EXPECT_TRUE(options.isVisible());
      EXPECT_EQ(ParamText("TimeZone"), row.stored);
    }
  }
}

}  // namespace
}  // namespace vorel::ui
