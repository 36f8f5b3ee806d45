// The About box "バージョン情報": the program's version and build, and the
// version of the companion analysis module.
#pragma once

#include <QDialog>
#include <string>

class QLabel;
class QPushButton;

namespace vorel::ui {

// "Version 1.40 (Build: 135)" + line break + " (DLL: Ver " + dllVersion + ")".
QString AboutVersionText(int major, int minor, const std::string& build, const std::string& dllVersion);

class frmAbout : public QDialog {
  Q_OBJECT
 public:
  // Reads DllVersion from the parameter store.
  explicit frmAbout(QWidget* owner);

  QLabel* lblTitle;
  QLabel* lblVersion;
  QPushButton* cmdOk;
};

}  // namespace vorel::ui
