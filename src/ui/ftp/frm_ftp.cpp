#include "ui/ftp/frm_ftp.h"

#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QFocusEvent>
#include <QFormLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <string>

#include <sys/stat.h>

#include "ftp/ftp_download.h"
#include "platform/paths.h"
#include "platform/prompter.h"
#include "platform/qt/help_viewer.h"
#include "settings/param_store.h"
#include "settings/text_util.h"
#include "ui/jobs/background_job.h"
#include "ui/main/frm_main.h"
#include "ui/main/frm_status.h"
#include "ui/results/frm_base.h"

namespace vorel::ui {
namespace {

constexpr int kFtpHelpContext = 77;
constexpr int kPasswordLength = 16;

std::string Text(const QLineEdit* box) { return box->text().toStdString(); }
bool IsBlank(const QLineEdit* box) { return settings::TrimSpaces(Text(box)).empty(); }

// Whether a folder or file of that name exists (a path the system rejects names none).
bool PathExists(const std::string& path) {
  struct stat info {};
  return path.find('\0') == std::string::npos && ::stat(path.c_str(), &info) == 0;
}

// The password box hides each character behind "*", whatever the style's habit.
class StarPasswordStyle : public QProxyStyle {
 public:
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* returnData) const override {
    if (hint == SH_LineEdit_PasswordCharacter) return '*';
    return QProxyStyle::styleHint(hint, option, widget, returnData);
  }
};

constexpr const char* kStopDownloadQuestion = "ダウンロード中です。ダウンロードを中止して終了しますか？";

// A byte count with thousands separators.
std::string Grouped(uint64_t value) {
  std::string digits = std::to_string(value);
  for (int i = static_cast<int>(digits.size()) - 3; i > 0; i -= 3) digits.insert(static_cast<size_t>(i), ",");
  return digits;
}

// What the progress window says while the log arrives.
std::string ReceivingMessage(uint64_t received, uint64_t total) {
  std::string text = "ログファイルをダウンロードしています。\n" + Grouped(received);
  if (total > 0) text += " / " + Grouped(total);
  return text + " バイト";
}

}  // namespace

frmFtp::frmFtp(QWidget* owner) : QDialog(owner) {
  setObjectName(QStringLiteral("frmFtp"));
  setWindowTitle(QStringLiteral("簡易ＦＴＰ"));
  setModal(true);

  auto makeText = [this](const char* name, const char* accessible) {
    auto* box = new QLineEdit(this);
    box->setObjectName(QString::fromLatin1(name));
    box->setAccessibleName(QString::fromUtf8(accessible));
    box->installEventFilter(this);
    return box;
  };
  auto makeCheck = [this](const char* name, const char* caption) {
    auto* box = new QCheckBox(QString::fromUtf8(caption), this);
    box->setObjectName(QString::fromLatin1(name));
    box->setAccessibleName(QString::fromUtf8(caption));
    return box;
  };
  auto makeButton = [this](const char* name, const char* caption, const char* accessible) {
    auto* button = new QPushButton(QString::fromUtf8(caption), this);
    button->setObjectName(QString::fromLatin1(name));
    button->setAccessibleName(QString::fromUtf8(accessible));
    button->setAutoDefault(false);
    return button;
  };

  txtServerName = makeText("txtServerName", "サーバー名");
  txtUserName = makeText("txtUserName", "ユーザー名");
  txtPassword = makeText("txtPassword", "パスワード");
  txtPassword->setEchoMode(QLineEdit::Password);
  auto* passwordStyle = new StarPasswordStyle;
  // Owned by the dialog, which deletes it after the box that uses it.
  passwordStyle->setParent(this);
  txtPassword->setStyle(passwordStyle);
  txtPassword->setMaxLength(kPasswordLength);
  chkSavePassword = makeCheck("chkSavePassword", "パスワードを保存する。");
  chkComMessage = makeCheck("chkComMessage", "ＦＴＰの完了メッセージを表示する。");
  chkOverwrite = makeCheck("chkOverwrite", "ログファイルの上書き確認メッセージを表示する。");
  txtHostDir = makeText("txtHostDir", "サーバーディレクトリ");
  txtLocalDir = makeText("txtLocalDir", "ローカルフォルダ");
  cmdBrows = makeButton("cmdBrows", "参照(&B)...", "参照");
  txtLogFileName = makeText("txtLogFileName", "ログファイル名");
  cmdConnect = makeButton("cmdConnect", "接続(&O)", "接続");
  cmdCancel = makeButton("cmdCancel", "中止(&C)", "中止");
  // Made in the order of the screen, which Tab follows.
  cmdSave = makeButton("cmdSave", "設定保存(&S)", "設定保存");
  cmdHelp = makeButton("cmdHelp", "ヘルプ(&H)...", "ヘルプ");
  // Enter connects; Esc is the dialog's reject, which cancels.
  cmdConnect->setDefault(true);

  auto* form = new QFormLayout;
  auto addRow = [this, form](const char* name, const char* caption, QWidget* field, QLayout* row = nullptr) {
    auto* label = new QLabel(QString::fromUtf8(caption), this);
    label->setObjectName(QString::fromLatin1(name));
    label->setBuddy(field);
    if (row)
      form->addRow(label, row);
    else
      form->addRow(label, field);
  };
  addRow("lblServerName", "サーバー名：", txtServerName);
  addRow("lblUserName", "ユーザー名：", txtUserName);
  addRow("lblPassword", "パスワード：", txtPassword);
  form->addRow(QString(), chkSavePassword);
  form->addRow(QString(), chkComMessage);
  form->addRow(QString(), chkOverwrite);
  addRow("lblHostDir", "サーバーディレクトリ：", txtHostDir);
  auto* localRow = new QHBoxLayout;
  localRow->addWidget(txtLocalDir, 1);
  localRow->addWidget(cmdBrows);
  addRow("lblLocalDir", "ローカルフォルダ：", txtLocalDir, localRow);
  addRow("lblLogFileName", "ログファイル名：", txtLogFileName);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(cmdConnect);
  buttons->addWidget(cmdCancel);
  buttons->addWidget(cmdSave);
  buttons->addStretch();
  buttons->addWidget(cmdHelp);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addSpacing(6);
  layout->addLayout(buttons);
  txtLocalDir->setMinimumWidth(fontMetrics().horizontalAdvance(QLatin1Char('M')) * 28);

  connect(cmdConnect, &QPushButton::clicked, this, &frmFtp::cmdConnect_Click);
  connect(cmdCancel, &QPushButton::clicked, this, &frmFtp::cmdCancel_Click);
  connect(cmdSave, &QPushButton::clicked, this, &frmFtp::cmdSave_Click);
  connect(cmdBrows, &QPushButton::clicked, this, &frmFtp::cmdBrows_Click);
  connect(cmdHelp, &QPushButton::clicked, this, &frmFtp::cmdHelp_Click);

  Form_Load();
}

void frmFtp::Form_Load() {
  txtServerName->setText(QString::fromStdString(settings::ParamText("FtpServerName")));
  txtUserName->setText(QString::fromStdString(settings::ParamText("FtpUserName")));
  txtPassword->setText(QString::fromStdString(settings::ParamText("FtpPassword")));
  chkSavePassword->setChecked(settings::ParamFlag("FtpSavePassword"));
  chkComMessage->setChecked(settings::ParamFlag("FtpMessage"));
  chkOverwrite->setChecked(settings::ParamFlag("FtpLogOverwrite"));
  txtHostDir->setText(QString::fromStdString(settings::ParamText("FtpHostDir")));
  txtLocalDir->setText(QString::fromStdString(settings::ParamText("FtpLocalFolder")));
  txtLogFileName->setText(QString::fromStdString(settings::ParamText("FtpFileName")));
}

bool frmFtp::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusIn) {
    if (auto* box = qobject_cast<QLineEdit*>(watched)) {
      box->selectAll();
      // A mouse click places the caret after the focus arrives; select again once it has.
      if (static_cast<QFocusEvent*>(event)->reason() == Qt::MouseFocusReason)
        QTimer::singleShot(0, box, &QLineEdit::selectAll);
    }
  }
  return QDialog::eventFilter(watched, event);
}

void frmFtp::cmdConnect_Click() {
  if (job_) return;
  downloaded_ = false;
  std::string message;
  auto require = [&message](const QLineEdit* box, const char* text) {
    if (IsBlank(box)) message += std::string("\r\n") + text;
  };
  require(txtServerName, "サーバー名を入力してください。");
  require(txtUserName, "ユーザー名を入力してください。");
  require(txtPassword, "パスワードを入力してください。");
  require(txtHostDir, "サーバーディレクトリを入力してください。");
  require(txtLocalDir, "ローカルフォルダを入力してください。");

  // The folder is settled before the file name is looked at.
  const std::string folder = Text(txtLocalDir);
  if (!IsBlank(txtLocalDir) && !PathExists(folder)) {
    if (!platform::AskYesNo(folder + "\r\nフォルダが存在しません。\r\n\r\n作成しますか？", kProgramTitle)) return;
    if (!ftp::MakeFolderPath(folder)) {
      platform::ShowError(folder + "\r\nフォルダが作成できませんでした。");
      return;
    }
  }
  require(txtLogFileName, "ログファイル名を入力してください。");
  if (!message.empty()) {
    platform::ShowError(message);
    return;
  }

  const std::string target = ftp::LocalTargetPath(folder, Text(txtLogFileName));
  if (chkOverwrite->isChecked() && platform::FileExists(target) &&
      !platform::AskYesNo(target + "\r\nこのファイルはすでに存在します。\r\n\r\n上書きしますか？", kProgramTitle))
    return;

  cmdSave_Click();
  const ftp::DownloadOutcome outcome = DownloadInTheBackground();
  // The progress window is gone before any message appears.
  if (outcome.status == ftp::DownloadStatus::Failed) platform::ShowError(outcome.message);
  if (outcome.status != ftp::DownloadStatus::Fetched) return;

  downloaded_ = true;
  // The summary names the file just fetched, ready to be analysed.
  settings::SetParam("LogFile", target);
  if (auto* main = qobject_cast<frmMain*>(parentWidget()))
    if (frmBase* base = main->BaseWindow(); base && base->aabShowMe()) base->FillFileNameList();
  if (settings::ParamFlag("FtpMessage"))
    platform::CurrentPrompter().ShowMessage({Text(txtLogFileName) + " のダウンロードが完了しました。", "完了",
                                             platform::MessageIcon::Information, platform::MessageButtons::Ok,
                                             platform::MessageAnswer::Ok});
  if (!settings::ParamFlag("FtpSavePassword")) settings::SetParam("FtpPassword", "");
  accept();
}

ftp::DownloadOutcome frmFtp::DownloadInTheBackground() {
  const ftp::DownloadRequest request = ftp::ReadDownloadRequest();
  ftp::DownloadOutcome outcome{ftp::DownloadStatus::Failed, {}};
  jobs::BackgroundJob job;
  // Over the dialog where it is shown, over the main window at start-up.
  frmStatus status(isVisible() ? static_cast<QWidget*>(this) : parentWidget());
  status.aauStausInit(0, ReceivingMessage(0, 0));
  status.Follow(job);
  status.ShowOverOwner();
  const auto work = [&] {
    const platform::FtpPulse pulse = [&job](uint64_t received, uint64_t total) {
      job.SetProgress(static_cast<int64_t>(received), static_cast<int64_t>(total));
      job.SetMessage(ReceivingMessage(received, total));
    };
    outcome = ftp::Download(request, pulse, &job.CancelFlag());
  };
  job_ = &job;
  QGuiApplication::setOverrideCursor(Qt::BusyCursor);
  try {
    if (auto* main = qobject_cast<frmMain*>(parentWidget())) main->RunJob(job, kStopDownloadQuestion, work);
    else job.Run(work);
  } catch (...) {
    // The transfer reports what it can; anything else counts as a failed download.
    outcome = {ftp::DownloadStatus::Failed, "ファイルの取得ができませんでした。"};
  }
  QGuiApplication::restoreOverrideCursor();
  job_ = nullptr;
  return outcome;
}

void frmFtp::cmdCancel_Click() {
  // While the log arrives, 中止 stops the transfer; the dialog stays.
  if (job_) {
    job_->Cancel();
    return;
  }
  if (!settings::ParamFlag("FtpSavePassword")) settings::SetParam("FtpPassword", "");
  QDialog::reject();
}

void frmFtp::reject() { cmdCancel_Click(); }

void frmFtp::cmdSave_Click() {
  settings::SetParam("FtpServerName", Text(txtServerName));
  settings::SetParam("FtpUserName", Text(txtUserName));
  settings::SetParam("FtpPassword", Text(txtPassword));
  settings::SetParam("FtpHostDir", Text(txtHostDir));
  settings::SetParam("FtpLocalFolder", Text(txtLocalDir));
  settings::SetParam("FtpFileName", Text(txtLogFileName));
  settings::SetParam("FtpSavePassword", settings::ParamInput{chkSavePassword->isChecked()});
  settings::SetParam("FtpLogOverwrite", settings::ParamInput{chkOverwrite->isChecked()});
  settings::SetParam("FtpMessage", settings::ParamInput{chkComMessage->isChecked()});
}

void frmFtp::cmdBrows_Click() {
  platform::FolderDialogRequest request;
  request.title = "ローカルフォルダ：";
  request.initialPath = Text(txtLocalDir);
  const std::optional<std::string> chosen = platform::CurrentPrompter().ChooseFolder(request);
  if (chosen && !chosen->empty()) txtLocalDir->setText(QString::fromStdString(*chosen));
}

void frmFtp::cmdHelp_Click() { platform::ShowHelpTopic(this, kFtpHelpContext); }

}  // namespace vorel::ui
