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

// One press of "編集(&E)" with the desktop as the row sets it up: what is
// opened or started, and the messages that follow, in order.
struct EditRow {
  const char* associated;  // the associated application, or null
  bool openSucceeds;
  const char* editor;      // the text editor found, or null
  bool startSucceeds;
  bool opened;
  bool started;
  std::vector<std::string> messages;  // kRestartNotice, or the start of an error
};

TEST_F(FrmIgnListTest, EditOpensTheFileAndOnlyThenSaysARestartIsNeededOrSaysAloneWhyItCouldNot) {
  const std::string path = dir.File("vorel.dat");
  EXPECT_EQ(ClassFileToEdit(), path);
  const std::string noEditor = "解析情報ファイルを開くテキストエディタが見つかりませんでした。\r\n" + path + "\r\n";
  const std::string notOpened = "解析情報ファイルを開けませんでした。\r\n" + path;
  const EditRow rows[] = {
      {"org.gnome.TextEditor.desktop", true, nullptr, true, true, false, {kRestartNotice}},
      {nullptr, true, "/usr/bin/mousepad", true, false, true, {kRestartNotice}},
      {nullptr, true, nullptr, true, false, false, {noEditor}},
      {nullptr, true, "/usr/bin/broken-editor", false, false, true, {noEditor}},
      {"broken.desktop", false, nullptr, true, true, false, {notOpened}},
  };
  for (const EditRow& row : rows) {
    SCOPED_TRACE(row.associated ? row.associated : row.editor ? row.editor : "nothing");
    desktop = platform::ScriptedDesktop{};
    if (row.associated) desktop.associatedProgram = row.associated;
    desktop.openSucceeds = row.openSucceeds;
    if (row.editor) desktop.textEditor = row.editor;
    desktop.startSucceeds = row.startSucceeds;
    prompter.messages.clear();
    // The desktop has been asked before any message shows.
    std::vector<size_t> callsAtMessage;
    prompter.onMessage = [&](const platform::MessageRequest&) {
      callsAtMessage.push_back(desktop.opened.size() + desktop.started.size());
    };
    frmIgnList list(nullptr);
    Control<QPushButton>(&list, "cmdEdit")->click();

    EXPECT_EQ(desktop.lookedUp, std::vector<std::string>{path});
    EXPECT_EQ(desktop.opened, row.opened ? std::vector<std::string>{path} : std::vector<std::string>{});
    ASSERT_EQ(desktop.started.size(), row.started ? 1u : 0u);
    if (row.started) EXPECT_EQ(desktop.started[0].arguments, std::vector<std::string>{path});
    ASSERT_EQ(prompter.messages.size(), row.messages.size());
    for (size_t i = 0; i < row.messages.size(); ++i) {
      const platform::MessageRequest& shown = prompter.messages[i];
      EXPECT_EQ(shown.text.rfind(row.messages[i], 0), 0u) << shown.text;
      const bool notice = row.messages[i] == kRestartNotice;
      EXPECT_EQ(shown.title, notice ? "確認" : "エラー");
      EXPECT_EQ(shown.icon, notice ? platform::MessageIcon::Information : platform::MessageIcon::Error);
      EXPECT_EQ(callsAtMessage[i], (row.opened ? 1u : 0u) + (row.started ? 1u : 0u));
    }
  }
}

}  // namespace
}  // namespace vorel::ui
