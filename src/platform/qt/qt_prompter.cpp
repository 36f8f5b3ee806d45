#include "platform/qt/qt_prompter.h"

#include <QApplication>
#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QFontDialog>
#include <QLabel>
#include <QMessageBox>
#include <QMimeDatabase>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QStorageInfo>
#include <QStringList>
#include <algorithm>

namespace vorel::platform {
namespace {

QWidget* DialogOwner() { return QApplication::activeWindow(); }

QMessageBox::Icon ToQtIcon(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Error: return QMessageBox::Critical;
    case MessageIcon::Warning: return QMessageBox::Warning;
    case MessageIcon::Question: return QMessageBox::Question;
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::None: break;
  }
  return QMessageBox::NoIcon;
}

QMessageBox::StandardButton ToQtButton(MessageAnswer answer) {
  switch (answer) {
    case MessageAnswer::Ok: return QMessageBox::Ok;
    case MessageAnswer::Retry: return QMessageBox::Retry;
    case MessageAnswer::Cancel: return QMessageBox::Cancel;
    case MessageAnswer::Yes: return QMessageBox::Yes;
    case MessageAnswer::No: return QMessageBox::No;
  }
  return QMessageBox::Ok;
}

// File types told by the name alone. Telling them by their contents reads
// every file the dialog lists, and a special file (/proc/kmsg) can block
// that read for good.
class NameOnlyIconProvider : public QFileIconProvider {
 public:
  QIcon icon(IconType type) const override { return QFileIconProvider::icon(type); }
  QIcon icon(const QFileInfo& info) const override {
    if (info.isDir()) return QFileIconProvider::icon(Folder);
    if (!info.isFile()) return QFileIconProvider::icon(File);
    const QMimeType type = mimeTypes_.mimeTypeForFile(info.fileName(), QMimeDatabase::MatchExtension);
    const QIcon themed = QIcon::fromTheme(type.iconName(), QIcon::fromTheme(type.genericIconName()));
    return themed.isNull() ? QFileIconProvider::icon(File) : themed;
  }
  QString type(const QFileInfo& info) const override {
    if (!info.isFile()) return QFileIconProvider::type(info);
    const QMimeType type = mimeTypes_.mimeTypeForFile(info.fileName(), QMimeDatabase::MatchExtension);
    return type.comment().isEmpty() ? type.name() : type.comment();
  }

 private:
  QMimeDatabase mimeTypes_;
};

QFileIconProvider& NameOnlyIcons() {
  static NameOnlyIconProvider provider;
  return provider;
}

// Folders of the kernel's and devices' special files: a dialog never starts there.
bool IsSpecialFolder(const QString& folder) {
  const QString path = QFileInfo(folder).canonicalFilePath();
  if (path.isEmpty()) return false;
  for (const char* root : {"/proc", "/sys", "/dev"}) {
    const QString r = QString::fromLatin1(root);
    if (path == r || path.startsWith(r + QLatin1Char('/'))) return true;
  }
  static const QStringList specialKinds = {QStringLiteral("proc"),   QStringLiteral("sysfs"),
                                           QStringLiteral("devtmpfs"), QStringLiteral("devpts"),
                                           QStringLiteral("debugfs"), QStringLiteral("tracefs")};
  return specialKinds.contains(QString::fromLatin1(QStorageInfo(path).fileSystemType()));
}

QString& LastOrdinaryFolder() {
  static QString folder;
  return folder;
}

void RememberFolder(const QString& folder) {
  if (QFileInfo(folder).isDir() && !IsSpecialFolder(folder)) LastOrdinaryFolder() = QFileInfo(folder).absoluteFilePath();
}

// The folder of the initial path, unless it is missing or special: then the
// last ordinary folder a dialog was left in, or the home folder.
QString StartFolder(const QString& initialPath) {
  if (!initialPath.isEmpty()) {
    const QFileInfo info(initialPath);
    const QString folder = info.isDir() ? info.absoluteFilePath() : info.absolutePath();
    if (QFileInfo(folder).isDir() && !IsSpecialFolder(folder)) return folder;
  }
  const QString last = LastOrdinaryFolder();
  if (!last.isEmpty() && QFileInfo(last).isDir()) return last;
  return QDir::homePath();
}

}  // namespace

QString MessageText(const std::string& text) {
  QString s = QString::fromStdString(text);
  s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return s;
}

QString QtFileFilter(const std::string& filter) {
  const QStringList parts = QString::fromStdString(filter).split(QLatin1Char('|'));
  static const QRegularExpression trailingPatterns(QStringLiteral("\\s*\\([^()]*\\)\\s*$"));
  QStringList entries;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    QString description = parts[i];
    description.remove(trailingPatterns);
    QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (QString& p : patterns) p = p.trimmed();
    entries << description.trimmed() + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
  }
  return entries.join(QStringLiteral(";;"));
}

namespace {

void NameMessageBox(QMessageBox& box) {
  // The buttons as a Japanese desktop labels them, and read without their access keys.
  struct Caption {
    QMessageBox::StandardButton button;
    const char* text;
    const char* name;
  };
  static const Caption captions[] = {{QMessageBox::Ok, "OK", "OK"},
                                     {QMessageBox::Cancel, "キャンセル", "キャンセル"},
                                     {QMessageBox::Retry, "再試行(&R)", "再試行"},
                                     {QMessageBox::Yes, "はい(&Y)", "はい"},
                                     {QMessageBox::No, "いいえ(&N)", "いいえ"}};
  for (const Caption& caption : captions) {
    if (QAbstractButton* button = box.button(caption.button)) {
      button->setText(QString::fromUtf8(caption.text));
      button->setAccessibleName(QString::fromUtf8(caption.name));
    }
  }
  // Japanese text has no spaces to wrap at: a line as wide as the screen
  // allows stays whole instead of leaving its last characters on a line of their own.
  if (auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))) {
    int longest = 0;
    for (const QString& line : box.text().split(QLatin1Char('\n')))
      longest = std::max(longest, label->fontMetrics().horizontalAdvance(line) + 2);
    const QScreen* screen = box.screen();
    const int limit = screen ? screen->availableGeometry().width() * 3 / 4 : longest;
    label->setMinimumWidth(std::min(longest, limit));
  }
  // A screen reader announces the box by its title and reads the message with it.
  box.setAccessibleName(box.windowTitle());
  box.setAccessibleDescription(box.text());
}

}  // namespace

MessageAnswer QtPrompter::ShowMessage(const MessageRequest& request) {
  // On the heap: the owner may go away while the box is open, taking its children with it.
  QPointer<QMessageBox> box = new QMessageBox(ToQtIcon(request.icon), QString::fromStdString(request.title),
                                              MessageText(request.text), QMessageBox::NoButton, DialogOwner());
  // Messages quote file names and visitors' URLs: never read them as markup.
  box->setTextFormat(Qt::PlainText);
  switch (request.buttons) {
    case MessageButtons::Ok: box->setStandardButtons(QMessageBox::Ok); break;
    case MessageButtons::RetryCancel: box->setStandardButtons(QMessageBox::Retry | QMessageBox::Cancel); break;
    case MessageButtons::YesNo: box->setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
  }
  if (auto* def = qobject_cast<QPushButton*>(box->button(ToQtButton(request.defaultAnswer)))) box->setDefaultButton(def);
  NameMessageBox(*box);
  const int result = box->exec();
  delete box.data();
  switch (result) {
    case QMessageBox::Retry: return MessageAnswer::Retry;
    case QMessageBox::Yes: return MessageAnswer::Yes;
    case QMessageBox::No: return MessageAnswer::No;
    case QMessageBox::Cancel: return MessageAnswer::Cancel;
    case QMessageBox::Ok: return MessageAnswer::Ok;
    default: break;
  }
  // Closed some other way: the safe answer.
  switch (request.buttons) {
    case MessageButtons::Ok: return MessageAnswer::Ok;
    case MessageButtons::RetryCancel: return MessageAnswer::Cancel;
    case MessageButtons::YesNo: return MessageAnswer::No;
  }
  return MessageAnswer::Cancel;
}

std::optional<std::string> QtPrompter::ChooseFile(const FileDialogRequest& request) {
  const QString initial = QString::fromStdString(request.initialPath);
  // On the heap: the owner may go away while the dialog is open.
  QPointer<QFileDialog> dialog =
      new QFileDialog(DialogOwner(), QString::fromStdString(request.title), QString(), QtFileFilter(request.filter));
  dialog->setIconProvider(&NameOnlyIcons());
  dialog->setDirectory(StartFolder(initial));
  if (!initial.isEmpty() && !QFileInfo(initial).isDir()) dialog->selectFile(QFileInfo(initial).fileName());
  if (request.save) {
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    // The commands ask about overwriting themselves, with their own wording.
    dialog->setOption(QFileDialog::DontConfirmOverwrite);
  } else {
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(QFileDialog::ExistingFile);
  }
  const bool accepted = dialog->exec() == QDialog::Accepted && dialog && !dialog->selectedFiles().isEmpty();
  const QString chosen = accepted ? dialog->selectedFiles().constFirst() : QString();
  delete dialog.data();
  if (chosen.isEmpty()) return std::nullopt;
  RememberFolder(QFileInfo(chosen).absolutePath());
  return chosen.toStdString();
}

std::optional<uint32_t> QtPrompter::ChooseColor(uint32_t initial) {
  QColor start(initial & 0xFF, (initial >> 8) & 0xFF, (initial >> 16) & 0xFF);
  QColor chosen = QColorDialog::getColor(start, DialogOwner());
  if (!chosen.isValid()) return std::nullopt;
  return static_cast<uint32_t>(chosen.red()) | (static_cast<uint32_t>(chosen.green()) << 8) |
         (static_cast<uint32_t>(chosen.blue()) << 16);
}

std::optional<FontChoice> QtPrompter::ChooseFont(const FontChoice& initial) {
  bool ok = false;
  QFont font = QFontDialog::getFont(&ok, QFont(QString::fromStdString(initial.name), initial.size), DialogOwner());
  if (!ok) return std::nullopt;
  FontChoice choice;
  choice.name = font.family().toStdString();
  choice.size = font.pointSize() > 0 ? font.pointSize() : initial.size;
  return choice;
}

std::optional<std::string> QtPrompter::ChooseFolder(const FolderDialogRequest& request) {
  QPointer<QFileDialog> dialog = new QFileDialog(DialogOwner(), QString::fromStdString(request.title));
  dialog->setIconProvider(&NameOnlyIcons());
  dialog->setDirectory(StartFolder(QString::fromStdString(request.initialPath)));
  dialog->setFileMode(QFileDialog::Directory);
  dialog->setOption(QFileDialog::ShowDirsOnly);
  const bool accepted = dialog->exec() == QDialog::Accepted && dialog && !dialog->selectedFiles().isEmpty();
  const QString chosen = accepted ? dialog->selectedFiles().constFirst() : QString();
  delete dialog.data();
  if (chosen.isEmpty()) return std::nullopt;
  RememberFolder(chosen);
  return chosen.toStdString();
}

}  // namespace vorel::platform
