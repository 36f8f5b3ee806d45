// Walks a window as assistive technology sees it and lists the interactive
// controls that have no accessible name.
#pragma once

#include <QAccessible>
#include <QStringList>
#include <QWidget>

namespace vorel::ui {

inline bool IsInteractive(QAccessible::Role role) {
  switch (role) {
    case QAccessible::PushButton:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::ComboBox:
    case QAccessible::EditableText:
    case QAccessible::SpinBox:
    case QAccessible::List:
    case QAccessible::Table:
    case QAccessible::Tree:
    case QAccessible::PageTab:
    case QAccessible::Slider:
    case QAccessible::ButtonMenu:
    case QAccessible::ButtonDropDown:
    case QAccessible::MenuItem:
      return true;
    default:
      return false;
  }
}

inline void CollectUnnamed(QAccessibleInterface* node, QStringList& unnamed, int depth = 0) {
  if (!node || depth > 40 || node->state().invisible) return;
  if (IsInteractive(node->role()) && node->text(QAccessible::Name).trimmed().isEmpty()) {
    QString where = node->object() ? node->object()->objectName() : QStringLiteral("?");
    if (node->object() && where.isEmpty() && node->object()->parent())
      where = node->object()->parent()->objectName() + QStringLiteral("/") + node->object()->metaObject()->className();
    unnamed << QStringLiteral("%1 (role %2)").arg(where).arg(static_cast<int>(node->role()));
  }
  for (int i = 0; i < node->childCount(); ++i) CollectUnnamed(node->child(i), unnamed, depth + 1);
}

inline QStringList UnnamedControls(QWidget* window) {
  QStringList unnamed;
  CollectUnnamed(QAccessible::queryAccessibleInterface(window), unnamed);
  return unnamed;
}

}  // namespace vorel::ui
