// The desktop prompter: filter strings in Qt's form, and message boxes with
// the icon, buttons and default button asked for.
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "platform/qt/qt_prompter.h"
#include "ui/ui_test_support.h"

namespace vorel::platform {
namespace {

TEST(QtFileFilterTest, PatternsInParenthesesOnceAndSeparatedBySpaces) {
  EXPECT_EQ(QtFileFilter("テキストファイル (*.txt)|*.txt|ＣＳＶファイル (*.csv)|*.csv|ＨＴＭＬファイル (*.html;*.htm)|*.html;*.htm|"
                         "すべてのファイル (*.*)|*.*"),
            QStringLiteral("テキストファイル (*.txt);;ＣＳＶファイル (*.csv);;ＨＴＭＬファイル (*.html *.htm);;すべてのファイル (*.*)"));
  EXPECT_EQ(QtFileFilter("ログファイル(*.log)|*.log|テキストファイル (*.txt)|*.txt"),
            QStringLiteral("ログファイル (*.log);;テキストファイル (*.txt)"));
  EXPECT_EQ(QtFileFilter("Reports|*.txt"), QStringLiteral("Reports (*.txt)"));
  EXPECT_EQ(QtFileFilter(""), QString());
}

TEST(QtMessageTextTest, LinesEndInLineFeeds) {
  EXPECT_EQ(MessageText("a\r\nb\r\n\r\nc"), QStringLiteral("a\nb\n\nc"));
}

struct SeenBox {
  QString title, text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QMessageBox::StandardButtons buttons;
  QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
};

// Shows a request and answers by pressing Enter, that is the default button.
MessageAnswer AnswerWithDefault(const MessageRequest& request, SeenBox& seen) {
  QTimer::singleShot(0, [&seen] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    seen.title = box->windowTitle();
    seen.text = box->text();
    seen.icon = box->icon();
    seen.buttons = box->standardButtons();
    seen.defaultButton = box->standardButton(box->defaultButton());
    box->defaultButton()->click();
  });
  QtPrompter prompter;
  return prompter.ShowMessage(request);
}

TEST(QtPrompterTest, QuestionsDefaultToNo) {
  SeenBox seen;
  const MessageAnswer answer = AnswerWithDefault(
      {"/tmp/a.txt\r\nこのファイルはすでに存在します。", "ＨＰアクセス解析", MessageIcon::Question, MessageButtons::YesNo,
       MessageAnswer::No},
      seen);
  EXPECT_EQ(answer, MessageAnswer::No);
  EXPECT_EQ(seen.title, QStringLiteral("ＨＰアクセス解析"));
  EXPECT_EQ(seen.text, QStringLiteral("/tmp/a.txt\nこのファイルはすでに存在します。"));
  EXPECT_EQ(seen.icon, QMessageBox::Question);
  EXPECT_EQ(seen.buttons, QMessageBox::Yes | QMessageBox::No);
  EXPECT_EQ(seen.defaultButton, QMessageBox::No);
}

TEST(QtPrompterTest, RetryCancelAndErrorsKeepTheirIconsAndButtons) {
  SeenBox seen;
  EXPECT_EQ(AnswerWithDefault({"書き込めません。", "エラー", MessageIcon::Error, MessageButtons::RetryCancel,
                               MessageAnswer::Retry},
                              seen),
            MessageAnswer::Retry);
  EXPECT_EQ(seen.icon, QMessageBox::Critical);
  EXPECT_EQ(seen.buttons, QMessageBox::Retry | QMessageBox::Cancel);

  EXPECT_EQ(AnswerWithDefault({"有効なデータがありませんでした。", "確認", MessageIcon::Warning, MessageButtons::Ok,
                               MessageAnswer::Ok},
                              seen),
            MessageAnswer::Ok);
  EXPECT_EQ(seen.icon, QMessageBox::Warning);
  EXPECT_EQ(seen.buttons, QMessageBox::Ok);

  AnswerWithDefault({"削除しました。", "レジストリ削除", MessageIcon::Information, MessageButtons::Ok, MessageAnswer::Ok},
                    seen);
  EXPECT_EQ(seen.icon, QMessageBox::Information);
}

}  // namespace
}  // namespace vorel::platform
