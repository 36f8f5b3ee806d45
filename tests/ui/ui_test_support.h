// Shared set-up for the window tests: a program folder of their own with the
// classification file, defaults in the parameter store, an empty result, the
// built help file and a scripted prompter.
#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QKeyEvent>
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <memory>
#include <ostream>
#include <string>

#include "analysis/analysis_pass.h"
#include "analysis/class_lists.h"
#include "platform/paths.h"
#include "platform/prompter.h"
#include "platform/qt/help_viewer.h"
#include "platform/registry_store.h"
#include "settings/param_store.h"
#include "settings/startup.h"
#include "support/test_files.h"
#include "ui/main/frm_main.h"
#include "ui/main/frm_status.h"

// Readable texts in test failures.
inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

namespace vorel::ui {

// A key pressed and released on a widget, as the keyboard would send it.
inline void PressKey(QWidget* widget, int key, const QString& text = QString()) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
  QApplication::sendEvent(widget, &press);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
  QApplication::sendEvent(widget, &release);
}

// Typing a text character by character.
inline void TypeText(QWidget* widget, const QString& text) {
  for (QChar c : text) {
    const int key = c.isDigit() ? Qt::Key_0 + c.digitValue() : (c.isLetter() ? Qt::Key_A + (c.toUpper().unicode() - 'A') : Qt::Key_unknown);
    PressKey(widget, key, QString(c));
  }
}

class UiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::SetProgramFolder(dir.path());
    platform::SetRegistryFolderForTesting(dir.File("config/vorel"));
    // The settings file, as without switches.
    settings::ParseCommandLine("");
    settings::ClearParams();
    settings::ApplyDefaults();
    dir.Write("vorel.dat", testing::ReadFile(std::string(VOREL_SOURCE_DIR) + "/data/vorel.dat"));
    analysis::LoadClassLists();
    analysis::ResetResult();
    platform::SetHelpFile(std::string(VOREL_BINARY_DIR) + "/vorel.hlp");
  }

  void TearDown() override {
    frame.reset();
    // Windows of the program that a test left open (help, About, progress).
    QList<QWidget*> leftOver;
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w->objectName().startsWith(QLatin1String("frm")) && !w->parentWidget()) leftOver << w;
    qDeleteAll(leftOver);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    analysis::SetProgressReceiver(nullptr);
    analysis::ResetResult();
    analysis::ClearClassLists();
    platform::SetRegistryFolderForTesting("");
    platform::SetProgramFolder("");
    settings::ClearParams();
  }

  // A frame as start-up leaves it: loaded, sized and shown.
  frmMain& OpenFrame() {
    frame = std::make_unique<frmMain>();
    frame->Form_Load();
    frame->resize(settings::ParamInt("MainWidth") / 15, settings::ParamInt("MainHeight") / 15);
    frame->show();
    return *frame;
  }

  // One access as the logging script writes it: four records, CR LF.
  static std::string Access(const std::string& page, const std::string& stamp, const std::string& host) {
    return "1#(" + page + ")" + stamp + "\r\n2#Mozilla/4.0 (compatible; MSIE 6.0; Windows 98)\r\n3#\r\n4#" + host +
           "\r\n";
  }

  // A log of `count` accesses to `page`, one a day from 2024/1/1, from three
  // hosts of three domains (pc.site0.ne.jp, pc.site1.ne.jp, pc.site2.ne.jp).
  std::string WriteLog(const std::string& name, int count, const std::string& page = "index") {
    std::string text;
    for (int i = 0; i < count; ++i)
      text += Access(page, "2024/01/" + std::to_string(1 + i % 28) + " 12:00:00",
                     "pc.site" + std::to_string(i % 3) + ".ne.jp(10.0.0." + std::to_string(i % 3) + ")");
    return dir.Write(name, testing::Sjis(text));
  }

  // The analysis command's choices without the summary window: all dates, all pages.
  void UseLog(const std::string& path) {
    settings::SetParam("LogFile", path);
    settings::SetParam("SpecifyDate", settings::ParamInput{false});
    settings::SetParam("SpecifyPage", settings::ParamInput{false});
  }

  // A log long enough for the pass to take a while: `count` accesses of
  // three hosts over four days (the same four-record block over and over).
  std::string WriteLongLog(const std::string& name, int count) {
    std::string block;
    for (int i = 0; i < 4; ++i)
      block += Access("index", "2024/02/0" + std::to_string(1 + i) + " 0" + std::to_string(i) + ":00:00",
                      "pc.site" + std::to_string(i % 3) + ".ne.jp(10.0.1." + std::to_string(i % 3) + ")");
    std::string text;
    text.reserve(block.size() * static_cast<size_t>(count / 4 + 1));
    for (int i = 0; i < count / 4; ++i) text += block;
    return dir.Write(name, text);
  }

  bool Enabled(const char* name) const {
    QAction* action = frame->MenuItem(name) ? frame->MenuItem(name) : frame->ToolbarButton(name);
    return action && action->isEnabled();
  }

  testing::TempDir dir;
  platform::ScriptedPrompter prompter;
  platform::ScopedPrompter scoped{prompter};
  std::unique_ptr<frmMain> frame;
};

// Presses 中止 on the first progress window that shows itself under `owner`,
// and notes where its bar stood then.
class StopWhenProgressShows : public QObject {
 public:
  explicit StopWhenProgressShows(QWidget& owner) : owner_(owner) {
    connect(&timer_, &QTimer::timeout, this, [this] {
      auto* status = owner_.findChild<frmStatus*>();
      if (pressed || !status || !status->isVisible()) return;
      value = status->pbrStatus->value();
      maximum = status->pbrStatus->maximum();
      status->cmdCancel->click();
      pressed = true;
    });
    timer_.start(1);
  }
  bool pressed = false;
  int value = -1;
  int maximum = -1;

 private:
  QWidget& owner_;
  QTimer timer_;
};

}  // namespace vorel::ui
