// The FTP dialog: its fields, the checks before a download, the download
// itself against a real server on 127.0.0.1, and the start-up download.
#include "ui/ftp/frm_ftp.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCursor>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTextBrowser>
#include <QTimer>
#include <filesystem>

#include "platform/ftp_client.h"
#include "settings/settings_file.h"
#include "support/ftp_test_server.h"
#include "ui/main/startup_sequence.h"
#include "ui/results/frm_base.h"
#include "ui/ui_test_support.h"

namespace vorel::ui {
namespace {

namespace fs = std::filesystem;
using testing::FtpTestServer;

class FrmFtpTest : public UiTest {
 protected:
  void TearDown() override {
    platform::SetFtpTrustedCertificatesForTesting("");
    UiTest::TearDown();
  }

  // The settings of a user of `server` who downloads into `folder`.
  void UseServer(const FtpTestServer& server, const std::string& folder) {
    settings::SetParam("FtpServerName", server.address());
    settings::SetParam("FtpUserName", FtpTestServer::kUser);
    settings::SetParam("FtpPassword", FtpTestServer::kPassword);
    settings::SetParam("FtpHostDir", "public_html");
    settings::SetParam("FtpLocalFolder", folder);
    settings::SetParam("FtpFileName", "access.log");
  }

  static QLineEdit* Box(frmFtp& dialog, const char* name) {
    return dialog.findChild<QLineEdit*>(QString::fromLatin1(name));
  }
  static QCheckBox* Check(frmFtp& dialog, const char* name) {
    return dialog.findChild<QCheckBox*>(QString::fromLatin1(name));
  }
  static QPushButton* Button(frmFtp& dialog, const char* name) {
    return dialog.findChild<QPushButton*>(QString::fromLatin1(name));
  }

  static bool FtpDialogOpen() {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w->objectName() == QLatin1String("frmFtp") && w->isVisible()) return true;
    return false;
  }

  const std::string log = testing::Sjis("1#(日記)2024/01/02 03:04:05\r\n2#Mozilla\r\n3#\r\n4#(10.0.0.1)\r\n");
};

TEST_F(FrmFtpTest, TheDialogShowsEveryFieldNamedAndLoadedFromTheSettings) {
  settings::SetParam("FtpServerName", "ftp.example.ne.jp");
  settings::SetParam("FtpUserName", "taro");
  settings::SetParam("FtpPassword", "pw");
  settings::SetParam("FtpSavePassword", settings::ParamInput{true});
  settings::SetParam("FtpMessage", settings::ParamInput{false});
  settings::SetParam("FtpLogOverwrite", settings::ParamInput{true});
  frmFtp dialog(nullptr);
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("簡易ＦＴＰ"));

  EXPECT_EQ(Box(dialog, "txtServerName")->text(), QStringLiteral("ftp.example.ne.jp"));
  EXPECT_EQ(Box(dialog, "txtUserName")->text(), QStringLiteral("taro"));
  EXPECT_EQ(Box(dialog, "txtPassword")->text(), QStringLiteral("pw"));
  EXPECT_EQ(Box(dialog, "txtHostDir")->text(), QStringLiteral("~/public_html"));
  EXPECT_EQ(Box(dialog, "txtLocalDir")->text(), QString::fromStdString(dir.path()));
  EXPECT_EQ(Box(dialog, "txtLogFileName")->text(), QStringLiteral("access.log"));
  EXPECT_TRUE(Check(dialog, "chkSavePassword")->isChecked());
  EXPECT_FALSE(Check(dialog, "chkComMessage")->isChecked());
  EXPECT_TRUE(Check(dialog, "chkOverwrite")->isChecked());

  // The password shows stars and takes 16 characters at most.
  QLineEdit* password = Box(dialog, "txtPassword");
  EXPECT_EQ(password->echoMode(), QLineEdit::Password);
  EXPECT_EQ(password->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, password), '*');
  password->clear();
  TypeText(password, QStringLiteral("abcdefghijklmnopqrst"));
  EXPECT_EQ(password->text(), QStringLiteral("abcdefghijklmnop"));

  const std::pair<const char*, const char*> labels[] = {
      {"txtServerName", "サーバー名："},       {"txtUserName", "ユーザー名："},
      {"txtPassword", "パスワード："},         {"txtHostDir", "サーバーディレクトリ："},
      {"txtLocalDir", "ローカルフォルダ："},   {"txtLogFileName", "ログファイル名："}};
  for (const auto& [box, caption] : labels) {
    const QLabel* buddyLabel = nullptr;
    for (QLabel* label : dialog.findChildren<QLabel*>())
      if (label->buddy() == Box(dialog, box)) buddyLabel = label;
    ASSERT_NE(buddyLabel, nullptr) << box;
    EXPECT_EQ(buddyLabel->text(), QString::fromUtf8(caption));
    EXPECT_FALSE(Box(dialog, box)->accessibleName().isEmpty()) << box;
  }
  EXPECT_EQ(Check(dialog, "chkSavePassword")->text(), QStringLiteral("パスワードを保存する。"));
  EXPECT_EQ(Check(dialog, "chkComMessage")->text(), QStringLiteral("ＦＴＰの完了メッセージを表示する。"));
  EXPECT_EQ(Check(dialog, "chkOverwrite")->text(), QStringLiteral("ログファイルの上書き確認メッセージを表示する。"));
  EXPECT_EQ(Button(dialog, "cmdBrows")->text(), QStringLiteral("参照(&B)..."));
  EXPECT_EQ(Button(dialog, "cmdConnect")->text(), QStringLiteral("接続(&O)"));
  EXPECT_EQ(Button(dialog, "cmdCancel")->text(), QStringLiteral("中止(&C)"));
  EXPECT_EQ(Button(dialog, "cmdHelp")->text(), QStringLiteral("ヘルプ(&H)..."));
  EXPECT_EQ(Button(dialog, "cmdSave")->text(), QStringLiteral("設定保存(&S)"));
  EXPECT_TRUE(Button(dialog, "cmdConnect")->isDefault());
  for (QPushButton* button : dialog.findChildren<QPushButton*>())
    EXPECT_FALSE(button->accessibleName().isEmpty()) << button->objectName().toStdString();

  // A text box that gets the focus has its whole text selected.
  dialog.show();
  QApplication::setActiveWindow(&dialog);
  Box(dialog, "txtHostDir")->setFocus(Qt::TabFocusReason);
  QApplication::processEvents();
  EXPECT_EQ(Box(dialog, "txtHostDir")->selectedText(), QStringLiteral("~/public_html"));
  Box(dialog, "txtUserName")->setFocus(Qt::MouseFocusReason);
  QApplication::processEvents();
  EXPECT_EQ(Box(dialog, "txtUserName")->selectedText(), QStringLiteral("taro"));
}

TEST_F(FrmFtpTest, EmptyFieldsGiveOneMessageOfSixLinesInOrder) {
  frmFtp dialog(nullptr);
  for (QLineEdit* box : dialog.findChildren<QLineEdit*>()) box->setText(QStringLiteral("  "));
  dialog.cmdConnect_Click();
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0].text,
            "\r\nサーバー名を入力してください。\r\nユーザー名を入力してください。\r\nパスワードを入力してください。"
            "\r\nサーバーディレクトリを入力してください。\r\nローカルフォルダを入力してください。"
            "\r\nログファイル名を入力してください。");
  EXPECT_EQ(prompter.messages[0].title, "エラー");
  EXPECT_EQ(prompter.messages[0].icon, platform::MessageIcon::Error);
  EXPECT_FALSE(dialog.Downloaded());
  // Nothing was saved: the check comes first.
  EXPECT_EQ(settings::ParamText("FtpHostDir"), "~/public_html");
}

TEST_F(FrmFtpTest, AMissingFolderIsAskedForBeforeTheOtherChecks) {
  frmFtp dialog(nullptr);
  const std::string folder = dir.File("logs/2024");
  Box(dialog, "txtServerName")->clear();
  Box(dialog, "txtLocalDir")->setText(QString::fromStdString(folder));

  // No: the command ends without another word.
  prompter.answers = {platform::MessageAnswer::No};
  dialog.cmdConnect_Click();
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0].text, folder + "\r\nフォルダが存在しません。\r\n\r\n作成しますか？");
  EXPECT_EQ(prompter.messages[0].title, kProgramTitle);
  EXPECT_EQ(prompter.messages[0].icon, platform::MessageIcon::Question);
  EXPECT_EQ(prompter.messages[0].buttons, platform::MessageButtons::YesNo);
  EXPECT_EQ(prompter.messages[0].defaultAnswer, platform::MessageAnswer::No);
  EXPECT_FALSE(fs::exists(dir.File("logs")));

  // Yes: both levels are made, then the missing fields are reported.
  prompter.messages.clear();
  prompter.answers = {platform::MessageAnswer::Yes};
  dialog.cmdConnect_Click();
  ASSERT_EQ(prompter.messages.size(), 2u);
  EXPECT_TRUE(fs::is_directory(folder));
  EXPECT_EQ(prompter.messages[1].text,
            "\r\nサーバー名を入力してください。\r\nユーザー名を入力してください。\r\nパスワードを入力してください。");
  EXPECT_TRUE(fs::is_empty(folder));

  // A level that cannot be made.
  dir.Write("plain", "x");
  prompter.messages.clear();
  prompter.answers = {platform::MessageAnswer::Yes};
  Box(dialog, "txtLocalDir")->setText(QString::fromStdString(dir.File("plain/sub")));
  dialog.cmdConnect_Click();
  ASSERT_EQ(prompter.messages.size(), 2u);
  EXPECT_EQ(prompter.messages[1].text, dir.File("plain/sub") + "\r\nフォルダが作成できませんでした。");
  EXPECT_EQ(prompter.messages[1].title, "エラー");
}

TEST_F(FrmFtpTest, DownloadWithAndWithoutCompletionMessageAndOverwriteQuestion) {
  FtpTestServer server;
  server.Put("public_html/access.log", log);
  UseServer(server, dir.File("down"));
  fs::create_directory(dir.File("down"));
  settings::SetParam("FtpMessage", settings::ParamInput{true});
  settings::SetParam("FtpLogOverwrite", settings::ParamInput{false});

  {
    frmFtp dialog(nullptr);
    dialog.show();
    dialog.cmdConnect_Click();
    EXPECT_TRUE(dialog.Downloaded());
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
  }
  EXPECT_EQ(testing::ReadFile(dir.File("down/access.log")), log);
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0].text, "access.log のダウンロードが完了しました。");
  EXPECT_EQ(prompter.messages[0].title, "完了");
  EXPECT_EQ(prompter.messages[0].icon, platform::MessageIcon::Information);
  // The password was not to be kept.
  EXPECT_EQ(settings::ParamText("FtpPassword"), "");

  // The overwrite question comes only with the box checked; No keeps the file.
  dir.Write("down/access.log", "old\r\n");
  prompter.messages.clear();
  {
    frmFtp dialog(nullptr);
    Box(dialog, "txtPassword")->setText(QString::fromLatin1(FtpTestServer::kPassword));
    Check(dialog, "chkComMessage")->setChecked(false);
    Check(dialog, "chkOverwrite")->setChecked(true);
    Check(dialog, "chkSavePassword")->setChecked(true);
    prompter.answers = {platform::MessageAnswer::No};
    dialog.cmdConnect_Click();
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text,
              dir.File("down/access.log") + "\r\nこのファイルはすでに存在します。\r\n\r\n上書きしますか？");
    EXPECT_EQ(prompter.messages[0].defaultAnswer, platform::MessageAnswer::No);
    EXPECT_EQ(testing::ReadFile(dir.File("down/access.log")), "old\r\n");
    EXPECT_FALSE(dialog.Downloaded());

    prompter.answers = {platform::MessageAnswer::Yes};
    dialog.cmdConnect_Click();
    EXPECT_TRUE(dialog.Downloaded());
    EXPECT_EQ(testing::ReadFile(dir.File("down/access.log")), log);
    // Without the completion message the only message was the question.
    EXPECT_EQ(prompter.messages.size(), 2u);
    EXPECT_EQ(settings::ParamText("FtpPassword"), FtpTestServer::kPassword);
  }

  dir.Write("down/access.log", "old\r\n");
  prompter.messages.clear();
  {
    frmFtp dialog(nullptr);
    Check(dialog, "chkOverwrite")->setChecked(false);
    dialog.cmdConnect_Click();
    EXPECT_TRUE(dialog.Downloaded());
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(testing::ReadFile(dir.File("down/access.log")), log);
  }
}

TEST_F(FrmFtpTest, AFailedDownloadKeepsTheDialogOpenAndTheSettingsSaved) {
  FtpTestServer server;
  UseServer(server, dir.path());
  frmFtp dialog(nullptr);
  dialog.show();
  Box(dialog, "txtHostDir")->setText(QStringLiteral(" wrong_dir "));
  dialog.cmdConnect_Click();
  EXPECT_FALSE(dialog.Downloaded());
  EXPECT_TRUE(dialog.isVisible());
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0].text, "ディレクトリの移動ができませんでした。\r\nError Code: 21\r\n( wrong_dir )");
  // The texts are kept as shown, spaces and all.
  EXPECT_EQ(settings::ParamText("FtpHostDir"), " wrong_dir ");
  EXPECT_EQ(settings::ParamText("FtpPassword"), FtpTestServer::kPassword);
  EXPECT_FALSE(fs::exists(dir.File("access.log")));
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(FrmFtpTest, CancelAndTheCloseBoxForgetAPasswordNotToBeKept) {
  settings::SetParam("FtpPassword", "pw");
  settings::SetParam("FtpSavePassword", settings::ParamInput{false});
  {
    frmFtp dialog(nullptr);
    dialog.show();
    Box(dialog, "txtServerName")->setText(QStringLiteral("changed"));
    Button(dialog, "cmdCancel")->click();
    EXPECT_FALSE(dialog.isVisible());
  }
  EXPECT_EQ(settings::ParamText("FtpPassword"), "");
  EXPECT_EQ(settings::ParamText("FtpServerName"), "");

  settings::SetParam("FtpPassword", "pw");
  {
    frmFtp dialog(nullptr);
    dialog.show();
    dialog.close();
    EXPECT_FALSE(dialog.isVisible());
  }
  EXPECT_EQ(settings::ParamText("FtpPassword"), "");

  // A password to be kept stays; the save command stores the fields.
  settings::SetParam("FtpSavePassword", settings::ParamInput{true});
  settings::SetParam("FtpPassword", "pw");
  {
    frmFtp dialog(nullptr);
    dialog.show();
    Box(dialog, "txtUserName")->setText(QStringLiteral(" hanako "));
    Check(dialog, "chkComMessage")->setChecked(false);
    Button(dialog, "cmdSave")->click();
    EXPECT_TRUE(dialog.isVisible());
    PressKey(&dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
  }
  EXPECT_EQ(settings::ParamText("FtpPassword"), "pw");
  EXPECT_EQ(settings::ParamText("FtpUserName"), " hanako ");
  EXPECT_FALSE(settings::ParamFlag("FtpMessage"));
}

TEST_F(FrmFtpTest, BrowseFillsTheLocalFolderAndHelpOpensItsTopic) {
  frmFtp dialog(nullptr);
  prompter.folders = {std::string("/srv/logs"), std::nullopt};
  Button(dialog, "cmdBrows")->click();
  ASSERT_EQ(prompter.folderRequests.size(), 1u);
  EXPECT_EQ(prompter.folderRequests[0].title, "ローカルフォルダ：");
  EXPECT_EQ(prompter.folderRequests[0].initialPath, dir.path());
  EXPECT_EQ(Box(dialog, "txtLocalDir")->text(), QStringLiteral("/srv/logs"));
  Button(dialog, "cmdBrows")->click();
  EXPECT_EQ(Box(dialog, "txtLocalDir")->text(), QStringLiteral("/srv/logs"));

  Button(dialog, "cmdHelp")->click();
  QWidget* help = nullptr;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->objectName() == QLatin1String("frmHelp") && w->isVisible()) help = w;
  ASSERT_NE(help, nullptr);
  // The FTP topic, which tells how to write the server's name.
  EXPECT_TRUE(help->findChild<QTextBrowser*>(QStringLiteral("txtHelp"))->toPlainText().contains(QStringLiteral("ftps://")));
  EXPECT_TRUE(prompter.messages.empty());

  platform::SetHelpFile(dir.File("vorel.hlp"));
  Button(dialog, "cmdHelp")->click();
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0].title, "エラー");
}

TEST_F(FrmFtpTest, TheMenuAndTheToolbarOpenTheDialogThatFetchesTheLog) {
  FtpTestServer server;
  server.Put("public_html/access.log", log);
  UseServer(server, dir.path());
  settings::SetParam("FtpPassword", "");
  settings::SetParam("FtpMessage", settings::ParamInput{false});
  frmMain& main = OpenFrame();

  QString caption;
  bool modal = false;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<frmFtp*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    caption = dialog->windowTitle();
    modal = dialog->isModal();
    dialog->findChild<QLineEdit*>(QStringLiteral("txtPassword"))->setText(QString::fromLatin1(FtpTestServer::kPassword));
    dialog->findChild<QPushButton*>(QStringLiteral("cmdConnect"))->click();
  });
  main.MenuItem("mnuEditFtp")->trigger();
  EXPECT_EQ(caption, QStringLiteral("簡易ＦＴＰ"));
  EXPECT_TRUE(modal);
  EXPECT_TRUE(prompter.messages.empty());
  EXPECT_EQ(testing::ReadFile(dir.File("access.log")), log);
  EXPECT_FALSE(FtpDialogOpen());

  QTimer::singleShot(0, [] {
    QWidget* dialog = QApplication::activeModalWidget();
    ASSERT_NE(dialog, nullptr);
    PressKey(dialog, Qt::Key_Escape);
  });
  main.ToolbarButton("FtpGet")->trigger();
  EXPECT_FALSE(FtpDialogOpen());
}

TEST_F(FrmFtpTest, AfterADownloadTheSummaryNamesTheFetchedLogUntilItIsAnalysed) {
  FtpTestServer server;
  server.Put("public_html/access.log", log);
  const std::string folder = dir.File("fetched");
  fs::create_directories(folder);
  UseServer(server, folder);
  settings::SetParam("FtpMessage", settings::ParamInput{false});
  settings::SetParam("VisibleWindow", 1);
  frmMain& main = OpenFrame();
  frmBase* base = main.BaseWindow();
  const std::string fetched = folder + "/access.log";

  QTimer::singleShot(0, [] {
    auto* dialog = qobject_cast<frmFtp*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    dialog->findChild<QPushButton*>(QStringLiteral("cmdConnect"))->click();
  });
  main.MenuItem("mnuEditFtp")->trigger();
  EXPECT_TRUE(prompter.messages.empty());
  EXPECT_EQ(base->cmbFileName->currentText(), QString::fromStdString(fetched));
  EXPECT_EQ(settings::ParamText("LogFile", 1), fetched);
  EXPECT_TRUE(base->lblNotAnalysed->isVisibleTo(base));

  base->chkSpecifyDate->setChecked(true);
  base->chkSpecifyPage->setChecked(true);
  main.AnalizeItem(0)->trigger();
  EXPECT_TRUE(prompter.messages.empty());
  EXPECT_EQ(base->lblTotalAccess->text(), QStringLiteral("1"));
  EXPECT_TRUE(base->lblNotAnalysed->isHidden());
}

TEST_F(FrmFtpTest, StartUpDownloadNeedsASavedPasswordAndLeavesNoDialog) {
  FtpTestServer server;
  server.Put("public_html/access.log", log);
  const std::string settingsText = "[vorel]\r\n\r\nAutoFtp=True\r\nFtpServerName=" + server.address() +
                                   "\r\nFtpUserName=" + FtpTestServer::kUser +
                                   "\r\nFtpHostDir=public_html\r\nFtpLocalFolder=" + dir.File("logs") +
                                   "\r\nFtpMessage=False\r\n";
  fs::create_directory(dir.File("logs"));
  dir.Write("vorel.ini", settingsText);
  std::unique_ptr<frmMain> main = Main(StartupRequest{"", std::nullopt});
  ASSERT_NE(main, nullptr);
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0].text, "\r\nパスワードを入力してください。");
  EXPECT_FALSE(fs::exists(dir.File("logs/access.log")));
  EXPECT_FALSE(FtpDialogOpen());
  main.reset();

  prompter.messages.clear();
  dir.Write("vorel.ini", settingsText + "FtpPassword=" + settings::ScramblePassword(FtpTestServer::kPassword) + "\r\n");
  settings::ClearParams();
  main = Main(StartupRequest{"", std::nullopt});
  ASSERT_NE(main, nullptr);
  EXPECT_TRUE(prompter.messages.empty());
  EXPECT_EQ(testing::ReadFile(dir.File("logs/access.log")), log);
  EXPECT_FALSE(FtpDialogOpen());
  EXPECT_EQ(settings::ParamText("FtpPassword"), FtpTestServer::kPassword);
}

TEST_F(FrmFtpTest, FtpsDownloadFromTheDialog) {
  FtpTestServer server(true);
  server.Put("public_html/access.log", log);
  platform::SetFtpTrustedCertificatesForTesting(server.certificate());
  UseServer(server, dir.path());
  settings::SetParam("FtpServerName", "ftps://" + server.address());
  settings::SetParam("FtpMessage", settings::ParamInput{false});
  frmFtp dialog(nullptr);
  // Events keep being handled during the transfer, under the wait cursor.
  bool waitCursorDuringTransfer = false;
  QTimer::singleShot(0, [&] {
    const QCursor* cursor = QGuiApplication::overrideCursor();
    waitCursorDuringTransfer = cursor && cursor->shape() == Qt::WaitCursor;
  });
  dialog.cmdConnect_Click();
  EXPECT_TRUE(waitCursorDuringTransfer);
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
  EXPECT_TRUE(dialog.Downloaded());
  EXPECT_TRUE(prompter.messages.empty());
  EXPECT_EQ(testing::ReadFile(dir.File("access.log")), log);
}

}  // namespace
}  // namespace vorel::ui
