// The dialog "簡易ＦＴＰ": the server, the account, the server directory, the
// local folder and the log's name, and the command that fetches the log.
// Start-up runs the connect command without showing the dialog.
#pragma once

#include <QDialog>

#include "ftp/ftp_download.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace vorel::ui {

namespace jobs {
class BackgroundJob;
}

class frmFtp : public QDialog {
  Q_OBJECT
 public:
  // Loads every field from its parameter.
  explicit frmFtp(QWidget* owner);

  // Checks the fields, saves them, fetches the log and reports; closes the
  // dialog after a successful download. The transfer runs on a worker
  // thread under a progress window; 中止 there or here stops it.
  void cmdConnect_Click();
  // Clears a password that is not to be kept and closes the dialog.
  void cmdCancel_Click();
  // Stores the fields in the parameters; the dialog stays open.
  void cmdSave_Click();
  // The platform's folder chooser for the local folder.
  void cmdBrows_Click();
  void cmdHelp_Click();

  // Whether the last connect command fetched the log.
  bool Downloaded() const { return downloaded_; }

  QLineEdit* txtServerName;
  QLineEdit* txtUserName;
  QLineEdit* txtPassword;
  QCheckBox* chkSavePassword;
  QCheckBox* chkComMessage;
  QCheckBox* chkOverwrite;
  QLineEdit* txtHostDir;
  QLineEdit* txtLocalDir;
  QPushButton* cmdBrows;
  QLineEdit* txtLogFileName;
  QPushButton* cmdConnect;
  QPushButton* cmdCancel;
  QPushButton* cmdHelp;
  QPushButton* cmdSave;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  // Esc and the close box act as the cancel command.
  void reject() override;

 private:
  void Form_Load();
  ftp::DownloadOutcome DownloadInTheBackground();

  jobs::BackgroundJob* job_ = nullptr;  // the download under way, if any
  bool downloaded_ = false;
};

}  // namespace vorel::ui
