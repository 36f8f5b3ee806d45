#include "ui/results/graph_picture.h"

#include <QPainter>
#include <utility>

#include "ui/results/graph_window.h"
#include "ui/results/painter_surface.h"

namespace vorel::ui {

GraphPicture::GraphPicture(GraphWindow* owner, const char* name) : QWidget(owner), owner_(owner) {
  setObjectName(QString::fromLatin1(name));
  // The image covers the whole area; nothing underneath needs painting.
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void GraphPicture::SetImage(QPixmap image) {
  image_ = std::move(image);
  update();
}

int GraphPicture::widthTwips() const { return width() * kTwipsPerPixel; }
int GraphPicture::heightTwips() const { return height() * kTwipsPerPixel; }

bool GraphPicture::ImageFits() const {
  return !image_.isNull() && image_.deviceIndependentSize().toSize() == size();
}

void GraphPicture::paintEvent(QPaintEvent*) {
  // Uncovering shows the kept image; only a picture without a drawing of its
  // size (never drawn, or a redraw was refused) asks the window to redraw.
  if (!ImageFits()) owner_->SetValues();
  QPainter painter(this);
  if (!ImageFits()) painter.fillRect(rect(), ToQColor(owner_->colors().back));
  if (!image_.isNull()) painter.drawPixmap(0, 0, image_);
}

}  // namespace vorel::ui
