// The desktop prompter: filter strings in Qt's form, and message boxes with
// the icon, buttons and default button asked for.
#include <QDialogButtonBox>
#include <QAbstractFileIconProvider>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QMimeDatabase>
#include <QTranslator>
#include <QPushButton>
#include <QTimer>

#include "platform/qt/qt_prompter.h"
#include "platform/qt/qt_translations.h"
#include "support/test_files.h"
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
  Qt::TextFormat format = Qt::AutoText;
  int labelLines = 0;  // lines the text takes in the box
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
    seen.format = box->textFormat();
    auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    ASSERT_NE(label, nullptr);
    seen.labelLines = label->height() / label->fontMetrics().lineSpacing();
    box->defaultButton()->click();
  });
  QtPrompter prompter;
  return prompter.ShowMessage(request);
}

TEST(QtPrompterTest, ALongJapaneseLineIsNotWrapped) {
  // The list window's notice: once its last characters stood on a line of their own.
  SeenBox seen;
  AnswerWithDefault({"編集した内容を有効にするには、ＨＰアクセス解析ソフトを再起動してください。", "確認",
                     MessageIcon::Information, MessageButtons::Ok, MessageAnswer::Ok},
                    seen);
  EXPECT_EQ(seen.labelLines, 1);
  AnswerWithDefault({"一行目です。\r\n二行目です。", "確認", MessageIcon::Information, MessageButtons::Ok,
                     MessageAnswer::Ok},
                    seen);
  EXPECT_EQ(seen.labelLines, 2);
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

TEST(QtPrompterTest, AVisitorsTextInAMessageIsNeverReadAsMarkup) {
  SeenBox seen;
  const QString url = QStringLiteral("<b>http://evil.example/</b><img src=x>");
  AnswerWithDefault({url.toStdString(), "エラー", MessageIcon::Error, MessageButtons::Ok, MessageAnswer::Ok}, seen);
  EXPECT_EQ(seen.format, Qt::PlainText);
  EXPECT_EQ(seen.text, url);
}

// The file dialog a request opens, looked at while it is up and then closed by `close`.
template <typename Look>
std::optional<std::string> WithFileDialog(const FileDialogRequest& request, Look look) {
  QTimer::singleShot(0, [look] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    look(*dialog);
  });
  QtPrompter prompter;
  return prompter.ChooseFile(request);
}

TEST(QtFileDialogTest, DialogsNeitherStartInSpecialFoldersNorReadFilesToTellTheirType) {
  vorel::testing::TempDir dir;
  const std::string log = dir.Write("access.log", "1#(index)2024/01/01 12:00:00\r\n");
  // A file whose contents, not its name, would say what it is.
  const std::string pdf = dir.Write("report", "%PDF-1.4\n%\xe2\xe3\xcf\xd3\n1 0 obj\n<< >>\nendobj\n");
  const QString folder = QFileInfo(QString::fromStdString(log)).absolutePath();
  ASSERT_EQ(QMimeDatabase().mimeTypeForFile(QString::fromStdString(pdf)).name(), QStringLiteral("application/pdf"));

  QString startedIn;
  QString pdfType;
  const auto chosen = WithFileDialog({false, "ログファイル", "ログファイル(*.log)|*.log", log}, [&](QFileDialog& d) {
    startedIn = d.directory().absolutePath();
    pdfType = d.iconProvider()->type(QFileInfo(QString::fromStdString(pdf)));
    d.selectFile(QString::fromStdString(log));
    static_cast<QDialog&>(d).accept();
  });
  EXPECT_EQ(chosen, log);
  EXPECT_EQ(startedIn, folder);
  EXPECT_NE(pdfType, QMimeDatabase().mimeTypeForName(QStringLiteral("application/pdf")).comment());

  // Asked to start among the kernel's files, the dialog starts in the last ordinary folder.
  for (const char* special : {"/proc/kmsg", "/proc", "/sys/kernel/x.txt", "/dev/null"}) {
    const auto none = WithFileDialog({true, "保存", "テキストファイル (*.txt)|*.txt", special}, [&](QFileDialog& d) {
      startedIn = d.directory().absolutePath();
      d.reject();
    });
    EXPECT_EQ(none, std::nullopt);
    EXPECT_EQ(startedIn, folder) << special;
  }
}

// Removes the translators a test installed.
struct TranslatorsRemoved {
  ~TranslatorsRemoved() {
    for (QTranslator* t : qApp->findChildren<QTranslator*>()) {
      QCoreApplication::removeTranslator(t);
      delete t;
    }
  }
};

TEST(QtTranslationsTest, StockButtonsAndFileDialogsSpeakJapaneseWhenTheTranslationsAreThere) {
  TranslatorsRemoved cleanup;
  vorel::testing::TempDir empty;
  ScriptedPrompter scripted;
  ScopedPrompter scope(scripted);
  // Missing translations: quietly English.
  EXPECT_FALSE(InstallJapaneseQtTexts(QString::fromStdString(empty.path())));
  EXPECT_TRUE(scripted.messages.empty());

  ASSERT_TRUE(InstallJapaneseQtTexts()) << "Qt's Japanese translations are missing from " << QtTranslationsFolder().toStdString();
  QStringList buttons;
  QTimer::singleShot(0, [&buttons] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    for (QAbstractButton* b : box->buttons()) buttons << b->text();
    box->button(QMessageBox::No)->click();
  });
  QtPrompter prompter;
  EXPECT_EQ(prompter.ShowMessage({"上書きしますか？", "確認", MessageIcon::Question, MessageButtons::YesNo, MessageAnswer::No}),
            MessageAnswer::No);
  buttons.sort();
  EXPECT_EQ(buttons, (QStringList{QStringLiteral("いいえ(&N)"), QStringLiteral("はい(&Y)")}));

  vorel::testing::TempDir dir;
  QString fileNameLabel, cancel;
  WithFileDialog({false, "ログファイル", "ログファイル(*.log)|*.log", dir.File("a.log")}, [&](QFileDialog& d) {
    if (auto* label = d.findChild<QLabel*>(QStringLiteral("fileNameLabel"))) fileNameLabel = label->text();
    if (auto* box = d.findChild<QDialogButtonBox*>()) cancel = box->button(QDialogButtonBox::Cancel)->text();
    d.reject();
  });
  EXPECT_NE(fileNameLabel, QStringLiteral("File &name:"));
  EXPECT_FALSE(fileNameLabel.isEmpty());
  EXPECT_TRUE(cancel.contains(QStringLiteral("キャンセル"))) << cancel.toStdString();
}

}  // namespace
}  // namespace vorel::platform
