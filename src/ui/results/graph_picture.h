// The picture area of a graph window. It keeps the last drawing as an image,
// so the graph survives being covered and uncovered without a redraw; it
// asks its window for a redraw when it has no drawing of its current size.
//
// It also knows what the drawing shows, entry by entry with the entry's box,
// so that the keyboard can step through the entries (arrow keys, Home, End)
// and assistive technology can read each one as a list item.
#pragma once

#include <QPixmap>
#include <QRect>
#include <QString>
#include <QWidget>
#include <vector>

namespace vorel::ui {

class GraphWindow;

class GraphPicture : public QWidget {
  Q_OBJECT
 public:
  GraphPicture(GraphWindow* owner, const char* name);

  const QPixmap& image() const { return image_; }
  void SetImage(QPixmap image);
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
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  bool ImageFits() const;
  void AnnounceCurrent();

  GraphWindow* owner_;
  QPixmap image_;
  std::vector<Entry> entries_;
  int current_ = -1;
};

}  // namespace vorel::ui
