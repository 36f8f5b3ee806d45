#include "ui/main/menu_shortcuts.h"

#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>

namespace vorel::ui {
namespace {

// Every item of a menu and of its submenus.
void CollectItems(const QList<QAction*>& actions, QList<QAction*>& items) {
  for (QAction* action : actions) {
    if (QMenu* menu = action->menu()) CollectItems(menu->actions(), items);
    else items << action;
  }
}

}  // namespace

bool IsTextEditingKey(const QWidget* widget, const QKeyEvent& key) {
  const bool textBox = qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QTextEdit*>(widget) ||
                       qobject_cast<const QPlainTextEdit*>(widget) || qobject_cast<const QAbstractSpinBox*>(widget);
  if (!textBox) return false;
  for (QKeySequence::StandardKey standard : {QKeySequence::SelectAll, QKeySequence::Cut, QKeySequence::Copy,
                                             QKeySequence::Paste, QKeySequence::Undo, QKeySequence::Redo})
    if (key.matches(standard)) return true;
  return false;
}

MenuShortcutPriority::MenuShortcutPriority(QMainWindow* frame) : QObject(frame), frame_(frame) {
  qApp->installEventFilter(this);
}

MenuShortcutPriority::~MenuShortcutPriority() { qApp->removeEventFilter(this); }

bool MenuShortcutPriority::IsMenuShortcut(const QKeySequence& key) const {
  for (QAction* item : FrameActions())
    if (item->isEnabled() && item->shortcuts().contains(key)) return true;
  return false;
}

QList<QAction*> MenuShortcutPriority::FrameActions() const {
  QList<QAction*> items;
  CollectItems(frame_->menuBar()->actions(), items);
  items << frame_->actions();
  return items;
}

void MenuShortcutPriority::Yield(QMdiSubWindow* child) const {
  QList<QAction*> own = child->findChildren<QAction*>();
  if (QMenu* system = child->systemMenu()) own << system->actions();
  own << child->actions();
  QList<QKeySequence> taken;
  for (QAction* item : FrameActions()) taken << item->shortcuts();
  for (QAction* action : own) {
    QList<QKeySequence> keys = action->shortcuts();
    const qsizetype before = keys.size();
    keys.removeIf([&taken](const QKeySequence& key) { return taken.contains(key); });
    if (keys.size() != before) action->setShortcuts(keys);
  }
}

bool MenuShortcutPriority::eventFilter(QObject* watched, QEvent* event) {
  // A focused widget asks first whether it wants a key before shortcuts get
  // it; inside the frame, the menu's keys are not the widget's to take,
  // except a text box's editing keys.
  if (event->type() == QEvent::ShortcutOverride && watched->isWidgetType()) {
    auto* widget = static_cast<QWidget*>(watched);
    auto* key = static_cast<QKeyEvent*>(event);
    if (widget->window() == frame_ && key->modifiers() != Qt::NoModifier && !IsTextEditingKey(widget, *key) &&
        IsMenuShortcut(QKeySequence(key->keyCombination()))) {
      event->ignore();
      return true;
    }
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace vorel::ui
