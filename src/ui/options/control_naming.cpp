#include "ui/options/control_naming.h"

#include <QRegularExpression>

namespace vorel::ui {

QString SpokenCaption(QString caption) {
  static const QRegularExpression accessKey(QStringLiteral("\\(&?[A-Za-z0-9]\\)|\\(&.\\)"));
  caption = caption.trimmed();
  if (caption.endsWith(QLatin1String("..."))) caption.chop(3);
  caption.remove(accessKey);
  caption.remove(QLatin1Char('&'));
  return caption.trimmed();
}

void Name(QWidget* control, const char* objectName, const QString& caption) {
  control->setObjectName(QString::fromLatin1(objectName));
  control->setAccessibleName(SpokenCaption(caption));
}

void SetIndex(QWidget* control, int index) { control->setProperty("Index", index); }

QLabel* NamedLabel(const QString& text, const char* objectName, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromLatin1(objectName));
  return label;
}

}  // namespace vorel::ui
