// The picture area of a graph window. It keeps the last drawing as an image,
// so the graph survives being covered and uncovered without a redraw; it
// asks its window for a redraw when it has no drawing of its current size.
//
// It also knows what the drawing shows, entry by entry with the entry's box,
// so that the keyboard can step through the entries (arrow keys, Home, End)
// and assistive technology can read each one as a list item. Pointing at an
// entry shows its whole text (a long name may be shortened in the drawing).
//
// A drawing taller than the picture (bar rows that would otherwise be
// thinner than their text) scrolls: with the scroll bar at the right edge,
// the mouse wheel, and the keyboard, which keeps its entry in view.
#pragma once

#include <QPixmap>
#include <QRect>
#include <QString>
#include <QWidget>
#include <vector>

class QScrollBar;

namespace vorel::ui {

class GraphWindow;

class GraphPicture : public QWidget {
  Q_OBJECT
 public:
  GraphPicture(GraphWindow* owner, const char* name);

  const QPixmap& image() const { return image_; }
  // The drawing, as wide as the picture (less the scroll bar when it is
  // taller than the picture) and at least as tall.
  void SetImage(QPixmap image);
  // The width the scroll bar takes when the drawing is taller than the picture.
  int ScrollBarWidth() const;
  QScrollBar* scrollBar() const { return scroll_; }
  // An entry's box as it stands in the picture now (scrolled).
  QRect VisibleBox(size_t index) const;
  // The picture's size in twips.
  int widthTwips() const;
  int heightTwips() const;

  struct Entry {
    QString text;  // as the graph writes it
    QRect box;     // in the picture's pixels
  };
  // What the latest drawing shows, in the order drawn.
  void SetEntries(std::vector<Entry> entries);
  const std::vector<Entry>& entries() const { return entries_; }
  // The entry the keyboard is on, or -1.
  int currentEntry() const { return current_; }
  void SetCurrentEntry(int index);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool event(QEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  bool ImageFits() const;
  void AnnounceCurrent();
  void PlaceScrollBar();
  // The entry under a point of the picture (its row), or -1.
  int EntryAt(const QPoint& point) const;

  GraphWindow* owner_;
  QPixmap image_;
  std::vector<Entry> entries_;
  int current_ = -1;
  QScrollBar* scroll_;
};

}  // namespace vorel::ui
