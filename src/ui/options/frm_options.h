// The options dialog "オプション設定": analysis options, start-up options and
// the look of the graph windows, on three tabs. It reads every parameter it
// shows when it opens and stores every one of them when the user confirms;
// the open graph windows then take the new colours and redraw.
//
// Control arrays (optSpecifyClass, cmdColor, …) share one objectName and
// carry their index in the property "Index".
#pragma once

#include <QDialog>
#include <QPushButton>
#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QTabWidget;

namespace vorel::ui {

// A caption-less button whose face shows a colour (0xBBGGRR).
class ColorButton : public QPushButton {
  Q_OBJECT
 public:
  explicit ColorButton(QWidget* parent);
  uint32_t faceColor() const { return faceColor_; }
  void setFaceColor(uint32_t colour);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  uint32_t faceColor_ = 0;
};

// The colour parameters of the buttons cmdColor(0) to cmdColor(12).
// The option buttons of RobotMode, by its value, and the frame holding them.
inline constexpr const char* kRobotModeTitle = "ロボット";
inline constexpr std::array<const char*, 3> kRobotModeCaptions = {
    "ロボットも人と同じに数える", "サーバーのログではロボットを分ける", "どのログでもロボットを分ける"};

inline constexpr std::array<const char*, 13> kColorKeys = {
    "GraphFore", "GraphBack", "GraphMonth", "GraphWeek", "GraphDWeek", "GraphDate", "GraphTime",
    "GraphOS",   "GraphBrws", "GraphHost",  "GraphRef",  "GraphPage",  "GraphAgent"};

// The help topics of the three tabs.
inline constexpr std::array<int, 3> kOptionHelpContexts = {47, 139, 71};

class frmOptions : public QDialog {
  Q_OBJECT
 public:
  // Builds the dialog and loads the parameters into it. The owner is the
  // main window, whose open graph windows take the colours on confirming.
  explicit frmOptions(QWidget* owner);

  // Writes the face colour of cmdColor(index) as RRRGGGBBB under key.
  void SaveColorParam(std::string_view key, int index);

  int HelpContextID() const { return helpContextId_; }
  // The font size the dialog holds (not shown).
  int FontSize() const { return fontSize_; }

  // --- event handlers ---
  void chkIgnoreIp_Click();
  void chkSpecifyHost_Click();
  void tabOptionPanel_Click(int tab);
  void cmdColor_Click(int index);
  void cmdFontName_Click();
  void cmdIgnoreHost_Click();
  void cmdOk_Click();
  void cmdCancel_Click();
  void cmdHelp_Click();

  QTabWidget* tabOptionPanel;
  std::array<QFrame*, 3> fraOptionPanel{};
  // Panel 1
  QCheckBox* chkIgnoreIp;
  QFrame* fraIgnoreIP;
  std::array<QRadioButton*, 2> optSpecifyClass{};
  QCheckBox* chkCodeChange;
  QCheckBox* chkSmallize;
  QCheckBox* chkIgnoreIndex;
  QCheckBox* chkIgnoreQuestion;
  QCheckBox* chkIgnoreSharp;
  QCheckBox* chkIgnorePortNo;
  QCheckBox* chkSearchLike;
  QCheckBox* chkIgnorePage;
  QGroupBox* fraRobotMode = nullptr;
  std::array<QRadioButton*, 3> optRobotMode{};  // index = RobotMode
  // Panel 2
  QCheckBox* chkSpecifyHost;
  QFrame* fraSpecifyHostName;
  std::array<QRadioButton*, 2> optSpecifyHost{};
  QPushButton* cmdIgnoreHost;
  QLabel* lblStartUp;
  std::array<QCheckBox*, 4> chkStartUp{};
  QLabel* lblTimeZone;
  QComboBox* cmbTimeZone;  // TimeZone: the zone a server log's times are shown in
  // Panel 3
  std::array<ColorButton*, 13> cmdColor{};
  std::array<QLabel*, 13> lblColor{};
  std::array<QLabel*, 3> lblMaxDisp{};
  QLineEdit* txtMaxDisp;
  QLineEdit* txtLogFormat;
  QLabel* lblFontNameTitle;
  QLabel* lblFontName;
  QPushButton* cmdFontName;
  QLabel* lblGraphPattern;
  QComboBox* cmbGraphPattern;
  // Below the panels
  std::vector<QLabel*> lblNotes;
  QPushButton* cmdOk;
  QPushButton* cmdCancel;
  QPushButton* cmdHelp;

 protected:
  // Tab and Shift+Tab walk the keyboard order across the panels, bringing
  // the panel of the next control to the front.
  bool focusNextPrevChild(bool next) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* BuildPanel1();
  QGroupBox* BuildRobotMode(QWidget* panel);
  QWidget* BuildPanel2();
  QWidget* BuildPanel3();
  QLayout* BuildLegend();
  void Form_Load();
  void SetKeyboardOrder();
  void ShowFontName(const QString& name);
  // The panel a control of the keyboard order stands on; -1 for the buttons below.
  int PanelOf(QWidget* control) const;
  bool TakesTabStop(QWidget* control) const;
  // Hands the colours to the open graph windows and has them redraw.
  void PushColorsToWindows();

  std::vector<QWidget*> keyboardOrder_;
  std::vector<int> keyboardPanel_;
  int helpContextId_ = kOptionHelpContexts[0];
  int fontSize_ = 9;
};

}  // namespace vorel::ui
