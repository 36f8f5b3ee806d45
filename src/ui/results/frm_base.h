// The summary window "解析情報": where the user sets up an analysis (log file,
// period, page) and reads its two totals. A child window of the main frame.
#pragma once

#include <QWidget>
#include <array>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMimeData;

namespace vorel::ui {

// Beside the totals while the named log is not the one they were counted from.
inline constexpr const char* kNotAnalysedMark = "（未解析）";

class frmBase : public QWidget {
  Q_OBJECT
 public:
  // Creates the controls and loads them from the parameter store (Form_Load).
  explicit frmBase(QWidget* parent = nullptr);

  // True from loading until the window is closed.
  bool aabShowMe() const { return showMe_; }

  // Stores the fields in the parameter store; a field that does not convert
  // (a date that is no date) leaves its parameter as it was.
  void alSetBaseInfo();

  // Refill the two lists from LogFile entries 1..5 and Page entries 1..10.
  void FillFileNameList();
  void FillPageList();
  // lblTotalAccess, lblRobotAccess and lblUniqueHost from the analysis result,
  // marked "（未解析）" while the log named in cmbFileName is not in the result.
  void ShowTotals();

  // Event handlers, callable directly.
  void chkSpecifyDate_Click();
  void chkSpecifyPage_Click();
  void txtStartDate_GotFocus(int Index);
  void txtEndDate_GotFocus(int Index);
  // Discards (sets to 0) every key but the digits and backspace.
  void txtStartDate_KeyPress(int Index, int& KeyAscii);
  void txtEndDate_KeyPress(int Index, int& KeyAscii);
  // A list of dropped files puts the first one's path into cmbFileName.
  void cmbFileName_OLEDragDrop(const QMimeData* Data);
  void lblFileName_OLEDragDrop(const QMimeData* Data);

  // The controls. Each date is three boxes (year, month, day), object names
  // "txtStartDate" / "txtEndDate" with the property "Index" 0, 1, 2.
  QLabel* lblFileName;
  QComboBox* cmbFileName;
  QCheckBox* chkSpecifyDate;
  std::array<QLineEdit*, 3> txtStartDate{};
  QLabel* lblStartYear;
  QLabel* lblStartMonth;
  QLabel* lblStartDay;
  QLabel* lblKara;
  std::array<QLineEdit*, 3> txtEndDate{};
  QLabel* lblEndYear;
  QLabel* lblEndMonth;
  QLabel* lblEndDay;
  QLabel* lblPage;
  QComboBox* cmbPage;
  QCheckBox* chkSpecifyPage;
  QLabel* lblTotalAccessTitle;
  QLabel* lblTotalAccess;
  QLabel* lblRobotAccessTitle;  // the robots' accesses set apart, beside the total
  QLabel* lblRobotAccess;
  QLabel* lblUniqeHostTitle;
  QLabel* lblUniqueHost;
  QLabel* lblNotAnalysed;

  // Size of the window as designed, in twips.
  static constexpr int kWidthTwips = 5175;
  static constexpr int kHeightTwips = 3060;

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void NameControls();
  void CreateControls();
  void Form_Load();
  void FillDateBoxes(const std::array<QLineEdit*, 3>& boxes, const char* key);
  static void DateKeyPress(int& KeyAscii);
  static std::string JoinDate(const std::array<QLineEdit*, 3>& boxes);
  void DropFiles(const QMimeData* data);

  bool showMe_ = false;
};

}  // namespace vorel::ui
