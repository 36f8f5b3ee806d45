// The list window: the host filter list as loaded, its layout when resized,
// closing, and handing the classification file to an editor.
#include "ui/options/frm_ign_list.h"

#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTextDocument>
#include <QTimer>

#include "options_test_support.h"
#include "platform/desktop.h"
#include "ui/options/frm_options.h"

namespace vorel::ui {
namespace {

constexpr const char* kRestart = "編集した内容を有効にするには、ＨＰアクセス解析ソフトを再起動してください。";

class FrmIgnListTest : public UiTest {
 protected:
  void UseClassFile(const std::string& text) {
    dir.Write("vorel.dat", testing::Sjis(text));
    analysis::ClearClassLists();
    analysis::LoadClassLists();
  }

  platform::ScriptedDesktop desktop;
  platform::ScopedDesktop scopedDesktop{desktop};
};

TEST_F(FrmIgnListTest, ShowsEveryListedHostOnALineOrThePlaceholder) {
  UseClassFile("[vorel]\r\nOS=Win,Windows\r\nIgnoreHost=proxy.Example.ne.jp\r\nIgnoreHost=ホスト.jp\r\n");
  EXPECT_EQ(HostListText(), "proxy.example.ne.jp\r\nホスト.jp\r\n");
  {
    frmIgnList list(nullptr);
    EXPECT_EQ(list.windowTitle(), QStringLiteral("ホスト名一覧"));
    auto* text = Control<QPlainTextEdit>(&list, "txtIgnList");
    EXPECT_EQ(text->toPlainText(), QStringLiteral("proxy.example.ne.jp\nホスト.jp\n"));
    EXPECT_EQ(text->document()->blockCount(), 3);  // two lines and the empty one after the last break
    EXPECT_FALSE(text->toPlainText().contains(QStringLiteral("設定されている項目はありません。")));
  }

  UseClassFile("[vorel]\r\n; IgnoreHost=commented.out\r\n");
  EXPECT_EQ(HostListText(), "設定されている項目はありません。");
  frmIgnList empty(nullptr);
  EXPECT_EQ(Control<QPlainTextEdit>(&empty, "txtIgnList")->toPlainText(), QStringLiteral("設定されている項目はありません。"));
}

TEST_F(FrmIgnListTest, ResizingPlacesTheListAndButtonsByTheirMargins) {
  frmIgnList list(nullptr);
  list.show();
  list.resize(600, 400);
  QApplication::processEvents();
  auto* text = Control<QPlainTextEdit>(&list, "txtIgnList");
  auto* edit = Control<QPushButton>(&list, "cmdEdit");
  auto* close = Control<QPushButton>(&list, "cmdClose");
  auto* help = Control<QPushButton>(&list, "cmdHelp");
  const QRect client = list.contentsRect();
  // Twips at 15 a pixel: width W - 200, height H - 600, buttons at H - 400,
  // "閉じる" at W - 2460 and "ヘルプ" at W - 1140.
  EXPECT_EQ(text->width(), (client.width() * 15 - 200) / 15);
  EXPECT_EQ(text->height(), (client.height() * 15 - 600) / 15);
  for (QPushButton* button : {edit, close, help}) EXPECT_EQ(button->y(), (client.height() * 15 - 400) / 15);
  EXPECT_EQ(close->x(), (client.width() * 15 - 2460) / 15);
  EXPECT_EQ(help->x(), (client.width() * 15 - 1140) / 15);
  const int editLeft = edit->x();
  list.resize(700, 500);
  QApplication::processEvents();
  EXPECT_EQ(edit->x(), editLeft);
  EXPECT_EQ(help->x(), (list.contentsRect().width() * 15 - 1140) / 15);
  // Nothing overlaps, even at the smallest size.
  list.resize(list.minimumSize());
  QApplication::processEvents();
  EXPECT_LE(edit->geometry().right(), close->x());
  EXPECT_LE(close->geometry().right(), help->x());
  EXPECT_LE(help->geometry().right(), list.width());
  EXPECT_LE(text->geometry().bottom(), edit->y());
}

TEST_F(FrmIgnListTest, OpensModallyFromTheOptionsDialogClosesByEnterOrEscapeAndHelpsWithItsTopic) {
  settings::SetParam("SpecifyHost", settings::ParamInput{true});
  frmOptions options(nullptr);
  QPointer<QWidget> seen;
  QWidget* owner = nullptr;
  bool isDefault = false;
  QTimer::singleShot(0, [&] {
    seen = QApplication::activeModalWidget();
    ASSERT_TRUE(seen);
    owner = seen->parentWidget();
    isDefault = Control<QPushButton>(seen, "cmdClose")->isDefault();
    PressKey(Control<QPlainTextEdit>(seen, "txtIgnList"), Qt::Key_Escape);
  });
  Control<QPushButton>(&options, "cmdIgnoreHost")->click();
  EXPECT_EQ(owner, &options);
  EXPECT_TRUE(isDefault);
  EXPECT_TRUE(seen.isNull());

  bool accepted = false;
  QTimer::singleShot(0, [&] {
    auto* list = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    ASSERT_TRUE(list);
    QObject::connect(list, &QDialog::accepted, [&] { accepted = true; });
    auto* text = Control<QPlainTextEdit>(list, "txtIgnList");
    text->setFocus();
    PressKey(text, Qt::Key_Return, QStringLiteral("\r"));
    if (list->isVisible()) list->reject();
  });
  Control<QPushButton>(&options, "cmdIgnoreHost")->click();
  EXPECT_TRUE(accepted);

  frmIgnList list(nullptr);
  Control<QPushButton>(&list, "cmdHelp")->click();
  platform::HelpWindow* help = ShownHelpWindow();
  ASSERT_NE(help, nullptr);
  EXPECT_EQ(help->CurrentPage(), QStringLiteral("topic-120.html"));
  EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(FrmIgnListTest, EditShowsTheRestartNoticeFirstThenOpensTheFileByAssociationOrAnEditor) {
  const std::string path = dir.File("vorel.dat");
  EXPECT_EQ(ClassFileToEdit(), path);
  // What the desktop had been asked by the time each message showed.
  std::vector<size_t> callsAtMessage;
  prompter.onMessage = [&](const platform::MessageRequest&) {
    callsAtMessage.push_back(desktop.opened.size() + desktop.started.size() + desktop.lookedUp.size());
  };
  frmIgnList list(nullptr);
  auto* edit = Control<QPushButton>(&list, "cmdEdit");

  // Associated: the desktop opens the file with its application.
  desktop.associatedProgram = "org.gnome.TextEditor.desktop";
  edit->click();
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0].text, kRestart);
  EXPECT_EQ(prompter.messages[0].title, "確認");
  EXPECT_EQ(prompter.messages[0].icon, platform::MessageIcon::Information);
  EXPECT_EQ(prompter.messages[0].buttons, platform::MessageButtons::Ok);
  EXPECT_EQ(callsAtMessage[0], 0u);
  EXPECT_EQ(desktop.lookedUp, std::vector<std::string>{path});
  EXPECT_EQ(desktop.opened, std::vector<std::string>{path});
  EXPECT_TRUE(desktop.started.empty());

  // Nothing associated: a plain-text editor found here gets the path.
  desktop.associatedProgram.reset();
  desktop.textEditor = "/usr/bin/mousepad";
  edit->click();
  ASSERT_EQ(prompter.messages.size(), 2u);
  EXPECT_EQ(prompter.messages[1].text, kRestart);
  ASSERT_EQ(desktop.started.size(), 1u);
  EXPECT_EQ(desktop.started[0].program, "/usr/bin/mousepad");
  EXPECT_EQ(desktop.started[0].arguments, std::vector<std::string>{path});
  EXPECT_EQ(desktop.opened.size(), 1u);

  // No editor either: the notice, then an error naming the file on its own line.
  desktop.textEditor.reset();
  edit->click();
  ASSERT_EQ(prompter.messages.size(), 4u);
  EXPECT_EQ(prompter.messages[2].text, kRestart);
  EXPECT_EQ(prompter.messages[3].title, "エラー");
  EXPECT_EQ(prompter.messages[3].icon, platform::MessageIcon::Error);
  EXPECT_NE(prompter.messages[3].text.find("\r\n" + path + "\r\n"), std::string::npos);
  EXPECT_EQ(desktop.started.size(), 1u);

  // An editor that will not start is reported the same way.
  desktop.textEditor = "/usr/bin/broken-editor";
  desktop.startSucceeds = false;
  edit->click();
  ASSERT_EQ(prompter.messages.size(), 6u);
  EXPECT_EQ(prompter.messages[4].text, kRestart);
  EXPECT_EQ(prompter.messages[5].title, "エラー");
  EXPECT_EQ(desktop.started.size(), 2u);

  // An associated application that fails to open is reported with the path.
  desktop.associatedProgram = "broken.desktop";
  desktop.openSucceeds = false;
  edit->click();
  ASSERT_EQ(prompter.messages.size(), 8u);
  EXPECT_EQ(prompter.messages[6].text, kRestart);
  EXPECT_EQ(prompter.messages[7].text, "解析情報ファイルを開けませんでした。\r\n" + path);
  // Every notice came before the desktop was asked anything for that press.
  // Calls so far: press 1 looked up and opened, press 2 looked up and started,
  // press 3 looked up, press 4 looked up and started.
  ASSERT_EQ(callsAtMessage.size(), 8u);
  EXPECT_EQ(callsAtMessage[1], 2u);
  EXPECT_EQ(callsAtMessage[2], 4u);
  EXPECT_EQ(callsAtMessage[4], 5u);
  EXPECT_EQ(callsAtMessage[6], 7u);
}

}  // namespace
}  // namespace vorel::ui
