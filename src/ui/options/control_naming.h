// Naming the controls of a window: the objectName others find them by, the
// index of a control array, and the Japanese name a screen reader announces.
#pragma once

#include <QLabel>
#include <QString>
#include <QWidget>

namespace vorel::ui {

// A caption as it is read aloud: without its access key ("設定(&S)" reads
// "設定") and without the trailing dots of a command that opens a window.
QString SpokenCaption(QString caption);

// Sets the objectName and, from the caption, the accessible name.
void Name(QWidget* control, const char* objectName, const QString& caption);

// A member of a control array: the shared objectName plus the property "Index".
void SetIndex(QWidget* control, int index);

QLabel* NamedLabel(const QString& text, const char* objectName, QWidget* parent);

}  // namespace vorel::ui
