#include "ui/urllist/url_list_model.h"

#include <QMimeData>
#include <QUrl>
#include <algorithm>
#include <numeric>

#include "ui/urllist/url_check.h"

namespace vorel::ui {

int CountFieldWidth(int32_t largest) {
  int digits = 1;
  for (int64_t n = largest < 0 ? -int64_t{largest} : largest; n >= 10; n /= 10) ++digits;
  if (largest < 0) ++digits;
  return std::min(digits, 15);
}

QString CountText(int32_t count, int width) { return QStringLiteral("%1").arg(count, width); }

UrlListModel::UrlListModel(QObject* parent) : QAbstractTableModel(parent) {}

void UrlListModel::SetRows(std::vector<Row> rows) {
  beginResetModel();
  rows_ = std::move(rows);
  endResetModel();
}

void UrlListModel::SortByColumn(int column, bool descending) {
  const size_t n = rows_.size();
  if (n < 2) return;
  // Sort positions rather than rows; URLs are compared by their case-folded
  // forms, worked out once per sort.
  std::vector<int> order(n);
  std::iota(order.begin(), order.end(), 0);
  if (column == UrlColumn) {
    std::vector<QString> folded(n);
    for (size_t i = 0; i < n; ++i) folded[i] = rows_[i].url.toCaseFolded();
    auto less = [&](int a, int b) {
      const int byFolded = folded[static_cast<size_t>(a)].compare(folded[static_cast<size_t>(b)]);
      if (byFolded != 0) return byFolded < 0;
      return rows_[static_cast<size_t>(a)].url < rows_[static_cast<size_t>(b)].url;
    };
    if (descending)
      std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return less(b, a); });
    else
      std::stable_sort(order.begin(), order.end(), less);
  } else {
    auto less = [&](int a, int b) { return rows_[static_cast<size_t>(a)].count < rows_[static_cast<size_t>(b)].count; };
    if (descending)
      std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return less(b, a); });
    else
      std::stable_sort(order.begin(), order.end(), less);
  }

  emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
  std::vector<int> newRowOf(n);
  std::vector<Row> sorted;
  sorted.reserve(n);
  for (size_t i = 0; i < n; ++i) {
    newRowOf[static_cast<size_t>(order[i])] = static_cast<int>(i);
    sorted.push_back(std::move(rows_[static_cast<size_t>(order[i])]));
  }
  rows_ = std::move(sorted);
  const QModelIndexList before = persistentIndexList();
  QModelIndexList after;
  after.reserve(before.size());
  for (const QModelIndex& index : before)
    after << (index.isValid() ? createIndex(newRowOf[static_cast<size_t>(index.row())], index.column()) : index);
  changePersistentIndexList(before, after);
  emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

int UrlListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int UrlListModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 2; }

QVariant UrlListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  const Row& row = rows_[static_cast<size_t>(index.row())];
  switch (role) {
    case Qt::DisplayRole:
      return index.column() == UrlColumn ? row.url : row.count;
    case Qt::AccessibleTextRole:
      // Read without the padding that lines the counts up on screen.
      return index.column() == UrlColumn ? row.url : row.count.trimmed();
    case Qt::ToolTipRole:
      // The whole address where the column is too narrow for it.
      return index.column() == UrlColumn ? QVariant(row.url) : QVariant();
    case Qt::TextAlignmentRole:
      return index.column() == CountColumn ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                                           : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    default:
      return {};
  }
}

QVariant UrlListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal) return {};
  if (role == Qt::DisplayRole) return section == UrlColumn ? QStringLiteral("ＵＲＬ") : QStringLiteral("アクセス数");
  if (role == Qt::TextAlignmentRole)
    return section == CountColumn ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                                  : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
  return {};
}

Qt::ItemFlags UrlListModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled | Qt::ItemNeverHasChildren;
}

QStringList UrlListModel::mimeTypes() const {
  return {QStringLiteral("text/uri-list"), QStringLiteral("text/plain")};
}

QMimeData* UrlListModel::mimeData(const QModelIndexList& indexes) const {
  // The row of the first index: a selected row reports each of its cells.
  int row = -1;
  for (const QModelIndex& index : indexes)
    if (index.isValid() && index.row() < rowCount()) {
      row = index.row();
      break;
    }
  if (row < 0) return nullptr;
  const QString& url = rows_[static_cast<size_t>(row)].url;
  auto* data = new QMimeData;
  // Only an address that may be opened travels as a link; anything else a
  // visitor wrote goes as plain text, which no receiver will start.
  if (const std::optional<std::string> openable = OpenableUrl(url.toStdString()))
    data->setUrls({QUrl(QString::fromStdString(*openable), QUrl::TolerantMode)});
  data->setText(url);
  return data;
}

Qt::DropActions UrlListModel::supportedDragActions() const { return Qt::LinkAction; }

}  // namespace vorel::ui
