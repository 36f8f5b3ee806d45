// Finding the controls of the options windows by objectName and, for control
// arrays, by their "Index" property.
#pragma once

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include "platform/qt/help_window.h"
#include "ui/ui_test_support.h"

namespace vorel::ui {

template <typename T>
T* Control(QWidget* window, const char* name, int index = -1) {
  for (T* control : window->findChildren<T*>(QString::fromLatin1(name)))
    if (index < 0 || control->property("Index").toInt() == index) return control;
  ADD_FAILURE() << "no control " << name << "(" << index << ")";
  return nullptr;
}

// The help window on screen, or null.
inline platform::HelpWindow* ShownHelpWindow() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* help = qobject_cast<platform::HelpWindow*>(w); help && help->isVisible()) return help;
  return nullptr;
}

inline void PressShiftTab(QWidget* widget) {
  QKeyEvent press(QEvent::KeyPress, Qt::Key_Backtab, Qt::ShiftModifier);
  QApplication::sendEvent(widget, &press);
}

}  // namespace vorel::ui
