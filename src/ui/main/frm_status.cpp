#include "ui/main/frm_status.h"

#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/qt/window_accessibility.h"

namespace vorel::ui {

frmStatus::frmStatus(QWidget* owner) : QWidget(owner, Qt::Dialog) {
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

void frmStatus::aauStausInit(int16_t piMaxVal, const std::string& psHelpCode) {
  aauMessageChange(psHelpCode);
  pbrStatus->setRange(0, std::max<int>(piMaxVal, 0));
  pbrStatus->setValue(0);
  pbrStatus->repaint();
}

void frmStatus::aauMessageChange(const std::string& psHelpCode) {
  lblStatus->setText(QString::fromStdString(psHelpCode));
  // Named anew, so that a screen reader hears the new message with the bar.
  pbrStatus->setAccessibleName(lblStatus->text());
  lblStatus->repaint();
}

void frmStatus::aauStatusChange(int16_t piVal) {
  const int value = std::clamp<int>(piVal, pbrStatus->minimum(), pbrStatus->maximum());
  if (value == pbrStatus->value()) return;
  pbrStatus->setValue(value);
  pbrStatus->repaint();
}

}  // namespace vorel::ui
