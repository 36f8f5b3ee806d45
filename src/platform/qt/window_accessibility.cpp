#include "platform/qt/window_accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QWidget>

namespace vorel::platform {
namespace {

const char kReadAsWindow[] = "vorelReadAsWindow";

QAccessibleInterface* WindowFactory(const QString& className, QObject* object) {
  auto* widget = qobject_cast<QWidget*>(object);
  // Asked once per class up the hierarchy: answer for the window's own class only.
  if (!widget || !widget->property(kReadAsWindow).toBool() ||
      className != QLatin1String(widget->metaObject()->className()))
    return nullptr;
  return new QAccessibleWidget(widget, widget->windowType() == Qt::Dialog ? QAccessible::Dialog : QAccessible::Window);
}

}  // namespace

void ReadAsWindow(QWidget* window) {
  static const bool installed = (QAccessible::installFactory(WindowFactory), true);
  (void)installed;
  window->setProperty(kReadAsWindow, true);
}

}  // namespace vorel::platform
