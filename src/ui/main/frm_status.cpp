#include "ui/main/frm_status.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <limits>

#include "analysis/analysis_pass.h"
#include "platform/qt/window_accessibility.h"
#include "ui/jobs/background_job.h"

namespace vorel::ui {
namespace {

// A total too large for the bar's integers is shown in thousandths.
constexpr int kScaledSteps = 1000;

}  // namespace

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
  cmdCancel = new QPushButton(QStringLiteral("中止"), this);
  cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
  cmdCancel->setAccessibleName(QStringLiteral("中止"));
  cmdCancel->setShortcut(QKeySequence(Qt::Key_Escape));
  cmdCancel->setEnabled(false);
  // The label names the bar; the window says what it shows.
  lblStatus->setBuddy(pbrStatus);
  setAccessibleDescription(QStringLiteral("処理の進み具合を表示します"));
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(cmdCancel);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(lblStatus);
  layout->addWidget(pbrStatus);
  layout->addLayout(buttons);
  setFixedSize(360, 120);
}

void frmStatus::ShowOverOwner() {
  const auto centre = [this] {
    if (QWidget* owner = parentWidget()) move(owner->window()->frameGeometry().center() - rect().center());
  };
  centre();
  show();
  // Once the window exists, the window system takes the position as well.
  centre();
  cmdCancel->setFocus();
}

void frmStatus::aauStausInit(int16_t piMaxVal, const std::string& psHelpCode) {
  aauMessageChange(psHelpCode);
  SetBar(std::max<int>(piMaxVal, 0), 0);
}

void frmStatus::aauMessageChange(const std::string& psHelpCode) {
  const QString text = QString::fromStdString(psHelpCode);
  if (text == lblStatus->text()) return;
  lblStatus->setText(text);
  // Named anew, so that a screen reader hears the new message with the bar.
  pbrStatus->setAccessibleName(text);
}

void frmStatus::aauStatusChange(int16_t piVal) {
  if (piVal == analysis::kProgressUnknown) SetBar(0, 0);
  else SetBar(pbrStatus->maximum(), piVal);
}

void frmStatus::SetBar(int maximum, int value) {
  if (maximum != pbrStatus->maximum()) pbrStatus->setRange(0, maximum);
  // An unknown total (maximum 0) shows the busy bar.
  value = maximum == 0 ? 0 : std::clamp(value, 0, maximum);
  // The bar tells the screen reader of each new value itself.
  pbrStatus->setValue(value);
}

void frmStatus::Follow(jobs::BackgroundJob& job) {
  job_ = &job;
  cmdCancel->setEnabled(true);
  connect(cmdCancel, &QPushButton::clicked, &job, &jobs::BackgroundJob::Cancel);
  connect(&job, &jobs::BackgroundJob::CancelRequestedChanged, this, [this] { cmdCancel->setEnabled(false); });
  connect(&job, &jobs::BackgroundJob::ProgressChanged, this, &frmStatus::ShowProgress);
}

void frmStatus::ShowProgress(const jobs::JobProgress& progress) {
  // The analysis pass reports a first position once the log has proved long
  // enough for the window; a download's window is shown from the start.
  if (progress.positioned && !isVisible()) ShowOverOwner();
  if (!progress.message.empty()) aauMessageChange(progress.message);
  if (progress.total <= 0) {
    SetBar(0, 0);
  } else if (progress.total <= std::numeric_limits<int>::max()) {
    SetBar(static_cast<int>(progress.total), static_cast<int>(std::min(progress.done, progress.total)));
  } else {
    SetBar(kScaledSteps, static_cast<int>(std::min(progress.done, progress.total) * kScaledSteps / progress.total));
  }
}

void frmStatus::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    if (cmdCancel->isEnabled()) cmdCancel->click();
    return;
  }
  QWidget::keyPressEvent(event);
}

void frmStatus::closeEvent(QCloseEvent* event) {
  if (!event->spontaneous()) {
    event->accept();
    return;
  }
  event->ignore();
  if (job_) job_->Cancel();
}

}  // namespace vorel::ui
