// The help layer: each dialog's topic by its context number, the contents,
// one help window for all, and the messages for a missing file or topic.
#include <QTextBrowser>

#include "platform/qt/help_viewer.h"
#include "platform/qt/help_window.h"
#include "ui/ui_test_support.h"

namespace vorel::platform {
namespace {

class HelpViewerTest : public ui::UiTest {
 protected:
  static QList<HelpWindow*> HelpWindows() {
    QList<HelpWindow*> windows;
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* help = qobject_cast<HelpWindow*>(w); help && help->isVisible()) windows << help;
    return windows;
  }
  static QString ShownText() {
    const QList<HelpWindow*> windows = HelpWindows();
    return windows.size() == 1 ? windows[0]->findChild<QTextBrowser*>(QStringLiteral("txtHelp"))->toPlainText()
                               : QString();
  }
};

TEST_F(HelpViewerTest, EveryDialogTopicOpensByItsContextNumber) {
  const std::pair<int, const char*> topics[] = {
      {47, "オプション設定 － 解析情報１"}, {139, "オプション設定 － 解析情報２"}, {71, "オプション設定 － 表示"},
      {77, "簡易ＦＴＰ"},                   {88, "前画面ＵＲＬ一覧"},               {104, "印刷設定"},
      {120, "ホスト名一覧"}};
  for (const auto& [context, title] : topics) {
    SCOPED_TRACE(context);
    ASSERT_TRUE(ShowHelpTopic(nullptr, context));
    ASSERT_EQ(HelpWindows().size(), 1);  // one window serves every topic
    EXPECT_EQ(HelpWindows()[0]->CurrentPage(), QStringLiteral("topic-%1.html").arg(context));
    EXPECT_TRUE(ShownText().startsWith(QString::fromUtf8(title))) << ShownText().left(40).toStdString();
  }
  EXPECT_EQ(HelpWindows()[0]->objectName(), QStringLiteral("frmHelp"));
  EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(HelpViewerTest, ContentsListsTheDialogTopics) {
  ASSERT_TRUE(ShowHelpContents(nullptr));
  const QString text = ShownText();
  for (const char* topic : {"解析情報１", "解析情報２", "表示", "簡易ＦＴＰ", "前画面ＵＲＬ一覧", "印刷設定", "ホスト名一覧"})
    EXPECT_TRUE(text.contains(QString::fromUtf8(topic))) << topic;
  EXPECT_EQ(HelpWindows()[0]->CurrentPage(), QStringLiteral("contents.html"));
}

TEST_F(HelpViewerTest, MissingFileUnreadableFileAndUnknownTopicAreReported) {
  const std::string built = HelpFile();
  EXPECT_FALSE(ShowHelpTopic(nullptr, 999));
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0].text, "ヘルプのトピックが見つかりません。（コンテキスト番号 999）\r\n" + built);

  SetHelpFile(dir.File("vorel.hlp"));
  EXPECT_FALSE(ShowHelpTopic(nullptr, 47));
  ASSERT_EQ(prompter.messages.size(), 2u);
  EXPECT_EQ(prompter.messages[1].text, "ヘルプファイルが見つかりません。\r\n" + dir.File("vorel.hlp"));
  EXPECT_EQ(prompter.messages[1].title, "エラー");
  EXPECT_EQ(prompter.messages[1].icon, MessageIcon::Error);

  dir.Write("vorel.hlp", "this is no help file");
  EXPECT_FALSE(ShowHelpContents(nullptr));
  ASSERT_EQ(prompter.messages.size(), 3u);
  EXPECT_EQ(prompter.messages[2].text, "ヘルプファイルを読み込めません。\r\n" + dir.File("vorel.hlp"));
  EXPECT_TRUE(HelpWindows().isEmpty());

  // The program's folder is where start-up looks for it.
  EXPECT_EQ(DefaultHelpFilePath(), dir.File("vorel.hlp"));
}

}  // namespace
}  // namespace vorel::platform
