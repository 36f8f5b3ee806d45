// The window the help pages open in: one page at a time, with a button back
// to the contents. One window serves every help command.
#pragma once

#include <QWidget>

class QTextBrowser;
class QPushButton;

namespace vorel::platform {

class HelpWindow : public QWidget {
  Q_OBJECT
 public:
  explicit HelpWindow(QWidget* owner);

  // Shows a page of the registered help file ("contents.html", "topic-47.html" …).
  void ShowPage(const QString& page);
  QString CurrentPage() const;

 private:
  QTextBrowser* txtHelp_;
  QPushButton* cmdContents_;
  QPushButton* cmdClose_;
};

}  // namespace vorel::platform
