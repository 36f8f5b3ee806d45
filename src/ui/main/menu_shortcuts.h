// The menu's shortcuts come first inside the frame, as menu accelerators do
// on the platform the program comes from, with one exception: in a text box
// the standard editing keys (select all, cut, copy, paste, undo, redo) edit
// the text, as in every other program. A child window's own keys give way to
// the frame's (Ctrl+W to the browser graph; Ctrl+F4 closes through the frame).
#pragma once

#include <QObject>

class QAction;
class QKeyEvent;
class QMainWindow;
class QMdiSubWindow;
class QWidget;

namespace vorel::ui {

// Whether a key is one of the standard text-editing keys and the widget a text box.
bool IsTextEditingKey(const QWidget* widget, const QKeyEvent& key);

class MenuShortcutPriority : public QObject {
 public:
  // Watches the key events of the frame's window; the frame owns the watcher.
  explicit MenuShortcutPriority(QMainWindow* frame);
  ~MenuShortcutPriority() override;

  // Takes the frame's shortcuts (menu items and the frame's own actions)
  // away from a child window's own actions.
  void Yield(QMdiSubWindow* child) const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Whether an enabled item of the frame's menu bar has this key.
  bool IsMenuShortcut(const QKeySequence& key) const;
  QList<QAction*> FrameActions() const;

  QMainWindow* frame_;
};

}  // namespace vorel::ui
