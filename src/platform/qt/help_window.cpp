#include "platform/qt/help_window.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "platform/qt/window_accessibility.h"

namespace vorel::platform {

namespace {
// Where the help file's pages appear once it is registered.
const QString kHelpRoot = QStringLiteral("qrc:/vorel-help/");
}  // namespace

HelpWindow::HelpWindow(QWidget* owner) : QWidget(owner, Qt::Window) {
  setObjectName(QStringLiteral("frmHelp"));
  setWindowTitle(QStringLiteral("ＨＰアクセス解析 ヘルプ"));
  setAttribute(Qt::WA_DeleteOnClose);
  ReadAsWindow(this);

  txtHelp_ = new QTextBrowser(this);
  txtHelp_->setObjectName(QStringLiteral("txtHelp"));
  txtHelp_->setOpenLinks(true);
  txtHelp_->setOpenExternalLinks(false);
  // A caret that the arrow keys move, so the page can be read line by line.
  txtHelp_->setTextInteractionFlags(Qt::TextBrowserInteraction | Qt::TextSelectableByKeyboard);
  txtHelp_->setAccessibleName(QStringLiteral("ヘルプの本文"));
  txtHelp_->setAccessibleDescription(QStringLiteral("Tab キーでリンクを順にたどり、Enter キーで開きます"));

  cmdContents_ = new QPushButton(QStringLiteral("目次(&C)"), this);
  cmdContents_->setObjectName(QStringLiteral("cmdContents"));
  cmdContents_->setAccessibleName(QStringLiteral("目次"));
  cmdClose_ = new QPushButton(QStringLiteral("閉じる(&X)"), this);
  cmdClose_->setObjectName(QStringLiteral("cmdClose"));
  cmdClose_->setAccessibleName(QStringLiteral("閉じる"));
  connect(cmdContents_, &QPushButton::clicked, this, [this] { ShowPage(QStringLiteral("contents.html")); });
  connect(cmdClose_, &QPushButton::clicked, this, &QWidget::close);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(cmdContents_);
  buttons->addStretch();
  buttons->addWidget(cmdClose_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(txtHelp_);
  layout->addLayout(buttons);
  resize(560, 480);
}

void HelpWindow::ShowPage(const QString& page) {
  // Load afresh: the help file may have been registered anew since the last page.
  txtHelp_->clearHistory();
  txtHelp_->setSource(QUrl(kHelpRoot + page));
  txtHelp_->reload();
}

QString HelpWindow::CurrentPage() const { return txtHelp_->source().fileName(); }

}  // namespace vorel::platform
