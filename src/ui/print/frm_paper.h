// The print setup dialog "印刷設定": which graphs to print (PrintWindow, one
// check box chkWindow per bit) and how many go on one sheet (PaperType, the
// option buttons optPaper). Only Print stores the choice; Cancel, Esc and
// the close box leave the settings as they were.
#pragma once

#include <QDialog>
#include <array>

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace vorel::ui {

inline constexpr int kPrintWindowBoxes = 12;
inline constexpr int kPaperOptions = 3;

class frmPaper : public QDialog {
  Q_OBJECT
  Q_PROPERTY(bool aapNextCancel READ aapNextCancel)
 public:
  explicit frmPaper(QWidget* owner);

  // True when the dialog was closed with Print, false when cancelled.
  bool aapNextCancel() const { return result_; }

  void cmdNext_Click();
  void cmdCancel_Click();
  void cmdHelp_Click();

  // Check box i stands for bit i of PrintWindow.
  std::array<QCheckBox*, kPrintWindowBoxes> chkWindow{};
  std::array<QRadioButton*, kPaperOptions> optPaper{};
  QGroupBox* fraWindow = nullptr;
  QGroupBox* fraPaper = nullptr;
  QLabel* imgPaper = nullptr;
  QPushButton* cmdNext = nullptr;
  QPushButton* cmdCancel = nullptr;
  QPushButton* cmdHelp = nullptr;

  void reject() override;

 protected:
  bool focusNextPrevChild(bool next) override;

 private:
  void Form_Load();
  // The picture of a sheet with `paperType`'s graphs.
  void ShowPaper(int paperType);

  bool result_ = false;
};

// The dialog's illustration: a sheet with one, two or four small graphs
// placed as PaperType (0, 1, 2) places them.
QPixmap PaperIllustration(qreal devicePixelRatio, int paperType);

}  // namespace vorel::ui
