// The rows of the URL list: a referrer as logged and its access count as
// text, held in one model so that tens of thousands of rows cost one array,
// not a widget each. Rows can be dragged out as links.
#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <cstdint>
#include <vector>

namespace vorel::ui {

// The width of the count texts: the number of digits of the largest count,
// at most 15.
int CountFieldWidth(int32_t largest);
// A count right-aligned in a field of `width` characters, padded with spaces
// on the left, so that comparing two texts compares the counts.
QString CountText(int32_t count, int width);

class UrlListModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  enum Column { UrlColumn = 0, CountColumn = 1 };

  struct Row {
    QString url;
    QString count;
  };

  explicit UrlListModel(QObject* parent = nullptr);

  // Replaces every row at once (one reset, no repaint per row).
  void SetRows(std::vector<Row> rows);
  void Clear() { SetRows({}); }
  const Row& RowAt(int row) const { return rows_[static_cast<size_t>(row)]; }

  // Sorts every row by one column's text, keeping the order of rows whose
  // texts are equal. URLs compare without regard to letter case (rows that
  // differ only in case then stand in code order); count texts compare as
  // they are. Selections and the current row follow their rows.
  void SortByColumn(int column, bool descending);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

  // A dragged row carries its URL as a link (text/uri-list and plain text);
  // only the link action is offered.
  QStringList mimeTypes() const override;
  QMimeData* mimeData(const QModelIndexList& indexes) const override;
  Qt::DropActions supportedDragActions() const override;

 private:
  std::vector<Row> rows_;
};

}  // namespace vorel::ui
