// The list window "ホスト名一覧": the host filter list as loaded at start-up,
// and the command that opens the classification file for editing.
#pragma once

#include <QDialog>
#include <string>

class QPlainTextEdit;
class QPushButton;

namespace vorel::ui {

// The classification file the Edit command opens. Every reader of that
// path goes through here.
std::string ClassFileToEdit();

// The host filter list as the window shows it: every entry followed by CR LF,
// or "設定されている項目はありません。" when the list is empty.
std::string HostListText();

// Opens the classification file for editing without waiting: the restart
// notice first, then the desktop's application for the file, else a
// plain-text editor found here, else a message naming the file.
void EditClassFile();

// Shown once the editor has the file: an edit counts from the next start.
inline constexpr const char* kRestartNotice =
    "編集した内容を有効にするには、ＨＰアクセス解析ソフトを再起動してください。";

class frmIgnList : public QDialog {
  Q_OBJECT
 public:
  // Fills the list. The owner is the options dialog.
  explicit frmIgnList(QWidget* owner);

  void cmdEdit_Click();
  void cmdClose_Click();
  void cmdHelp_Click();

  QPlainTextEdit* txtIgnList;
  QPushButton* cmdEdit;
  QPushButton* cmdClose;
  QPushButton* cmdHelp;

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void Form_Resize();
};

}  // namespace vorel::ui
