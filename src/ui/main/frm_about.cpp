#include "ui/main/frm_about.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "settings/param_store.h"

#ifndef VOREL_VERSION_MAJOR
#define VOREL_VERSION_MAJOR 1
#endif
#ifndef VOREL_VERSION_MINOR
#define VOREL_VERSION_MINOR 0
#endif
#ifndef VOREL_BUILD_NUMBER
#define VOREL_BUILD_NUMBER "1"
#endif

namespace vorel::ui {

QString AboutVersionText(int major, int minor, const std::string& build, const std::string& dllVersion) {
  return QStringLiteral("Version %1.%2 (Build: %3)\n (DLL: Ver %4)")
      .arg(major)
      .arg(minor, 2, 10, QLatin1Char('0'))
      .arg(QString::fromStdString(build), QString::fromStdString(dllVersion));
}

frmAbout::frmAbout(QWidget* owner) : QDialog(owner) {
  setObjectName(QStringLiteral("frmAbout"));
  setWindowTitle(QStringLiteral("バージョン情報"));

  lblTitle = new QLabel(QStringLiteral("ＨＰアクセス解析ソフト"), this);
  lblTitle->setObjectName(QStringLiteral("lblTitle"));
  QFont titleFont = lblTitle->font();
  titleFont.setPointSizeF(titleFont.pointSizeF() * 1.5);
  titleFont.setBold(true);
  lblTitle->setFont(titleFont);

  lblVersion = new QLabel(
      AboutVersionText(VOREL_VERSION_MAJOR, VOREL_VERSION_MINOR, VOREL_BUILD_NUMBER, settings::ParamText("DllVersion")),
      this);
  lblVersion->setObjectName(QStringLiteral("lblVersion"));
  // Read when the box opens: which program and which version runs.
  setAccessibleDescription(lblTitle->text() + QLatin1Char(' ') + lblVersion->text().simplified());

  auto* note = new QLabel(QStringLiteral("ホームページのアクセスログを集計し、グラフで表示します。"), this);
  note->setObjectName(QStringLiteral("lblNote"));

  cmdOk = new QPushButton(QStringLiteral("閉じる(&C)"), this);
  cmdOk->setObjectName(QStringLiteral("cmdOk"));
  cmdOk->setAccessibleName(QStringLiteral("閉じる"));
  cmdOk->setDefault(true);
  // Esc closes the dialog as well (QDialog's cancel).
  connect(cmdOk, &QPushButton::clicked, this, &QDialog::accept);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(cmdOk);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(lblTitle);
  layout->addSpacing(8);
  layout->addWidget(lblVersion);
  layout->addSpacing(8);
  layout->addWidget(note);
  layout->addLayout(buttons);
}

}  // namespace vorel::ui
