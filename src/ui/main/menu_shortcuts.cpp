#include "ui/main/menu_shortcuts.h"

#include <QAction>
#include <QApplication>
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

MenuShortcutPriority::MenuShortcutPriority(QMainWindow* frame) : QObject(frame), frame_(frame) {
  qApp->installEventFilter(this);
}

MenuShortcutPriority::~MenuShortcutPriority() { qApp->removeEventFilter(this); }

bool MenuShortcutPriority::IsMenuShortcut(const QKeySequence& key) const {
  QList<QAction*> items;
  CollectItems(frame_->menuBar()->actions(), items);
  for (QAction* item : items)
    if (item->isEnabled() && item->shortcuts().contains(key)) return true;
  return false;
}

void MenuShortcutPriority::Yield(QMdiSubWindow* child) const {
  QList<QAction*> own = child->findChildren<QAction*>();
  if (QMenu* system = child->systemMenu()) own << system->actions();
  own << child->actions();
  QList<QAction*> items;
  CollectItems(frame_->menuBar()->actions(), items);
  QList<QKeySequence> taken;
  for (QAction* item : items) taken << item->shortcuts();
  for (QAction* action : own) {
    QList<QKeySequence> keys = action->shortcuts();
    const qsizetype before = keys.size();
    keys.removeIf([&taken](const QKeySequence& key) { return taken.contains(key); });
    if (keys.size() != before) action->setShortcuts(keys);
  }
}

bool MenuShortcutPriority::eventFilter(QObject* watched, QEvent* event) {
  // A focused widget asks first whether it wants a key before shortcuts get
  // it; inside the frame, the menu's keys are not the widget's to take.
  if (event->type() == QEvent::ShortcutOverride && watched->isWidgetType()) {
    auto* widget = static_cast<QWidget*>(watched);
    auto* key = static_cast<QKeyEvent*>(event);
    if (widget->window() == frame_ && key->modifiers() != Qt::NoModifier &&
        IsMenuShortcut(QKeySequence(key->keyCombination()))) {
      event->ignore();
      return true;
    }
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace vorel::ui
