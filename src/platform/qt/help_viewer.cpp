#include "platform/qt/help_viewer.h"

#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QResource>

#include "platform/data_files.h"
#include "platform/paths.h"
#include "platform/prompter.h"
#include "platform/qt/help_window.h"

namespace vorel::platform {
namespace {

const QString kMapRoot = QStringLiteral("/vorel-help");

std::string g_helpFile;
QString g_registered;  // the bundle currently mapped under kMapRoot
QPointer<HelpWindow> g_window;

void Unregister() {
  if (!g_registered.isEmpty()) QResource::unregisterResource(g_registered, kMapRoot);
  g_registered.clear();
}

// Maps the help file's pages; the failure's description otherwise.
bool RegisterHelpFile(std::string& failure) {
  const QString path = QString::fromStdString(g_helpFile);
  if (g_helpFile.empty() || !QFileInfo(path).isFile()) {
    Unregister();
    failure = "ヘルプファイルが見つかりません。\r\n" + g_helpFile;
    return false;
  }
  // Register again each time so that a help file replaced on disk is read anew.
  Unregister();
  if (!QResource::registerResource(path, kMapRoot)) {
    failure = "ヘルプファイルを読み込めません。\r\n" + g_helpFile;
    return false;
  }
  g_registered = path;
  return true;
}

bool OpenPage(QWidget* owner, const QString& page, const std::string& missingTopic) {
  std::string failure;
  if (!RegisterHelpFile(failure)) {
    ShowError(failure);
    return false;
  }
  if (!QFile::exists(QStringLiteral(":") + kMapRoot + QStringLiteral("/") + page)) {
    ShowError(missingTopic + "\r\n" + g_helpFile);
    return false;
  }
  QWidget* parent = owner ? owner->window() : nullptr;
  if (g_window && g_window->parentWidget() != parent) delete g_window.data();
  if (!g_window) g_window = new HelpWindow(parent);
  g_window->ShowPage(page);
  g_window->show();
  g_window->raise();
  g_window->activateWindow();
  return true;
}

}  // namespace

void SetHelpFile(std::string path) { g_helpFile = std::move(path); }
std::string HelpFile() { return g_helpFile; }
std::string DefaultHelpFilePath() { return ShippedFilePath("vorel.hlp"); }

bool ShowHelpContents(QWidget* owner) {
  return OpenPage(owner, QStringLiteral("contents.html"), "ヘルプの目次が見つかりません。");
}

bool ShowHelpTopic(QWidget* owner, int context) {
  return OpenPage(owner, QStringLiteral("topic-%1.html").arg(context),
                  "ヘルプのトピックが見つかりません。（コンテキスト番号 " + std::to_string(context) + "）");
}

}  // namespace vorel::platform
