#include "ui/print/frm_paper.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>
#include <vector>

#include "platform/prompter.h"
#include "platform/qt/help_viewer.h"
#include "settings/param_store.h"

namespace vorel::ui {
namespace {

// Captions of the check boxes, by bit of PrintWindow.
constexpr std::array<const char*, kPrintWindowBoxes> kWindowCaptions = {
    "月", "日付", "週", "曜日", "時間", "ＯＳ", "ブラウザ", "ホスト", "前画面", "ページ", "エージェント", "ロボット"};
constexpr std::array<const char*, kPaperOptions> kPaperCaptions = {"１項目", "２項目", "４項目"};
constexpr int kHelpContext = 104;
constexpr int kBoxColumns = 4;

// Accessible names read the caption without its mnemonic marker.
QString Spoken(const QString& caption) {
  QString text = caption;
  const int amp = text.indexOf(QStringLiteral("(&"));
  if (amp >= 0) text.truncate(amp);
  return text.remove(QLatin1Char('&'));
}

QPushButton* MakeButton(const char* caption, const char* name, QWidget* parent) {
  auto* button = new QPushButton(QString::fromUtf8(caption), parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setAccessibleName(Spoken(button->text()));
  button->setAutoDefault(false);
  return button;
}

}  // namespace

QPixmap PaperIllustration(qreal devicePixelRatio, int paperType) {
  const QSize size(84, 112);
  QPixmap pixmap(size * devicePixelRatio);
  pixmap.setDevicePixelRatio(devicePixelRatio);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing, false);
  // The sheet with a folded corner's shadow.
  p.fillRect(QRect(4, 4, 78, 106), QColor(160, 160, 160));
  p.fillRect(QRect(1, 1, 78, 106), Qt::white);
  p.setPen(QColor(64, 64, 64));
  p.drawRect(QRect(1, 1, 77, 105));
  // The graphs inside the margins as the choice places them: one filling the
  // area, two side by side, or four two by two; columns first, then bars.
  const QColor bar(0, 0, 160);
  std::vector<QRect> places;
  if (paperType == 0) places = {QRect(9, 12, 62, 84)};
  else if (paperType == 1) places = {QRect(9, 12, 30, 84), QRect(41, 12, 30, 84)};
  else places = {QRect(9, 12, 30, 40), QRect(41, 12, 30, 40), QRect(9, 56, 30, 40), QRect(41, 56, 30, 40)};
  const int columns[5] = {14, 30, 22, 36, 10};
  const int bars[4] = {26, 20, 12, 6};
  for (size_t g = 0; g < places.size(); ++g) {
    const QRect& r = places[g];
    p.setPen(QColor(190, 190, 190));
    p.drawRect(r.adjusted(0, 0, -1, -1));
    p.setPen(bar);
    p.setBrush(g % 3 == 0 ? QBrush(bar) : QBrush(bar, Qt::BDiagPattern));
    if (g == 0 || (g == 1 && places.size() == 4)) {
      const int step = (r.width() - 4) / 5;
      for (int i = 0; i < 5; ++i)
        p.drawRect(r.left() + 3 + i * step, r.bottom() - 2 - columns[i] * (r.height() - 6) / 40, step - 1,
                   columns[i] * (r.height() - 6) / 40);
    } else {
      const int row = std::min((r.height() - 8) / 4, 9);
      for (int i = 0; i < 4; ++i) p.drawRect(r.left() + 2, r.top() + 4 + i * row, bars[i] * (r.width() - 4) / 28, row - 4);
    }
  }
  return pixmap;
}

frmPaper::frmPaper(QWidget* owner) : QDialog(owner) {
  setObjectName(QStringLiteral("frmPaper"));
  setWindowTitle(QStringLiteral("印刷設定"));
  setModal(true);

  fraWindow = new QGroupBox(QStringLiteral("印刷する画面"), this);
  fraWindow->setObjectName(QStringLiteral("fraWindow"));
  auto* boxes = new QGridLayout(fraWindow);
  for (int i = 0; i < kPrintWindowBoxes; ++i) {
    auto* box = new QCheckBox(QString::fromUtf8(kWindowCaptions[i]), fraWindow);
    box->setObjectName(QStringLiteral("chkWindow"));
    box->setProperty("Index", i);
    box->setAccessibleName(box->text());
    boxes->addWidget(box, i / kBoxColumns, i % kBoxColumns);
    chkWindow[i] = box;
  }

  fraPaper = new QGroupBox(QStringLiteral("一枚あたりの項目数"), this);
  fraPaper->setObjectName(QStringLiteral("fraPaper"));
  auto* options = new QHBoxLayout(fraPaper);
  for (int i = 0; i < kPaperOptions; ++i) {
    auto* option = new QRadioButton(QString::fromUtf8(kPaperCaptions[i]), fraPaper);
    option->setObjectName(QStringLiteral("optPaper"));
    option->setProperty("Index", i);
    option->setAccessibleName(option->text());
    options->addWidget(option);
    optPaper[i] = option;
  }
  options->addStretch();

  imgPaper = new QLabel(this);
  imgPaper->setObjectName(QStringLiteral("imgPaper"));
  imgPaper->setAccessibleName(QStringLiteral("用紙の図"));
  imgPaper->setAlignment(Qt::AlignCenter);
  // The picture follows the choice of graphs per sheet.
  for (int i = 0; i < kPaperOptions; ++i)
    connect(optPaper[i], &QRadioButton::toggled, this, [this, i](bool on) {
      if (on) ShowPaper(i);
    });

  cmdNext = MakeButton("印刷(&P)", "cmdNext", this);
  cmdNext->setDefault(true);
  cmdCancel = MakeButton("中止(&C)", "cmdCancel", this);
  cmdHelp = MakeButton("ヘルプ(&H)", "cmdHelp", this);
  connect(cmdNext, &QPushButton::clicked, this, &frmPaper::cmdNext_Click);
  connect(cmdCancel, &QPushButton::clicked, this, &frmPaper::cmdCancel_Click);
  connect(cmdHelp, &QPushButton::clicked, this, &frmPaper::cmdHelp_Click);

  auto* left = new QVBoxLayout;
  left->addWidget(fraWindow);
  auto* lower = new QHBoxLayout;
  lower->addWidget(fraPaper, 1);
  lower->addWidget(imgPaper);
  left->addLayout(lower);
  auto* buttons = new QVBoxLayout;
  buttons->addWidget(cmdNext);
  buttons->addWidget(cmdCancel);
  buttons->addStretch();
  buttons->addWidget(cmdHelp);
  auto* layout = new QHBoxLayout(this);
  layout->addLayout(left, 1);
  layout->addLayout(buttons);
  // Nothing in the dialog gains from more room.
  layout->setSizeConstraint(QLayout::SetFixedSize);

  Form_Load();
}

void frmPaper::ShowPaper(int paperType) {
  imgPaper->setPixmap(PaperIllustration(devicePixelRatioF(), paperType));
  imgPaper->setAccessibleDescription(QStringLiteral("一枚に") + optPaper[paperType]->text());
}

void frmPaper::Form_Load() {
  const int printWindow = settings::ParamInt("PrintWindow");
  for (int i = 0; i < kPrintWindowBoxes; ++i) chkWindow[i]->setChecked((printWindow >> i) & 1);
  const int paperType = settings::ParamInt("PaperType");
  // A value outside the buttons (a hand-edited settings file) selects none,
  // and the picture shows four, as printing then does.
  if (paperType >= 0 && paperType < kPaperOptions) optPaper[paperType]->setChecked(true);
  else ShowPaper(kPaperOptions - 1);
}

void frmPaper::cmdNext_Click() {
  int mask = 0;
  for (int i = 0; i < kPrintWindowBoxes; ++i)
    if (chkWindow[i]->isChecked()) mask |= 1 << i;
  if (mask == 0) {
    platform::ShowError("印刷する画面が選択されていません。");
    return;
  }
  int paperType = -1;
  for (int i = 0; i < kPaperOptions; ++i)
    if (optPaper[i]->isChecked()) paperType = i;
  settings::SetParam("PrintWindow", mask);
  if (paperType >= 0) settings::SetParam("PaperType", paperType);
  result_ = true;
  done(QDialog::Accepted);
}

void frmPaper::cmdCancel_Click() { reject(); }

void frmPaper::reject() {
  result_ = false;
  QDialog::reject();
}

bool frmPaper::focusNextPrevChild(bool next) {
  if (!QDialog::focusNextPrevChild(next)) return false;
  // The sheet sizes are one stop, taken at the size chosen.
  auto* landed = qobject_cast<QRadioButton*>(focusWidget());
  if (landed && !landed->isChecked())
    for (QRadioButton* option : optPaper)
      if (option->isChecked()) option->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
  return true;
}

void frmPaper::cmdHelp_Click() { platform::ShowHelpTopic(this, kHelpContext); }

}  // namespace vorel::ui
