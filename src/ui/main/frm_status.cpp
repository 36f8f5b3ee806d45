#include "ui/main/frm_status.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/qt/window_accessibility.h"

namespace vorel::ui {

frmStatus::frmStatus(QWidget* owner)
    : QWidget(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
  setObjectName(QStringLiteral("frmStatus"));
  setWindowTitle(QStringLiteral("処理状況"));
  platform::ReadAsWindow(this);
  lblStatus = new QLabel(this);
  lblStatus->setObjectName(QStringLiteral("lblStatus"));
  pbrStatus = new QProgressBar(this);
  pbrStatus->setObjectName(QStringLiteral("pbrStatus"));
  pbrStatus->setRange(0, 1);
  pbrStatus->setValue(0);
  pbrStatus->setTextVisible(false);
  // The label names the bar; the window says what it shows.
  lblStatus->setBuddy(pbrStatus);
  setAccessibleDescription(QStringLiteral("解析の進み具合を表示します"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(lblStatus);
  layout->addWidget(pbrStatus);
  setFixedSize(320, 90);
}

void frmStatus::ShowOverOwner() {
  const auto centre = [this] {
    if (QWidget* owner = parentWidget()) move(owner->window()->frameGeometry().center() - rect().center());
  };
  centre();
  show();
  // Once the window exists, the window system takes the position as well.
  centre();
  LetPaint();
}

void frmStatus::aauStausInit(int16_t piMaxVal, const std::string& psHelpCode) {
  lblStatus->setText(QString::fromStdString(psHelpCode));
  lblStatus->repaint();
  pbrStatus->setAccessibleName(lblStatus->text());
  pbrStatus->setRange(0, std::max<int>(piMaxVal, 0));
  pbrStatus->setValue(0);
  pbrStatus->repaint();
  LetPaint();
}

void frmStatus::aauMessageChange(const std::string& psHelpCode) {
  lblStatus->setText(QString::fromStdString(psHelpCode));
  // Named anew, so that a screen reader hears the new message with the bar.
  pbrStatus->setAccessibleName(lblStatus->text());
  lblStatus->repaint();
  LetPaint();
}

void frmStatus::aauStatusChange(int16_t piVal) {
  if (!isVisible()) ShowOverOwner();
  if (piVal == analysis::kProgressUnknown) {
    // A stream of unknown length: a busy bar instead of a position.
    if (pbrStatus->maximum() == 0) return;
    pbrStatus->setRange(0, 0);
    LetPaint();
    return;
  }
  const int value = std::clamp<int>(piVal, pbrStatus->minimum(), pbrStatus->maximum());
  if (value == pbrStatus->value()) return;
  pbrStatus->setValue(value);
  pbrStatus->repaint();
  LetPaint();
}

void frmStatus::LetPaint() {
  // A hidden window (a short log) has nothing to draw.
  if (!isVisible()) return;
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void frmStatus::closeEvent(QCloseEvent* event) {
  if (event->spontaneous()) event->ignore();
  else event->accept();
}

}  // namespace vorel::ui
