#include "ui/options/frm_options.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QGroupBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QStyleOptionButton>
#include <QStringList>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdio>
#include <optional>

#include "analysis/log_layout.h"
#include "analysis/time_zone.h"
#include "platform/prompter.h"
#include "platform/qt/help_viewer.h"
#include "settings/param_store.h"
#include "ui/main/frm_main.h"
#include "ui/options/control_naming.h"
#include "ui/options/frm_ign_list.h"
#include "ui/options/time_zone_choice.h"
#include "ui/results/color_text.h"
#include "ui/results/graph_windows.h"

namespace vorel::ui {
namespace {

const QColor kNoteRed(192, 0, 0);

QColor ToQColor(uint32_t colour) { return QColor(RedOf(colour), GreenOf(colour), BlueOf(colour)); }

QLabel* RedLabel(const QString& text, const char* name, QWidget* parent) {
  QLabel* label = NamedLabel(text, name, parent);
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, kNoteRed);
  label->setPalette(palette);
  return label;
}

QCheckBox* CheckBox(const QString& caption, const char* name, QWidget* parent) {
  auto* box = new QCheckBox(caption, parent);
  Name(box, name, caption);
  return box;
}

QRadioButton* RadioButton(const QString& caption, const char* name, int index, QWidget* parent) {
  auto* button = new QRadioButton(caption, parent);
  Name(button, name, caption);
  SetIndex(button, index);
  return button;
}

// A check box followed by its notes, then room to the right.
QHBoxLayout* Row(QWidget* control, std::initializer_list<QWidget*> notes, int indent = 0) {
  auto* row = new QHBoxLayout;
  if (indent) row->addSpacing(indent);
  row->addWidget(control);
  for (QWidget* note : notes) row->addWidget(note);
  row->addStretch();
  return row;
}

// A frame holding a pair of option buttons side by side.
QFrame* OptionGroup(const char* frameName, const char* buttonName, const std::array<QString, 2>& captions,
                    std::array<QRadioButton*, 2>& buttons, QWidget* parent) {
  auto* frame = new QFrame(parent);
  frame->setObjectName(QString::fromLatin1(frameName));
  frame->setFrameShape(QFrame::StyledPanel);
  auto* row = new QHBoxLayout(frame);
  row->setContentsMargins(8, 2, 8, 2);
  for (int i = 0; i < 2; ++i) {
    buttons[i] = RadioButton(captions[i], buttonName, i, frame);
    if (i) row->addSpacing(16);
    row->addWidget(buttons[i]);
  }
  return frame;
}

// The legend of the red notes: which graph each letter stands for.
const char* const kLegend[6][2] = {{"ホ", "ホスト名別"}, {"前", "前画面別"}, {"Ｏ", "ＯＳ別"},
                                   {"ブ", "ブラウザ別"}, {"Ｐ", "ページ別"}, {"エ", "エージェント別"}};

// A red note such as "（ホ，前）" spelt out for a listener, who meets the
// legend only after the controls: the graphs the option acts on.
QString NoteMeaning(QString note) {
  note.remove(QStringLiteral("（")).remove(QStringLiteral("）"));
  QStringList graphs;
  for (const QString& letter : note.split(QStringLiteral("，"), Qt::SkipEmptyParts))
    for (const auto& entry : kLegend)
      if (letter == QString::fromUtf8(entry[0])) graphs << QString::fromUtf8(entry[1]);
  return QStringLiteral("対象：") + graphs.join(QStringLiteral("，"));
}

// A control followed by its red note, described by what the note means.
QLabel* Note(QWidget* control, const QString& note, const char* name, QWidget* parent) {
  control->setAccessibleDescription(NoteMeaning(note));
  return RedLabel(note, name, parent);
}

bool Flag(const char* key) { return settings::ParamFlag(key); }
void StoreFlag(const char* key, bool value) { settings::SetParam(key, settings::ParamInput{value}); }

}  // namespace

ColorButton::ColorButton(QWidget* parent) : QPushButton(parent) {
  setFixedSize(48, 24);
}

void ColorButton::setFaceColor(uint32_t colour) {
  faceColor_ = colour & 0xFFFFFF;
  setAccessibleDescription(QStringLiteral("赤 %1、緑 %2、青 %3")
                               .arg(RedOf(faceColor_))
                               .arg(GreenOf(faceColor_))
                               .arg(BlueOf(faceColor_)));
  update();
}

void ColorButton::paintEvent(QPaintEvent* event) {
  QPushButton::paintEvent(event);
  // The colour fills the face inside the button's frame and focus mark.
  QPainter painter(this);
  const QRect face = rect().adjusted(5, 5, -5, -5);
  painter.fillRect(face, ToQColor(faceColor_));
  painter.setPen(palette().color(QPalette::Dark));
  painter.drawRect(face.adjusted(0, 0, -1, -1));
}

frmOptions::frmOptions(QWidget* owner) : QDialog(owner) {
  setObjectName(QStringLiteral("frmOptions"));
  setWindowTitle(QStringLiteral("オプション設定"));

  tabOptionPanel = new QTabWidget(this);
  tabOptionPanel->setObjectName(QStringLiteral("tabOptionPanel"));
  tabOptionPanel->setAccessibleName(QStringLiteral("オプションの種類"));
  // The keyboard walks the controls; the tabs follow it.
  tabOptionPanel->tabBar()->setFocusPolicy(Qt::NoFocus);
  const QString captions[] = {QStringLiteral("解析情報１"), QStringLiteral("解析情報２"), QStringLiteral("表示")};
  QWidget* const panels[] = {BuildPanel1(), BuildPanel2(), BuildPanel3()};
  for (int i = 0; i < 3; ++i) {
    fraOptionPanel[i] = new QFrame;
    fraOptionPanel[i]->setObjectName(QStringLiteral("fraOptionPanel"));
    SetIndex(fraOptionPanel[i], i);
    auto* layout = new QVBoxLayout(fraOptionPanel[i]);
    layout->addWidget(panels[i]);
    layout->addStretch();
    tabOptionPanel->addTab(fraOptionPanel[i], captions[i]);
  }
  connect(tabOptionPanel, &QTabWidget::currentChanged, this, &frmOptions::tabOptionPanel_Click);

  cmdOk = new QPushButton(QStringLiteral("設定(&S)"), this);
  Name(cmdOk, "cmdOk", cmdOk->text());
  cmdOk->setDefault(true);
  cmdOk->setAutoDefault(true);
  cmdCancel = new QPushButton(QStringLiteral("中止(&C)"), this);
  Name(cmdCancel, "cmdCancel", cmdCancel->text());
  cmdHelp = new QPushButton(QStringLiteral("ヘルプ(&H)"), this);
  Name(cmdHelp, "cmdHelp", cmdHelp->text());
  connect(cmdOk, &QPushButton::clicked, this, &frmOptions::cmdOk_Click);
  connect(cmdCancel, &QPushButton::clicked, this, &frmOptions::cmdCancel_Click);
  connect(cmdHelp, &QPushButton::clicked, this, &frmOptions::cmdHelp_Click);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(cmdOk);
  buttons->addWidget(cmdCancel);
  buttons->addWidget(cmdHelp);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabOptionPanel);
  layout->addLayout(BuildLegend());
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  SetKeyboardOrder();
  Form_Load();
}

QWidget* frmOptions::BuildPanel1() {
  auto* panel = new QWidget;
  auto* layout = new QVBoxLayout(panel);
  layout->setSpacing(4);

  chkIgnoreIp = CheckBox(QStringLiteral("ＩＰアドレスを無視する。（ホスト名のみ解析）"), "chkIgnoreIp", panel);
  layout->addLayout(Row(chkIgnoreIp, {Note(chkIgnoreIp, QStringLiteral("（ホ）"), "lblIgnoreIp", panel)}));

  fraIgnoreIP = OptionGroup("fraIgnoreIP", "optSpecifyClass", {QStringLiteral("クラスＡＢＣで分割する"), QStringLiteral("分割しない")},
                            optSpecifyClass, panel);
  layout->addLayout(Row(fraIgnoreIP, {}, 24));

  struct Item {
    QCheckBox** box;
    const char* caption;
    const char* name;
    const char* note;
    const char* noteName;
  };
  const Item items[] = {
      {&chkCodeChange, "％？？をコード変換する。（例： %7e -> ~ ）", "chkCodeChange", "（前）", "lblCodeChange"},
      {&chkSmallize, "小文字に変換する。（例： ABC -> abc ）", "chkSmallize", "（ホ，前）", "lblSmallize"},
      {&chkIgnoreIndex, "index.html 以降を無視する。", "chkIgnoreIndex", "（前）", "lblIgnoreIndex"},
      {&chkIgnoreQuestion, "『？』以降を無視する。（ＣＧＩへの引数）", "chkIgnoreQuestion", "（前）",
       "lblIgnoreQuestion"},
      {&chkIgnoreSharp, "『＃』以降を無視する。（部分識別子）", "chkIgnoreSharp", "（前）", "lblIgnoreSharp"},
      {&chkIgnorePortNo, "ポート番号を無視する。", "chkIgnorePortNo", "（前）", "lblIgnorePortNo"},
  };
  for (const Item& item : items) {
    *item.box = CheckBox(QString::fromUtf8(item.caption), item.name, panel);
    layout->addLayout(Row(*item.box, {Note(*item.box, QString::fromUtf8(item.note), item.noteName, panel)}));
  }

  chkSearchLike = CheckBox(QStringLiteral("Ｌｉｋｅ検索をする。（例： *win*95* ）"), "chkSearchLike", panel);
  QLabel* likeNote = Note(chkSearchLike, QStringLiteral("（Ｏ，ブ）"), "lblSearchLike", panel);
  SetIndex(likeNote, 0);
  QLabel* likeHint = NamedLabel(QStringLiteral("（解析情報ファイルの変更が必要です）"), "lblSearchLike", panel);
  SetIndex(likeHint, 1);
  chkSearchLike->setAccessibleDescription(chkSearchLike->accessibleDescription() + QStringLiteral("。") +
                                          likeHint->text());
  layout->addLayout(Row(chkSearchLike, {likeNote, likeHint}));

  chkIgnorePage = CheckBox(QStringLiteral("日付指定，ホスト指定を無視する。"), "chkIgnorePage", panel);
  layout->addLayout(Row(chkIgnorePage, {Note(chkIgnorePage, QStringLiteral("（Ｐ）"), "lblIgnorePage", panel)}));

  lblTimeZone = NamedLabel(QStringLiteral("サーバーのログの時間帯(&Z)："), "lblTimeZone", panel);
  cmbTimeZone = new QComboBox(panel);
  Name(cmbTimeZone, "cmbTimeZone", QStringLiteral("サーバーのログの時間帯"));
  cmbTimeZone->setEditable(true);
  cmbTimeZone->lineEdit()->setAccessibleName(cmbTimeZone->accessibleName());
  cmbTimeZone->setAccessibleDescription(QStringLiteral("一覧から選ぶか、Asia/Tokyo のような地域名か +09:00 のような時差を入力します"));
  FillTimeZoneChoices(cmbTimeZone);
  lblTimeZone->setBuddy(cmbTimeZone);
  layout->addLayout(Row(lblTimeZone, {cmbTimeZone}));
  layout->addWidget(BuildRobotMode(panel));
  // A server log's layout, pasted from the server's configuration.
  QLabel* logFormatLabel = NamedLabel(QStringLiteral("●ログの書式（LogFormat / log_format、空欄は自動判別）"),
                                      "lblLogFormat", panel);
  layout->addWidget(logFormatLabel);
  txtLogFormat = new QLineEdit(panel);
  Name(txtLogFormat, "txtLogFormat", QStringLiteral("ログの書式"));
  txtLogFormat->setAccessibleDescription(
      QStringLiteral("Web サーバーの設定にある Apache の LogFormat か nginx の log_format の書式。空欄は自動判別。"));
  logFormatLabel->setBuddy(txtLogFormat);
  layout->addWidget(txtLogFormat);

  connect(chkIgnoreIp, &QCheckBox::toggled, this, &frmOptions::chkIgnoreIp_Click);
  return panel;
}

// RobotMode: whether robots count like everyone or apart, in server logs or in every log.
QGroupBox* frmOptions::BuildRobotMode(QWidget* panel) {
  fraRobotMode = new QGroupBox(QString::fromUtf8(kRobotModeTitle), panel);
  fraRobotMode->setObjectName(QStringLiteral("fraRobotMode"));
  fraRobotMode->setAccessibleName(fraRobotMode->title());
  auto* column = new QVBoxLayout(fraRobotMode);
  column->setContentsMargins(8, 2, 8, 2);
  for (int i = 0; i < 3; ++i) {
    optRobotMode[i] = RadioButton(QString::fromUtf8(kRobotModeCaptions[i]), "optRobotMode", i, fraRobotMode);
    column->addWidget(optRobotMode[i]);
  }
  return fraRobotMode;
}

QWidget* frmOptions::BuildPanel2() {
  auto* panel = new QWidget;
  auto* layout = new QVBoxLayout(panel);
  layout->setSpacing(6);

  chkSpecifyHost = CheckBox(QStringLiteral("ホスト名を指定する。"), "chkSpecifyHost", panel);
  layout->addLayout(Row(chkSpecifyHost, {}));

  fraSpecifyHostName = OptionGroup("fraSpecifyHostName", "optSpecifyHost",
                                   {QStringLiteral("指定ホストのみ解析"), QStringLiteral("指定ホストを無視")}, optSpecifyHost,
                                   panel);
  cmdIgnoreHost = new QPushButton(QStringLiteral("設定確認(L)..."), panel);
  Name(cmdIgnoreHost, "cmdIgnoreHost", cmdIgnoreHost->text());
  cmdIgnoreHost->setAccessibleDescription(QStringLiteral("ホスト名一覧を表示します"));
  auto* hostRow = Row(fraSpecifyHostName, {cmdIgnoreHost}, 24);
  hostRow->insertSpacing(2, 12);
  layout->addLayout(hostRow);
  // As designed: off until "ホスト名を指定する。" is checked.
  for (QWidget* w : {static_cast<QWidget*>(optSpecifyHost[0]), static_cast<QWidget*>(optSpecifyHost[1]),
                     static_cast<QWidget*>(cmdIgnoreHost)})
    w->setEnabled(false);
  layout->addSpacing(12);

  lblStartUp = NamedLabel(QStringLiteral("起動時に"), "lblStartUp", panel);
  auto* startUp = new QHBoxLayout;
  startUp->addWidget(lblStartUp);
  const char* startCaptions[] = {"ＦＴＰ", "解析", "最大化", "並べる"};
  const char* startNames[] = {"起動時にＦＴＰ", "起動時に解析", "起動時に最大化", "起動時に並べる"};
  for (int i = 0; i < 4; ++i) {
    chkStartUp[i] = CheckBox(QString::fromUtf8(startCaptions[i]), "chkStartUp", panel);
    chkStartUp[i]->setAccessibleName(QString::fromUtf8(startNames[i]));
    SetIndex(chkStartUp[i], i);
    startUp->addSpacing(8);
    startUp->addWidget(chkStartUp[i]);
  }
  startUp->addStretch();
  layout->addLayout(startUp);

  connect(chkSpecifyHost, &QCheckBox::toggled, this, &frmOptions::chkSpecifyHost_Click);
  connect(cmdIgnoreHost, &QPushButton::clicked, this, &frmOptions::cmdIgnoreHost_Click);
  return panel;
}

QWidget* frmOptions::BuildPanel3() {
  auto* panel = new QWidget;
  auto* layout = new QVBoxLayout(panel);
  layout->setSpacing(8);

  const char* colourLabels[] = {"前景色", "背景色",   "月",       "週",     "曜日",   "日付",        "時間",
                                "ＯＳ",   "ブラウザ", "ホスト名", "前画面", "ページ", "エージェント"};
  auto* colours = new QGridLayout;
  colours->setHorizontalSpacing(6);
  // Shown in the keyboard order: the two common colours, then the graphs.
  const int shownOrder[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 12, 9, 10, 11};
  for (int i = 0; i < 13; ++i) {
    lblColor[i] = NamedLabel(QString::fromUtf8(colourLabels[i]), "lblColor", panel);
    SetIndex(lblColor[i], i);
    cmdColor[i] = new ColorButton(panel);
    cmdColor[i]->setObjectName(QStringLiteral("cmdColor"));
    SetIndex(cmdColor[i], i);
    cmdColor[i]->setAccessibleName(i < 2 ? lblColor[i]->text()
                                         : lblColor[i]->text() + QStringLiteral("のグラフの色"));
    lblColor[i]->setBuddy(cmdColor[i]);
    connect(cmdColor[i], &QPushButton::clicked, this, [this, i] { cmdColor_Click(i); });
  }
  for (int slot = 0; slot < 13; ++slot) {
    const int i = shownOrder[slot];
    // Row 0: foreground and background; then four graphs a row.
    const int row = slot < 2 ? 0 : 1 + (slot - 2) / 4;
    const int column = slot < 2 ? slot : (slot - 2) % 4;
    colours->addWidget(lblColor[i], row, column * 2, Qt::AlignRight);
    colours->addWidget(cmdColor[i], row, column * 2 + 1, Qt::AlignLeft);
  }
  colours->setColumnMinimumWidth(1, 64);
  colours->setColumnMinimumWidth(3, 64);
  colours->setColumnMinimumWidth(5, 64);
  layout->addLayout(colours);

  lblMaxDisp[0] = NamedLabel(QStringLiteral("●最大表示数　（多い順に"), "lblMaxDisp", panel);
  SetIndex(lblMaxDisp[0], 0);
  txtMaxDisp = new QLineEdit(panel);
  Name(txtMaxDisp, "txtMaxDisp", QStringLiteral("最大表示数"));
  txtMaxDisp->setAlignment(Qt::AlignRight);
  txtMaxDisp->setMaxLength(3);
  // Digits only, whether typed, pasted or committed by an input method.
  txtMaxDisp->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,3}")), txtMaxDisp));
  txtMaxDisp->setInputMethodHints(Qt::ImhDigitsOnly);
  txtMaxDisp->setFixedWidth(txtMaxDisp->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 12);
  txtMaxDisp->installEventFilter(this);
  lblMaxDisp[0]->setBuddy(txtMaxDisp);
  lblMaxDisp[1] = NamedLabel(QStringLiteral("個）"), "lblMaxDisp", panel);
  SetIndex(lblMaxDisp[1], 1);
  lblMaxDisp[2] = Note(txtMaxDisp, QStringLiteral("（ホ，前，Ｐ，エ）"), "lblMaxDisp", panel);
  txtMaxDisp->setAccessibleDescription(QStringLiteral("多い順に表示する個数、１～９９９。") +
                                       txtMaxDisp->accessibleDescription());
  SetIndex(lblMaxDisp[2], 2);
  layout->addLayout(Row(lblMaxDisp[0], {txtMaxDisp, lblMaxDisp[1], lblMaxDisp[2]}));

  lblFontNameTitle = NamedLabel(QStringLiteral("フォント名（サイズ）："), "lblFontNameTitle", panel);
  lblFontName = NamedLabel(QString(), "lblFontName", panel);
  lblFontName->setTextFormat(Qt::PlainText);
  lblFontName->setMinimumWidth(160);
  lblFontName->setFrameShape(QFrame::StyledPanel);
  cmdFontName = new QPushButton(QStringLiteral("変更(&F)..."), panel);
  Name(cmdFontName, "cmdFontName", QStringLiteral("グラフのフォントの変更"));
  lblFontNameTitle->setBuddy(cmdFontName);
  connect(cmdFontName, &QPushButton::clicked, this, &frmOptions::cmdFontName_Click);
  layout->addLayout(Row(lblFontNameTitle, {lblFontName, cmdFontName}));

  lblGraphPattern = NamedLabel(QStringLiteral("グラフ塗りつぶしパターン："), "lblGraphPattern", panel);
  cmbGraphPattern = new QComboBox(panel);
  Name(cmbGraphPattern, "cmbGraphPattern", QStringLiteral("グラフ塗りつぶしパターン"));
  for (const char* entry : {"塗りつぶし", "透明", "横線", "縦線", "斜線 (左上 - 右下)", "斜線 (左下 - 右上)", "クロス",
                            "網かけ"})
    cmbGraphPattern->addItem(QString::fromUtf8(entry));
  lblGraphPattern->setBuddy(cmbGraphPattern);
  layout->addLayout(Row(lblGraphPattern, {cmbGraphPattern}));
  return panel;
}

QLayout* frmOptions::BuildLegend() {
  auto* legend = new QVBoxLayout;
  legend->setSpacing(2);
  for (int line = 0; line < 2; ++line) {
    auto* row = new QHBoxLayout;
    row->setSpacing(2);
    for (int i = line * 3; i < line * 3 + 3; ++i) {
      const auto& entry = kLegend[i];
      QLabel* letter = RedLabel(QString::fromUtf8(entry[0]), "lblNotes", this);
      QLabel* meaning = NamedLabel(QStringLiteral("= ") + QString::fromUtf8(entry[1]) + (i < 5 ? QStringLiteral("，") : QString()),
                                   "lblNotes", this);
      SetIndex(letter, static_cast<int>(lblNotes.size()));
      lblNotes.push_back(letter);
      SetIndex(meaning, static_cast<int>(lblNotes.size()));
      lblNotes.push_back(meaning);
      row->addWidget(letter);
      row->addWidget(meaning);
      row->addSpacing(6);
    }
    row->addStretch();
    legend->addLayout(row);
  }
  return legend;
}

void frmOptions::SetKeyboardOrder() {
  keyboardOrder_ = {chkIgnoreIp,       optSpecifyClass[0], optSpecifyClass[1], chkCodeChange,     chkSmallize,
                    chkIgnoreIndex,    chkIgnoreQuestion,  chkIgnoreSharp,     chkIgnorePortNo,   chkSearchLike,
                    chkIgnorePage,     cmbTimeZone,        optRobotMode[0],    optRobotMode[1],    optRobotMode[2],   txtLogFormat,       chkSpecifyHost,     optSpecifyHost[0],  optSpecifyHost[1], cmdIgnoreHost,
                    chkStartUp[0],     chkStartUp[1],      chkStartUp[2],      chkStartUp[3]};
  // The display panel in the order of the screen: the colours, then the count below them.
  for (int i : {0, 1, 2, 3, 4, 5, 6, 7, 8, 12, 9, 10, 11}) keyboardOrder_.push_back(cmdColor[i]);
  keyboardOrder_.insert(keyboardOrder_.end(), {txtMaxDisp, cmdFontName, cmbGraphPattern, cmdOk, cmdCancel, cmdHelp});
  keyboardPanel_.clear();
  for (QWidget* w : keyboardOrder_) {
    int panel = -1;
    for (int i = 0; i < 3; ++i)
      if (fraOptionPanel[i]->isAncestorOf(w)) panel = i;
    keyboardPanel_.push_back(panel);
    w->installEventFilter(this);
  }
  for (size_t i = 1; i < keyboardOrder_.size(); ++i) QWidget::setTabOrder(keyboardOrder_[i - 1], keyboardOrder_[i]);
}

void frmOptions::Form_Load() {
  txtMaxDisp->setText(QString::fromStdString(settings::GetParam("MaxDisp").ToText()));
  txtLogFormat->setText(QString::fromStdString(settings::ParamText("LogFormat")));

  chkIgnoreIp->setChecked(Flag("IgnoreIP"));
  optSpecifyClass[Flag("SpecifyClass") ? 0 : 1]->setChecked(true);
  chkCodeChange->setChecked(Flag("CodeChange"));
  chkSmallize->setChecked(Flag("Smallize"));
  chkIgnoreIndex->setChecked(Flag("IgnoreIndex"));
  chkIgnoreQuestion->setChecked(Flag("IgnoreQuestion"));
  chkIgnoreSharp->setChecked(Flag("IgnoreSharp"));
  chkIgnorePortNo->setChecked(Flag("IgnorePortNo"));
  chkSpecifyHost->setChecked(Flag("SpecifyHost"));
  optSpecifyHost[Flag("IgnoreHost") ? 1 : 0]->setChecked(true);
  chkIgnorePage->setChecked(Flag("IgnorePage"));
  chkSearchLike->setChecked(Flag("SearchLike"));
  ShowTimeZoneSetting(cmbTimeZone, settings::ParamText("TimeZone"));
  optRobotMode[static_cast<size_t>(std::clamp(settings::ParamInt("RobotMode"), 0, 2))]->setChecked(true);
  chkStartUp[0]->setChecked(Flag("AutoFtp"));
  chkStartUp[1]->setChecked(Flag("AutoAnalize"));
  chkStartUp[2]->setChecked(Flag("AutoMaxSize"));
  chkStartUp[3]->setChecked(Flag("AutoTile"));
  // The enabling rules hold from the start, changed boxes or not.
  chkIgnoreIp_Click();
  chkSpecifyHost_Click();

  for (int i = 0; i < 13; ++i) cmdColor[i]->setFaceColor(ColorFromParam(kColorKeys[i]));

  ShowFontName(QString::fromStdString(settings::ParamText("FontName")));
  fontSize_ = settings::ParamInt("FontSize");

  const int pattern = settings::ParamInt("GraphPattern");
  cmbGraphPattern->setCurrentIndex(pattern >= 0 && pattern < cmbGraphPattern->count() ? pattern : 1);

  tabOptionPanel->setCurrentIndex(0);
  tabOptionPanel_Click(0);
}

void frmOptions::ShowFontName(const QString& name) {
  lblFontName->setText(name);
  lblFontName->setAccessibleName(name);
  // Shown in its own face; a Windows name draws with the Japanese fallback.
  QFont face = font();
  face.setFamily(name);
  lblFontName->setFont(face);
}

void frmOptions::chkIgnoreIp_Click() {
  const bool enabled = !chkIgnoreIp->isChecked();
  optSpecifyClass[0]->setEnabled(enabled);
  optSpecifyClass[1]->setEnabled(enabled);
}

void frmOptions::chkSpecifyHost_Click() {
  const bool enabled = chkSpecifyHost->isChecked();
  optSpecifyHost[0]->setEnabled(enabled);
  optSpecifyHost[1]->setEnabled(enabled);
  cmdIgnoreHost->setEnabled(enabled);
}

void frmOptions::tabOptionPanel_Click(int tab) {
  if (tab < 0 || tab > 2) return;
  if (tabOptionPanel->currentIndex() != tab) tabOptionPanel->setCurrentIndex(tab);
  helpContextId_ = kOptionHelpContexts[tab];
}

int frmOptions::PanelOf(QWidget* control) const {
  for (size_t i = 0; i < keyboardOrder_.size(); ++i)
    if (keyboardOrder_[i] == control) return keyboardPanel_[i];
  return -1;
}

bool frmOptions::TakesTabStop(QWidget* control) const {
  if (!control->isEnabledTo(this)) return false;
  // A group of option buttons is one stop: its selected button.
  if (auto* radio = qobject_cast<QRadioButton*>(control); radio && !radio->isChecked()) {
    for (QRadioButton* sibling : radio->parentWidget()->findChildren<QRadioButton*>(Qt::FindDirectChildrenOnly))
      if (sibling->isChecked() && sibling->isEnabledTo(this)) return false;
  }
  return true;
}

bool frmOptions::focusNextPrevChild(bool next) {
  QWidget* current = focusWidget();
  const int count = static_cast<int>(keyboardOrder_.size());
  int position = -1;
  for (int i = 0; i < count; ++i)
    if (keyboardOrder_[i] == current || (current && keyboardOrder_[i]->isAncestorOf(current))) position = i;
  if (position < 0) return QDialog::focusNextPrevChild(next);
  for (int step = 1; step <= count; ++step) {
    const int i = ((position + (next ? step : -step)) % count + count) % count;
    QWidget* target = keyboardOrder_[i];
    if (!TakesTabStop(target)) continue;
    // A control behind another panel can take the focus only once its panel is in front.
    if (keyboardPanel_[i] >= 0) tabOptionPanel_Click(keyboardPanel_[i]);
    target->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return true;
  }
  return false;
}

bool frmOptions::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusIn) {
    auto* control = static_cast<QWidget*>(watched);
    const int panel = PanelOf(control);
    if (panel >= 0) {
      // Entering a panel at its first or last control brings its tab to the front.
      QWidget* first = nullptr;
      QWidget* last = nullptr;
      for (size_t i = 0; i < keyboardOrder_.size(); ++i)
        if (keyboardPanel_[i] == panel) {
          if (!first) first = keyboardOrder_[i];
          last = keyboardOrder_[i];
        }
      if (control == first || control == last) tabOptionPanel_Click(panel);
    }
    // Selected again once a click has placed the caret.
    if (control == txtMaxDisp) {
      txtMaxDisp->selectAll();
      QTimer::singleShot(0, txtMaxDisp, &QLineEdit::selectAll);
    }
  }
  return QDialog::eventFilter(watched, event);
}

void frmOptions::cmdColor_Click(int index) {
  if (index < 0 || index > 12) return;
  // Not preset with the button's colour, as the chooser always opened.
  const std::optional<uint32_t> chosen = platform::CurrentPrompter().ChooseColor(0);
  if (chosen) cmdColor[index]->setFaceColor(*chosen);
  cmdColor[index]->setFocus();
}

void frmOptions::cmdFontName_Click() {
  platform::FontChoice current;
  current.name = lblFontName->text().toStdString();
  current.size = fontSize_;
  const std::optional<platform::FontChoice> chosen = platform::CurrentPrompter().ChooseFont(current);
  if (chosen && !chosen->name.empty()) {
    ShowFontName(QString::fromStdString(chosen->name));
    // The sizes the settings file takes back at the next start.
    fontSize_ = std::clamp(chosen->size, 1, 99);
  }
  activateWindow();
  cmdFontName->setFocus();
}

void frmOptions::cmdIgnoreHost_Click() {
  frmIgnList list(this);
  list.exec();
}

void frmOptions::SaveColorParam(std::string_view key, int index) {
  if (index < 0 || index >= static_cast<int>(cmdColor.size())) return;
  const uint32_t colour = cmdColor[index]->faceColor();
  char text[16];
  std::snprintf(text, sizeof text, "%03d%03d%03d", RedOf(colour), GreenOf(colour), BlueOf(colour));
  settings::SetParam(key, settings::ParamInput{std::string(text)});
}

void frmOptions::cmdOk_Click() {
  bool isNumber = false;
  const int maxDisp = txtMaxDisp->text().toInt(&isNumber);
  if (!isNumber || maxDisp < 1) {
    platform::ShowError("最大表示数には、１～９９９の数値を入力してください。");
    return;
  }
  const std::string logFormat = txtLogFormat->text().trimmed().toStdString();
  analysis::LogLayout layout;
  std::string layoutError;
  if (!logFormat.empty() && !analysis::CompileLogLayout(logFormat, layout, layoutError)) {
    tabOptionPanel_Click(0);
    txtLogFormat->setFocus();
    platform::ShowError(layoutError);
    return;
  }
  const std::string timeZone = TimeZoneSettingOf(cmbTimeZone);
  if (std::string error; !analysis::TimeZone::FromSetting(timeZone, &error)) {
    platform::ShowError(error);
    tabOptionPanel_Click(0);
    cmbTimeZone->setFocus();
    return;
  }
  settings::SetParam("TimeZone", settings::ParamInput{timeZone});
  settings::SetParam("MaxDisp", settings::ParamInput{txtMaxDisp->text().toStdString()});
  settings::SetParam("LogFormat", settings::ParamInput{logFormat});
  StoreFlag("IgnoreIP", chkIgnoreIp->isChecked());
  StoreFlag("SpecifyClass", optSpecifyClass[0]->isChecked());
  StoreFlag("CodeChange", chkCodeChange->isChecked());
  StoreFlag("Smallize", chkSmallize->isChecked());
  StoreFlag("IgnoreIndex", chkIgnoreIndex->isChecked());
  StoreFlag("IgnoreQuestion", chkIgnoreQuestion->isChecked());
  StoreFlag("IgnoreSharp", chkIgnoreSharp->isChecked());
  StoreFlag("IgnorePortNo", chkIgnorePortNo->isChecked());
  StoreFlag("SpecifyHost", chkSpecifyHost->isChecked());
  StoreFlag("IgnoreHost", !optSpecifyHost[0]->isChecked());
  StoreFlag("IgnorePage", chkIgnorePage->isChecked());
  StoreFlag("SearchLike", chkSearchLike->isChecked());
  for (int i = 0; i < 3; ++i)
    if (optRobotMode[static_cast<size_t>(i)]->isChecked()) settings::SetParam("RobotMode", settings::ParamInput{static_cast<long long>(i)});
  StoreFlag("AutoFtp", chkStartUp[0]->isChecked());
  StoreFlag("AutoAnalize", chkStartUp[1]->isChecked());
  StoreFlag("AutoMaxSize", chkStartUp[2]->isChecked());
  StoreFlag("AutoTile", chkStartUp[3]->isChecked());

  for (int i = 0; i < 13; ++i) SaveColorParam(kColorKeys[i], i);

  settings::SetParam("FontName", settings::ParamInput{lblFontName->text().toStdString()});
  settings::SetParam("FontSize", settings::ParamInput{static_cast<long long>(fontSize_)});
  settings::SetParam("GraphPattern", settings::ParamInput{static_cast<long long>(cmbGraphPattern->currentIndex())});

  PushColorsToWindows();
  accept();
}

void frmOptions::PushColorsToWindows() {
  auto* main = qobject_cast<frmMain*>(parentWidget());
  if (!main) return;
  const uint32_t fore = cmdColor[0]->faceColor();
  const uint32_t back = cmdColor[1]->faceColor();
  auto bar = [this](int index) { return cmdColor[index]->faceColor(); };
  auto open = [main](GraphKind kind) -> GraphWindow* {
    GraphWindow* window = main->Graph(kind);
    return window && window->ShowMe() ? window : nullptr;
  };
  if (auto* w = qobject_cast<frmMonth*>(open(GraphKind::Month))) w->aamSetColor(fore, back, bar(2));
  if (auto* w = qobject_cast<frmWWeek*>(open(GraphKind::WWeek))) w->aaeSetColor(fore, back, bar(3));
  if (auto* w = qobject_cast<frmDWeek*>(open(GraphKind::DWeek))) w->aawSetColor(fore, back, bar(4));
  if (auto* w = qobject_cast<frmDate*>(open(GraphKind::Date))) w->aadSetColor(fore, back, bar(5));
  if (auto* w = qobject_cast<frmTime*>(open(GraphKind::Time))) w->aatSetColor(fore, back, bar(6));
  if (auto* w = qobject_cast<frmOs*>(open(GraphKind::Os))) w->aaoSetColor(fore, back, bar(7));
  if (auto* w = qobject_cast<frmBrws*>(open(GraphKind::Brws))) w->aasSetColor(fore, back, bar(8));
  if (auto* w = qobject_cast<frmHost*>(open(GraphKind::Host))) w->aahSetColor(fore, back, bar(9));
  if (auto* w = qobject_cast<frmRef*>(open(GraphKind::Ref))) w->aarSetColor(fore, back, bar(10));
  if (auto* w = qobject_cast<frmPage*>(open(GraphKind::Page))) w->aapSetColor(fore, back, bar(11));
  if (auto* w = qobject_cast<frmAgent*>(open(GraphKind::Agent))) w->aaoSetColor(fore, back, bar(12));
  if (auto* w = qobject_cast<frmRobot*>(open(GraphKind::Robot))) w->aaySetColor(fore, back, bar(12));
  // The new colours, font, pattern and count show at once.
  for (GraphKind kind : kAllGraphKinds)
    if (GraphWindow* window = open(kind)) window->SetValues();
}

void frmOptions::cmdCancel_Click() { reject(); }

void frmOptions::cmdHelp_Click() { platform::ShowHelpTopic(this, helpContextId_); }

}  // namespace vorel::ui
