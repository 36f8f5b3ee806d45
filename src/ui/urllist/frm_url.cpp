#include "ui/urllist/frm_url.h"

#include <QAction>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMenu>
#include <QPushButton>
#include <QResizeEvent>
#include <QSizeGrip>
#include <QTreeView>
#include <algorithm>
#include <exception>
#include <string>
#include <vector>

#include "analysis/result.h"
#include "platform/desktop.h"
#include "platform/prompter.h"
#include "platform/qt/help_viewer.h"
#include "ui/urllist/url_check.h"
#include "ui/urllist/url_list_model.h"

namespace vorel::ui {
namespace {

// Positions are designed in twips; the window system counts pixels.
constexpr int kTwipsPerPixel = 15;
constexpr int Px(int twips) { return twips / kTwipsPerPixel; }

constexpr int kMarginTwips = 100;
constexpr int kButtonHeightTwips = 350;
constexpr int kOpenWidthTwips = 1800;
constexpr int kEndWidthTwips = 1215;
constexpr int kHelpWidthTwips = 1040;
constexpr int kCountColumnTwips = 1300;

// Help topic of this window.
constexpr int kHelpContext = 88;

// A visitor's text in a message: cut short, so that a huge referrer cannot
// blow the box up past the screen.
std::string ForMessage(const QString& url) {
  constexpr qsizetype kMaxShown = 200;
  if (url.size() <= kMaxShown) return url.toStdString();
  qsizetype cut = kMaxShown;
  if (url.at(cut - 1).isHighSurrogate()) --cut;
  return (url.left(cut) + QStringLiteral("…")).toStdString();
}

QPushButton* NewButton(QWidget* parent, const char* name, const QString& caption, const QString& accessibleName) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setAccessibleName(accessibleName);
  return button;
}

}  // namespace

frmUrl::frmUrl(QWidget* owner) : QDialog(owner) {
  setObjectName(QStringLiteral("frmUrl"));
  setWindowTitle(QStringLiteral("前画面ＵＲＬ一覧"));
  setSizeGripEnabled(true);
  if (auto* grip = findChild<QSizeGrip*>()) {
    grip->setObjectName(QStringLiteral("sizeGrip"));
    grip->setAccessibleName(QStringLiteral("サイズ変更"));
  }
  CreateControls();
  resize(Px(kWidthTwips), Px(kHeightTwips));
  Form_Resize();
  FillUrlList();
}

void frmUrl::CreateControls() {
  model_ = new UrlListModel(this);

  lsvUrlList = new QTreeView(this);
  lsvUrlList->setObjectName(QStringLiteral("lsvUrlList"));
  lsvUrlList->setAccessibleName(QStringLiteral("前画面ＵＲＬ一覧"));
  lsvUrlList->setModel(model_);
  // A report-style list: flat rows, whole rows selected, one at a time.
  lsvUrlList->setRootIsDecorated(false);
  lsvUrlList->setItemsExpandable(false);
  lsvUrlList->setUniformRowHeights(true);
  lsvUrlList->setAllColumnsShowFocus(true);
  lsvUrlList->setSelectionBehavior(QAbstractItemView::SelectRows);
  lsvUrlList->setSelectionMode(QAbstractItemView::SingleSelection);
  lsvUrlList->setEditTriggers(QAbstractItemView::NoEditTriggers);
  lsvUrlList->setTextElideMode(Qt::ElideMiddle);
  // Rows are dragged out as links; nothing is dropped in.
  lsvUrlList->setDragEnabled(true);
  lsvUrlList->setDragDropMode(QAbstractItemView::DragOnly);
  lsvUrlList->setDefaultDropAction(Qt::LinkAction);
  lsvUrlList->setContextMenuPolicy(Qt::CustomContextMenu);
  QHeaderView* header = lsvUrlList->header();
  header->setSectionsClickable(true);
  header->setSectionsMovable(false);
  header->setStretchLastSection(false);
  header->setSectionResizeMode(UrlListModel::UrlColumn, QHeaderView::Stretch);
  header->setSectionResizeMode(UrlListModel::CountColumn, QHeaderView::Interactive);
  header->resizeSection(UrlListModel::CountColumn, Px(kCountColumnTwips));
  lsvUrlList->setGeometry(Px(kMarginTwips), Px(kMarginTwips), Px(kWidthTwips - 2 * kMarginTwips),
                          Px(kHeightTwips - 600));

  const int buttonTop = Px(kHeightTwips - 400);
  cmdOpen = NewButton(this, "cmdOpen", QStringLiteral("ＵＲＬを開く(&O)"), QStringLiteral("ＵＲＬを開く"));
  cmdOpen->setGeometry(Px(kMarginTwips), buttonTop, Px(kOpenWidthTwips), Px(kButtonHeightTwips));
  cmdOpen->setDefault(true);
  cmdEnd = NewButton(this, "cmdEnd", QStringLiteral("閉じる(&C)"), QStringLiteral("閉じる"));
  cmdEnd->setGeometry(Px(kWidthTwips - 2460), buttonTop, Px(kEndWidthTwips), Px(kButtonHeightTwips));
  cmdHelp = NewButton(this, "cmdHelp", QStringLiteral("ヘルプ(&H)"), QStringLiteral("ヘルプ"));
  cmdHelp->setGeometry(Px(kWidthTwips - 1140), buttonTop, Px(kHelpWidthTwips), Px(kButtonHeightTwips));

  mnuPopup = new QMenu(this);
  mnuPopup->setObjectName(QStringLiteral("mnuPopup"));
  mnuPopup->setAccessibleName(QStringLiteral("ＵＲＬ一覧のメニュー"));
  mnuPopupOpen = mnuPopup->addAction(QStringLiteral("ＵＲＬを開く"));
  mnuPopupOpen->setObjectName(QStringLiteral("mnuPopupOpen"));

  setTabOrder(lsvUrlList, cmdOpen);
  setTabOrder(cmdOpen, cmdEnd);
  setTabOrder(cmdEnd, cmdHelp);

  connect(header, &QHeaderView::sectionClicked, this, &frmUrl::lsvUrlList_ColumnClick);
  connect(lsvUrlList, &QTreeView::customContextMenuRequested, this,
          [this](const QPoint& pos) { ShowPopup(lsvUrlList->viewport()->mapToGlobal(pos)); });
  // A double click on a row opens it, as the button does.
  connect(lsvUrlList, &QTreeView::doubleClicked, this, [this](const QModelIndex& index) {
    if (index.isValid()) OpenSelectedUrl();
  });
  connect(cmdOpen, &QPushButton::clicked, this, &frmUrl::cmdOpen_Click);
  connect(cmdEnd, &QPushButton::clicked, this, &frmUrl::cmdEnd_Click);
  connect(cmdHelp, &QPushButton::clicked, this, &frmUrl::cmdHelp_Click);
  connect(mnuPopupOpen, &QAction::triggered, this, &frmUrl::mnuPopupOpen_Click);
}

void frmUrl::FillUrlList() {
  model_->Clear();
  std::vector<UrlListModel::Row> rows;
  try {
    const int32_t n = analysis::ResultCount(23);
    if (n >= 1) {
      // Every count text as wide as the largest count.
      int32_t largest = 0;
      for (int32_t i = 1; i <= n; ++i) largest = std::max(largest, analysis::ResultCount(24, i));
      const int width = CountFieldWidth(largest);
      rows.reserve(static_cast<size_t>(n));
      for (int32_t i = n; i >= 1; --i)
        rows.push_back({QString::fromStdString(analysis::ResultName(25, i)), CountText(analysis::ResultCount(24, i), width)});
    }
  } catch (const std::exception&) {
    rows.clear();
    platform::ShowError("前画面の一覧を読み込めませんでした。");
  }
  const bool any = !rows.empty();
  // The model takes all rows at once: the list repaints once, not per row.
  model_->SetRows(std::move(rows));
  lsvUrlList->setEnabled(any);
  cmdOpen->setEnabled(any);
  if (any) {
    const QModelIndex first = model_->index(0, 0);
    lsvUrlList->selectionModel()->setCurrentIndex(
        first, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  }
}

void frmUrl::lsvUrlList_ColumnClick(int column) {
  if (column != UrlListModel::UrlColumn && column != UrlListModel::CountColumn) return;
  // One toggle for both columns: 1 descending, 0 ascending.
  sortOrder_ = sortOrder_ == 0 ? 1 : 0;
  model_->SortByColumn(column, sortOrder_ == 1);
  QHeaderView* header = lsvUrlList->header();
  header->setSortIndicatorShown(true);
  header->setSortIndicator(column, sortOrder_ == 1 ? Qt::DescendingOrder : Qt::AscendingOrder);
  const QModelIndex current = lsvUrlList->currentIndex();
  if (current.isValid()) lsvUrlList->scrollTo(current);
}

void frmUrl::cmdOpen_Click() { OpenSelectedUrl(); }

void frmUrl::mnuPopupOpen_Click() { OpenSelectedUrl(); }

void frmUrl::cmdEnd_Click() { reject(); }

void frmUrl::cmdHelp_Click() { platform::ShowHelpTopic(this, kHelpContext); }

void frmUrl::OpenSelectedUrl() {
  try {
    const QModelIndexList selected = lsvUrlList->selectionModel()->selectedRows();
    if (selected.isEmpty() || !lsvUrlList->isEnabled()) {
      platform::ShowError("ＵＲＬが選択されていません。\r\n一覧から開くＵＲＬを選んでください。");
      return;
    }
    const QString url = model_->RowAt(selected.first().row()).url;
    const std::optional<std::string> openable = OpenableUrl(url.toStdString());
    if (!openable) {
      platform::ShowError("http、https、ftp 以外のＵＲＬは開けません。\r\n" + ForMessage(url));
      return;
    }
    if (!platform::CurrentDesktop().Open(*openable))
      platform::ShowError("ＵＲＬを開くプログラムを起動できませんでした。\r\n" + ForMessage(url));
  } catch (const std::exception&) {
    platform::ShowError("ＵＲＬを開けませんでした。");
  }
}

void frmUrl::ShowPopup(const QPoint& position) {
  if (!lsvUrlList->isEnabled()) return;
  mnuPopup->popup(position);
}

void frmUrl::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  Form_Resize();
}

void frmUrl::Form_Resize() {
  // The client area in twips; each measure is applied only while it stays positive.
  const int w = width() * kTwipsPerPixel;
  const int h = height() * kTwipsPerPixel;
  if (w - 200 > 0) lsvUrlList->resize(Px(w - 200), lsvUrlList->height());
  if (h - 600 > 0) lsvUrlList->resize(lsvUrlList->width(), Px(h - 600));
  if (h - 400 > 0)
    for (QPushButton* button : {cmdOpen, cmdEnd, cmdHelp}) button->move(button->x(), Px(h - 400));
  if (w - 2460 > 0) cmdEnd->move(Px(w - 2460), cmdEnd->y());
  if (w - 1140 > 0) cmdHelp->move(Px(w - 1140), cmdHelp->y());
}

}  // namespace vorel::ui
