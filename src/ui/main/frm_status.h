// The progress window "処理状況" of one analysis: a message and a bar. The
// analysis pass reports to it through analysis::ProgressReceiver. The pass
// runs without yielding, so each change of the status lets the window system
// deliver what it has for painting (exposure, updates), never user input.
#pragma once

#include <QWidget>
#include <cstdint>
#include <string>

#include "analysis/analysis_pass.h"

class QLabel;
class QProgressBar;

namespace vorel::ui {

class frmStatus : public QWidget, public analysis::ProgressReceiver {
  Q_OBJECT
 public:
  explicit frmStatus(QWidget* owner);

  // Shows the window centred over its owner and lets it be drawn.
  void ShowOverOwner();

  // Message and an empty bar running up to piMaxVal.
  void aauStausInit(int16_t piMaxVal, const std::string& psHelpCode);
  void aauMessageChange(const std::string& psHelpCode) override;
  // Shows the window when it is hidden: the pass reports a first position
  // once the log has proved long enough for one. A position past the
  // maximum shows a full bar; kProgressUnknown a busy bar.
  void aauStatusChange(int16_t piVal) override;

  QLabel* lblStatus;
  QProgressBar* pbrStatus;

 protected:
  // The user cannot close it while the pass runs; the command closes it.
  void closeEvent(QCloseEvent* event) override;

 private:
  // Delivers paint events and the window system's own events, not user input.
  void LetPaint();
};

}  // namespace vorel::ui
