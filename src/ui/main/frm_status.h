// The progress window "処理状況" of one analysis: a message and a bar. The
// analysis pass reports to it through analysis::ProgressReceiver; it runs
// without yielding, so every change is painted at once.
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

  // Message and an empty bar running up to piMaxVal.
  void aauStausInit(int16_t piMaxVal, const std::string& psHelpCode);
  void aauMessageChange(const std::string& psHelpCode) override;
  // A position past the maximum shows a full bar.
  void aauStatusChange(int16_t piVal) override;

  QLabel* lblStatus;
  QProgressBar* pbrStatus;
};

}  // namespace vorel::ui
