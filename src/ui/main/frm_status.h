// The progress window "処理状況" of a long piece of work (an analysis, a
// download): a message, a bar and the button "中止" (also Esc). It follows a
// background job: the job's progress moves the bar, the button cancels it.
// The bar's moves reach a screen reader as value changes.
#pragma once

#include <QWidget>
#include <cstdint>
#include <string>

class QLabel;
class QProgressBar;
class QPushButton;

namespace vorel::ui {

namespace jobs {
class BackgroundJob;
struct JobProgress;
}  // namespace jobs

class frmStatus : public QWidget {
  Q_OBJECT
 public:
  explicit frmStatus(QWidget* owner);

  // Shows the window centred over its owner.
  void ShowOverOwner();

  // Message and an empty bar running up to piMaxVal.
  void aauStausInit(int16_t piMaxVal, const std::string& psHelpCode);
  void aauMessageChange(const std::string& psHelpCode);
  // A position past the maximum shows a full bar; analysis::kProgressUnknown
  // (a stream of unknown length) a busy bar.
  void aauStatusChange(int16_t piVal);

  // From now on shows the job's progress; 中止 and Esc cancel the job. The
  // window appears with the job's first position if it is not shown yet.
  void Follow(jobs::BackgroundJob& job);

  QLabel* lblStatus;
  QProgressBar* pbrStatus;
  QPushButton* cmdCancel;

 protected:
  // The close box asks to stop as 中止 does; the window goes when the work has ended.
  void closeEvent(QCloseEvent* event) override;
  // Esc wherever the focus is in the window: as 中止.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void ShowProgress(const jobs::JobProgress& progress);
  void SetBar(int maximum, int value);

  jobs::BackgroundJob* job_ = nullptr;
};

}  // namespace vorel::ui
