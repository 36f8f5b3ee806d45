// The picture area of a graph window. It keeps the last drawing as an image,
// so the graph survives being covered and uncovered without a redraw; it
// asks its window for a redraw when it has no drawing of its current size.
#pragma once

#include <QPixmap>
#include <QWidget>

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

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  bool ImageFits() const;

  GraphWindow* owner_;
  QPixmap image_;
};

}  // namespace vorel::ui
