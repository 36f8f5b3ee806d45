// The frame's child windows: opening or activating a result window, the
// Window menu's arrangements and its list of open windows.
#include <QAction>
#include <QActionGroup>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QScreen>
#include <QStyle>
#include <algorithm>

#include "ui/main/frm_main.h"
#include "ui/main/menu_shortcuts.h"
#include "ui/results/frm_base.h"
#include "ui/results/graph_window.h"

namespace vorel::ui {
namespace {

// The toolbar button of each result window, whose image the window wears too.
const char* const kWindowButtonKeys[kResultSlotCount] = {
    "BaseWindow", "MonthWindow", "WWeekWindow", "DWeekWindow", "DateWindow", "TimeWindow",
    "OSWindow",   "BrwsWindow",  "AgentWindow", "HostWindow",  "RefWindow",  "PageWindow",
    "AgentWindow"};  // robots have no button of their own: they wear the agents' image

}  // namespace

QMdiSubWindow* frmMain::SubWindow(ResultSlot slot) const { return subWindows_[SlotIndex(slot)].data(); }

frmBase* frmMain::BaseWindow() const {
  QMdiSubWindow* sub = SubWindow(ResultSlot::Base);
  return sub ? qobject_cast<frmBase*>(sub->widget()) : nullptr;
}

GraphWindow* frmMain::Graph(GraphKind kind) const {
  QMdiSubWindow* sub = SubWindow(SlotOf(kind));
  return sub ? qobject_cast<GraphWindow*>(sub->widget()) : nullptr;
}

bool frmMain::IsResultWindowOpen(ResultSlot slot) const {
  if (slot == ResultSlot::Base) {
    const frmBase* base = BaseWindow();
    return base && base->aabShowMe();
  }
  const GraphWindow* graph = Graph(GraphKindOf(slot));
  return graph && graph->ShowMe();
}

QMdiSubWindow* frmMain::OpenResultWindow(ResultSlot slot) {
  if (IsResultWindowOpen(slot)) return SubWindow(slot);
  // A window that was closed but not yet destroyed is replaced by a fresh one.
  if (QMdiSubWindow* old = SubWindow(slot)) delete old;

  QWidget* content = nullptr;
  if (slot == ResultSlot::Base) content = new frmBase;
  else content = GraphWindow::Create(GraphKindOf(slot));
  QMdiSubWindow* sub = mdiArea_->addSubWindow(content);
  sub->setAttribute(Qt::WA_DeleteOnClose);
  menuShortcuts_->Yield(sub);
  sub->setObjectName(content->objectName() + QStringLiteral("Child"));
  sub->setWindowTitle(content->windowTitle());
  sub->setWindowIcon(imlIcons_.value(QString::fromLatin1(kWindowButtonKeys[SlotIndex(slot)])));
  if (slot == ResultSlot::Base) {
    // The summary window is designed 5175 x 3060 twips; a larger font may need more.
    sub->resize(sub->sizeHint().expandedTo(QSize(frmBase::kWidthTwips / 15, frmBase::kHeightTwips / 15)));
  }
  subWindows_[SlotIndex(slot)] = sub;
  sub->show();
  return sub;
}

void frmMain::ShowResultWindow(ResultSlot slot) {
  if (IsResultWindowOpen(slot)) {
    QMdiSubWindow* sub = SubWindow(slot);
    if (sub->isMinimized()) sub->showNormal();
    mdiArea_->setActiveSubWindow(sub);
    return;
  }
  mdiArea_->setActiveSubWindow(OpenResultWindow(slot));
}

void frmMain::mnuWindowCascade_Click() { mdiArea_->cascadeSubWindows(); }
void frmMain::mnuWindowTileHorizontal_Click() { TileChildren(Qt::Vertical); }
void frmMain::mnuWindowTileVertical_Click() { TileChildren(Qt::Horizontal); }

void frmMain::TileChildren(Qt::Orientation stacking) {
  // The children that are neither minimised nor hidden, the active one first.
  QList<QMdiSubWindow*> windows;
  const QList<QMdiSubWindow*> stack = mdiArea_->subWindowList(QMdiArea::StackingOrder);
  for (auto it = stack.rbegin(); it != stack.rend(); ++it)
    if ((*it)->isVisible() && !(*it)->isMinimized()) windows << *it;
  if (windows.isEmpty()) return;
  for (QMdiSubWindow* sub : windows)
    if (sub->isMaximized()) sub->showNormal();

  const QRect area = mdiArea_->viewport()->rect();
  const int n = static_cast<int>(windows.size());
  for (int i = 0; i < n; ++i) {
    QRect cell;
    if (stacking == Qt::Vertical) {
      const int top = area.height() * i / n;
      const int bottom = area.height() * (i + 1) / n;
      cell = QRect(0, top, area.width(), bottom - top);
    } else {
      const int left = area.width() * i / n;
      const int right = area.width() * (i + 1) / n;
      cell = QRect(left, 0, right - left, area.height());
    }
    windows[i]->setGeometry(cell);
  }
}

void frmMain::PlaceForFirstStart() {
  const QRect screen = this->screen()->availableGeometry();
  // What the frame adds around its area: menu bar, toolbar and the area's border.
  const int border = 2 * mdiArea_->frameWidth();
  const QSize chrome(border, border + menuBar()->sizeHint().height() +
                                 (tbToolBar_->isHidden() ? 0 : tbToolBar_->sizeHint().height()));
  const int titleBar = style()->pixelMetric(QStyle::PM_TitleBarHeight);
  const QSize graph = GraphWindow::InitialSize() + QSize(0, titleBar);
  const QSize summary(frmBase::kWidthTwips / 15, frmBase::kHeightTwips / 15 + titleBar);
  const int toolbarWidth = tbToolBar_->sizeHint().width() + chrome.width();
  const QSize needed(std::max({toolbarWidth, graph.width() + chrome.width(), summary.width() + chrome.width()}),
                     summary.height() + 2 * graph.height() + chrome.height());
  // Room for the window manager's border and title bar, unknown until shown.
  const QSize decoration(2 * titleBar, 3 * titleBar);
  const QSize size = QSize(screen.width() * 2 / 3, screen.height() * 2 / 3)
                         .expandedTo(needed)
                         .boundedTo(screen.size() - decoration);
  setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size, screen));
}

void frmMain::TileInGrid() { mdiArea_->tileSubWindows(); }

void frmMain::mnuWindowArrangeIcons_Click() {
  // Minimised children in a row along the bottom edge, left to right.
  const QRect area = mdiArea_->viewport()->rect();
  int x = 0;
  int y = area.bottom() + 1;
  for (QMdiSubWindow* sub : mdiArea_->subWindowList(QMdiArea::CreationOrder)) {
    if (!sub->isMinimized()) continue;
    const QSize size = sub->size();
    if (x > 0 && x + size.width() > area.width()) {
      x = 0;
      y -= size.height();
    }
    sub->move(x, y - size.height());
    x += size.width();
  }
}

void frmMain::UpdateWindowList() {
  for (QAction* action : windowList_->actions()) {
    windowList_->removeAction(action);
    delete action;
  }
  const QList<QMdiSubWindow*> windows = mdiArea_->subWindowList(QMdiArea::CreationOrder);
  if (windows.isEmpty()) return;
  QAction* separator = mnuWindow_->addSeparator();
  separator->setObjectName(QStringLiteral("mnuWindowListBar"));
  windowList_->addAction(separator);
  int number = 1;
  for (QMdiSubWindow* sub : windows) {
    const QString caption =
        number < 10 ? QStringLiteral("&%1 %2").arg(number).arg(sub->windowTitle()) : sub->windowTitle();
    QAction* action = mnuWindow_->addAction(caption);
    action->setObjectName(QStringLiteral("mnuWindowList"));
    action->setCheckable(true);
    action->setChecked(sub == mdiArea_->activeSubWindow());
    windowList_->addAction(action);
    connect(action, &QAction::triggered, this, [this, sub = QPointer<QMdiSubWindow>(sub)] {
      if (!sub) return;
      if (sub->isMinimized()) sub->showNormal();
      mdiArea_->setActiveSubWindow(sub);
    });
    ++number;
  }
}

}  // namespace vorel::ui
