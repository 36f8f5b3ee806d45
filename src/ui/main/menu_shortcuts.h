// The menu's shortcuts come first inside the frame, as menu accelerators do
// on the platform the program comes from: a text box does not keep Ctrl+A or
// Ctrl+X for itself, and a child window's own close key gives way to Ctrl+W.
#pragma once

#include <QObject>

class QMainWindow;
class QMdiSubWindow;

namespace vorel::ui {

class MenuShortcutPriority : public QObject {
 public:
  // Watches the key events of the frame's window; the frame owns the watcher.
  explicit MenuShortcutPriority(QMainWindow* frame);
  ~MenuShortcutPriority() override;

  // Takes the menu's shortcuts away from a child window's own actions.
  void Yield(QMdiSubWindow* child) const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Whether an enabled item of the frame's menu bar has this key.
  bool IsMenuShortcut(const QKeySequence& key) const;

  QMainWindow* frame_;
};

}  // namespace vorel::ui
