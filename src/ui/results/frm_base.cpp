#include "ui/results/frm_base.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFontMetrics>
#include <QGridLayout>
#include <QInputMethodEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

#include "analysis/result.h"
#include "settings/param_store.h"
#include "ui/results/analysed_logs.h"

namespace vorel::ui {
namespace {

QLabel* NewLabel(QWidget* parent, const char* name, const QString& text) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromLatin1(name));
  return label;
}

QComboBox* NewCombo(QWidget* parent, const char* name) {
  auto* box = new QComboBox(parent);
  box->setObjectName(QString::fromLatin1(name));
  box->setEditable(true);
  box->setInsertPolicy(QComboBox::NoInsert);
  box->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  return box;
}

std::array<QLineEdit*, 3> NewDateBoxes(QWidget* parent, const char* name) {
  std::array<QLineEdit*, 3> boxes{};
  const int widths[3] = {QFontMetrics(parent->font()).horizontalAdvance(QStringLiteral("00000")) + 8,
                         QFontMetrics(parent->font()).horizontalAdvance(QStringLiteral("000")) + 8,
                         QFontMetrics(parent->font()).horizontalAdvance(QStringLiteral("000")) + 8};
  for (int i = 0; i < 3; ++i) {
    boxes[i] = new QLineEdit(parent);
    boxes[i]->setObjectName(QString::fromLatin1(name));
    boxes[i]->setProperty("Index", i);
    boxes[i]->setAlignment(Qt::AlignRight);
    boxes[i]->setFixedWidth(widths[i]);
  }
  return boxes;
}

// A key press that types a character into a text box.
bool TypesCharacter(const QKeyEvent& key) {
  if (key.text().isEmpty() || key.key() == Qt::Key_Delete) return false;
  if (key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
  const QChar c = key.text().at(0);
  return c.isPrint() || c == QChar(8);
}

int IndexOf(const std::array<QLineEdit*, 3>& boxes, QObject* object) {
  for (int i = 0; i < 3; ++i)
    if (boxes[i] == object) return i;
  return -1;
}

}  // namespace

frmBase::frmBase(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("frmBase"));
  setWindowTitle(QStringLiteral("解析情報"));
  CreateControls();
  Form_Load();
}

void frmBase::CreateControls() {
  lblFileName = NewLabel(this, "lblFileName", QStringLiteral("ログファイル名："));
  cmbFileName = NewCombo(this, "cmbFileName");
  chkSpecifyDate = new QCheckBox(QStringLiteral("解析日付を指定しない。"), this);
  chkSpecifyDate->setObjectName(QStringLiteral("chkSpecifyDate"));
  txtStartDate = NewDateBoxes(this, "txtStartDate");
  lblStartYear = NewLabel(this, "lblStartYear", QStringLiteral("年"));
  lblStartMonth = NewLabel(this, "lblStartMonth", QStringLiteral("月"));
  lblStartDay = NewLabel(this, "lblStartDay", QStringLiteral("日"));
  lblKara = NewLabel(this, "lblKara", QStringLiteral("～"));
  txtEndDate = NewDateBoxes(this, "txtEndDate");
  lblEndYear = NewLabel(this, "lblEndYear", QStringLiteral("年"));
  lblEndMonth = NewLabel(this, "lblEndMonth", QStringLiteral("月"));
  lblEndDay = NewLabel(this, "lblEndDay", QStringLiteral("日"));
  lblPage = NewLabel(this, "lblPage", QStringLiteral("解析ページ："));
  cmbPage = NewCombo(this, "cmbPage");
  chkSpecifyPage = new QCheckBox(QStringLiteral("解析ページを指定しない。"), this);
  chkSpecifyPage->setObjectName(QStringLiteral("chkSpecifyPage"));
  lblTotalAccessTitle = NewLabel(this, "lblTotalAccessTitle", QStringLiteral("アクセス合計"));
  lblTotalAccess = NewLabel(this, "lblTotalAccess", QString());
  lblRobotAccessTitle = NewLabel(this, "lblRobotAccessTitle", QStringLiteral("ロボット"));
  lblRobotAccess = NewLabel(this, "lblRobotAccess", QString());
  lblUniqeHostTitle = NewLabel(this, "lblUniqeHostTitle", QStringLiteral("ユニークホスト数"));
  lblUniqueHost = NewLabel(this, "lblUniqueHost", QString());
  // Beside totals that belong to another log than the one named above them.
  lblNotAnalysed = NewLabel(this, "lblNotAnalysed", QString::fromUtf8(kNotAnalysedMark));
  for (QLabel* total : {lblTotalAccess, lblRobotAccess, lblUniqueHost}) {
    total->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    total->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    total->setMinimumWidth(QFontMetrics(font()).horizontalAdvance(QStringLiteral("0000000000")));
  }

  auto* dates = new QHBoxLayout;
  dates->setSpacing(2);
  dates->addSpacing(16);
  auto addDate = [dates](const std::array<QLineEdit*, 3>& boxes, QLabel* y, QLabel* m, QLabel* d) {
    dates->addWidget(boxes[0]);
    dates->addWidget(y);
    dates->addWidget(boxes[1]);
    dates->addWidget(m);
    dates->addWidget(boxes[2]);
    dates->addWidget(d);
  };
  addDate(txtStartDate, lblStartYear, lblStartMonth, lblStartDay);
  dates->addSpacing(4);
  dates->addWidget(lblKara);
  dates->addSpacing(4);
  addDate(txtEndDate, lblEndYear, lblEndMonth, lblEndDay);
  dates->addStretch();

  auto* totals = new QHBoxLayout;
  totals->addWidget(lblTotalAccessTitle);
  totals->addWidget(lblTotalAccess);
  totals->addSpacing(6);
  totals->addWidget(lblRobotAccessTitle);
  totals->addWidget(lblRobotAccess);
  totals->addSpacing(12);
  totals->addWidget(lblUniqeHostTitle);
  totals->addWidget(lblUniqueHost);
  totals->addSpacing(6);
  totals->addWidget(lblNotAnalysed);
  totals->addStretch();

  auto* grid = new QGridLayout;
  grid->addWidget(lblFileName, 0, 0);
  grid->addWidget(cmbFileName, 0, 1);
  grid->addWidget(chkSpecifyDate, 1, 0, 1, 2);
  grid->addLayout(dates, 2, 0, 1, 2);
  grid->addWidget(lblPage, 3, 0);
  grid->addWidget(cmbPage, 3, 1);
  grid->addWidget(chkSpecifyPage, 4, 0, 1, 2);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(8, 6, 8, 6);
  layout->setSpacing(4);
  layout->addLayout(grid);
  layout->addSpacing(4);
  layout->addLayout(totals);
  layout->addStretch();

  connect(chkSpecifyDate, &QCheckBox::toggled, this, &frmBase::chkSpecifyDate_Click);
  connect(chkSpecifyPage, &QCheckBox::toggled, this, &frmBase::chkSpecifyPage_Click);
  for (QLineEdit* box : txtStartDate) box->installEventFilter(this);
  for (QLineEdit* box : txtEndDate) box->installEventFilter(this);
  // Files may be dropped on the label or on the file-name box.
  lblFileName->setAcceptDrops(true);
  lblFileName->installEventFilter(this);
  cmbFileName->setAcceptDrops(true);
  cmbFileName->installEventFilter(this);
  cmbFileName->lineEdit()->installEventFilter(this);
  NameControls();
}

// What a screen reader says for each control: a label beside a box is its
// buddy, and the date boxes tell which date and which part they hold.
void frmBase::NameControls() {
  lblFileName->setBuddy(cmbFileName);
  lblPage->setBuddy(cmbPage);
  for (QComboBox* box : {cmbFileName, cmbPage}) {
    const QString name = (box == cmbFileName ? lblFileName : lblPage)->text().remove(QStringLiteral("："));
    box->setAccessibleName(name);
    box->lineEdit()->setAccessibleName(name);
  }
  const QString parts[3] = {QStringLiteral("年"), QStringLiteral("月"), QStringLiteral("日")};
  for (int i = 0; i < 3; ++i) {
    txtStartDate[static_cast<size_t>(i)]->setAccessibleName(QStringLiteral("開始日 ") + parts[i]);
    txtEndDate[static_cast<size_t>(i)]->setAccessibleName(QStringLiteral("終了日 ") + parts[i]);
  }
  lblTotalAccessTitle->setBuddy(lblTotalAccess);
  lblRobotAccessTitle->setBuddy(lblRobotAccess);
  lblUniqeHostTitle->setBuddy(lblUniqueHost);
}

void frmBase::Form_Load() {
  showMe_ = true;
  resize(kWidthTwips / 15, kHeightTwips / 15);
  FillFileNameList();
  if (!settings::ParamFlag("SpecifyDate")) chkSpecifyDate->setChecked(true);
  chkSpecifyDate_Click();
  FillDateBoxes(txtStartDate, "StartDate");
  FillDateBoxes(txtEndDate, "EndDate");
  if (!settings::ParamFlag("SpecifyPage")) chkSpecifyPage->setChecked(true);
  chkSpecifyPage_Click();
  FillPageList();
  ShowTotals();
  // Another log named: its figures are not the ones shown until it is analysed.
  connect(cmbFileName, &QComboBox::editTextChanged, this, &frmBase::ShowTotals);
}

void frmBase::FillDateBoxes(const std::array<QLineEdit*, 3>& boxes, const char* key) {
  const settings::Date date = settings::ParamDate(key);
  boxes[0]->setText(QStringLiteral("%1").arg(date.year, 4, 10, QLatin1Char('0')));
  boxes[1]->setText(QString::number(date.month));
  boxes[2]->setText(QString::number(date.day));
}

void frmBase::FillFileNameList() {
  cmbFileName->clear();
  for (int i = 1; i <= 5; ++i) {
    const std::string entry = settings::ParamText("LogFile", i);
    if (!entry.empty()) cmbFileName->addItem(QString::fromStdString(entry));
  }
  cmbFileName->setEditText(QString::fromStdString(settings::ParamText("LogFile", 1)));
}

void frmBase::FillPageList() {
  cmbPage->clear();
  for (int i = 1; i <= 10; ++i) {
    const std::string entry = settings::ParamText("Page", i);
    if (!entry.empty()) cmbPage->addItem(QString::fromStdString(entry));
  }
  cmbPage->setEditText(QString::fromStdString(settings::ParamText("Page", 1)));
  // The drop-down list shows every entry without a scroll bar.
  cmbPage->setMaxVisibleItems(std::max(cmbPage->count(), 1));
}

void frmBase::ShowTotals() {
  lblTotalAccess->setText(QString::number(analysis::ResultCount(0)));
  lblRobotAccess->setText(QString::number(analysis::ResultCount(31)));
  lblUniqueHost->setText(QString::number(analysis::ResultCount(17)));
  const bool analysed = IsLogAnalysed(cmbFileName->currentText().toStdString());
  lblNotAnalysed->setVisible(!analysed);
  // The totals are read with their titles, and with the mark when it shows.
  const QString mark = analysed ? QString() : QLatin1Char(' ') + lblNotAnalysed->text();
  lblTotalAccess->setAccessibleName(lblTotalAccessTitle->text() + QLatin1Char(' ') + lblTotalAccess->text() + mark);
  lblRobotAccess->setAccessibleName(lblRobotAccessTitle->text() + QLatin1Char(' ') + lblRobotAccess->text() + mark);
  lblUniqueHost->setAccessibleName(lblUniqeHostTitle->text() + QLatin1Char(' ') + lblUniqueHost->text() + mark);
}

void frmBase::chkSpecifyDate_Click() {
  const bool enabled = !chkSpecifyDate->isChecked();
  for (QLineEdit* box : txtStartDate) box->setEnabled(enabled);
  for (QLineEdit* box : txtEndDate) box->setEnabled(enabled);
}

void frmBase::chkSpecifyPage_Click() { cmbPage->setEnabled(!chkSpecifyPage->isChecked()); }

void frmBase::txtStartDate_GotFocus(int Index) { txtStartDate.at(Index)->selectAll(); }
void frmBase::txtEndDate_GotFocus(int Index) { txtEndDate.at(Index)->selectAll(); }

void frmBase::DateKeyPress(int& KeyAscii) {
  const bool digit = KeyAscii >= '0' && KeyAscii <= '9';
  if (!digit && KeyAscii != 8) KeyAscii = 0;
}

void frmBase::txtStartDate_KeyPress(int, int& KeyAscii) { DateKeyPress(KeyAscii); }
void frmBase::txtEndDate_KeyPress(int, int& KeyAscii) { DateKeyPress(KeyAscii); }

void frmBase::DropFiles(const QMimeData* data) {
  if (!data || !data->hasUrls()) return;
  const QList<QUrl> urls = data->urls();
  if (urls.isEmpty() || !urls.first().isLocalFile()) return;
  cmbFileName->setEditText(urls.first().toLocalFile());
}

void frmBase::cmbFileName_OLEDragDrop(const QMimeData* Data) { DropFiles(Data); }
void frmBase::lblFileName_OLEDragDrop(const QMimeData* Data) { DropFiles(Data); }

std::string frmBase::JoinDate(const std::array<QLineEdit*, 3>& boxes) {
  return (boxes[0]->text() + QLatin1Char('/') + boxes[1]->text() + QLatin1Char('/') + boxes[2]->text()).toStdString();
}

void frmBase::alSetBaseInfo() {
  // Each field on its own: SetParam leaves a parameter unchanged when its text does not convert.
  settings::SetParam("LogFile", cmbFileName->currentText().toStdString());
  settings::SetParam("SpecifyDate", settings::ParamInput{!chkSpecifyDate->isChecked()});
  settings::SetParam("StartDate", JoinDate(txtStartDate));
  settings::SetParam("EndDate", JoinDate(txtEndDate));
  settings::SetParam("SpecifyPage", settings::ParamInput{!chkSpecifyPage->isChecked()});
  settings::SetParam("Page", cmbPage->currentText().toStdString());
}

void frmBase::closeEvent(QCloseEvent* event) {
  if (showMe_) {
    showMe_ = false;
    alSetBaseInfo();
  }
  event->accept();
}

bool frmBase::eventFilter(QObject* watched, QEvent* event) {
  const int start = IndexOf(txtStartDate, watched);
  const int end = IndexOf(txtEndDate, watched);
  if (start >= 0 || end >= 0) {
    if (event->type() == QEvent::KeyPress) {
      auto* key = static_cast<QKeyEvent*>(event);
      // Only typed characters go through the filter: keys that type nothing
      // (arrows, Delete), control keys (Tab, Shift+Tab, Enter) and shortcuts
      // (Ctrl+V: pasted text is not filtered) keep their meaning.
      if (!TypesCharacter(*key)) return false;
      int KeyAscii = key->text().at(0).unicode();
      if (start >= 0) txtStartDate_KeyPress(start, KeyAscii);
      else txtEndDate_KeyPress(end, KeyAscii);
      return KeyAscii == 0;
    }
    if (event->type() == QEvent::InputMethod) {
      // Text an input method commits (kana, kanji, full-width digits) is typed too.
      auto* input = static_cast<QInputMethodEvent*>(event);
      QString digits;
      for (QChar c : input->commitString()) {
        int KeyAscii = c.unicode();
        if (start >= 0) txtStartDate_KeyPress(start, KeyAscii);
        else txtEndDate_KeyPress(end, KeyAscii);
        if (KeyAscii != 0 && KeyAscii != 8) digits += QChar(KeyAscii);
      }
      if (digits == input->commitString() && input->preeditString().isEmpty()) return false;
      // What is left of it, without a composition in progress.
      QInputMethodEvent filtered;
      filtered.setCommitString(digits, input->replacementStart(), input->replacementLength());
      QCoreApplication::sendEvent(watched, &filtered);
      return true;
    }
    if (event->type() == QEvent::FocusIn) {
      // After the click that gave the focus has placed the cursor.
      QTimer::singleShot(0, this, [this, start, end] {
        if (start >= 0) txtStartDate_GotFocus(start);
        else txtEndDate_GotFocus(end);
      });
    }
    return false;
  }
  const bool dropTarget = watched == lblFileName || watched == cmbFileName || watched == cmbFileName->lineEdit();
  if (dropTarget) {
    if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
      auto* drag = static_cast<QDragMoveEvent*>(event);
      if (drag->mimeData()->hasUrls()) {
        drag->acceptProposedAction();
        return true;
      }
    } else if (event->type() == QEvent::Drop) {
      auto* drop = static_cast<QDropEvent*>(event);
      if (drop->mimeData()->hasUrls()) {
        if (watched == lblFileName) lblFileName_OLEDragDrop(drop->mimeData());
        else cmbFileName_OLEDragDrop(drop->mimeData());
        drop->acceptProposedAction();
        return true;
      }
    }
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace vorel::ui
