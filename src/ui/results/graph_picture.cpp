#include "ui/results/graph_picture.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <utility>

#include "ui/results/graph_accessible.h"
#include "ui/results/graph_window.h"
#include "ui/results/painter_surface.h"

namespace vorel::ui {

GraphPicture::GraphPicture(GraphWindow* owner, const char* name) : QWidget(owner), owner_(owner) {
  InstallGraphAccessibility();
  setObjectName(QString::fromLatin1(name));
  // The image covers the whole area; nothing underneath needs painting.
  setAttribute(Qt::WA_OpaquePaintEvent);
  // The entries are stepped through with the keyboard.
  setFocusPolicy(Qt::StrongFocus);
}

void GraphPicture::SetImage(QPixmap image) {
  image_ = std::move(image);
  update();
}

void GraphPicture::SetEntries(std::vector<Entry> entries) {
  entries_ = std::move(entries);
  if (current_ >= static_cast<int>(entries_.size())) current_ = static_cast<int>(entries_.size()) - 1;
  if (current_ < 0 && !entries_.empty()) current_ = 0;
  if (entries_.empty()) current_ = -1;
  GraphEntriesChanged(this);
  update();
}

void GraphPicture::SetCurrentEntry(int index) {
  if (entries_.empty()) return;
  index = std::clamp(index, 0, static_cast<int>(entries_.size()) - 1);
  if (index == current_) return;
  current_ = index;
  update();
  AnnounceCurrent();
}

void GraphPicture::AnnounceCurrent() {
  if (hasFocus() && current_ >= 0) GraphEntryFocused(this, current_);
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
  if (hasFocus()) {
    // The focus stays visible: around the entry the keyboard is on, or
    // around the whole graph when it shows nothing.
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.backgroundColor = ToQColor(owner_->colors().back);
    option.rect = current_ >= 0 ? entries_[static_cast<size_t>(current_)].box.normalized().adjusted(-2, -2, 2, 2)
                                : rect().adjusted(1, 1, -1, -1);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
  }
}

void GraphPicture::keyPressEvent(QKeyEvent* event) {
  const int last = static_cast<int>(entries_.size()) - 1;
  switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Up: SetCurrentEntry(current_ - 1); break;
    case Qt::Key_Right:
    case Qt::Key_Down: SetCurrentEntry(current_ + 1); break;
    case Qt::Key_Home: SetCurrentEntry(0); break;
    case Qt::Key_End: SetCurrentEntry(last); break;
    default: QWidget::keyPressEvent(event); return;
  }
  event->accept();
}

void GraphPicture::mousePressEvent(QMouseEvent* event) {
  for (size_t i = 0; i < entries_.size(); ++i)
    if (entries_[i].box.normalized().contains(event->position().toPoint())) SetCurrentEntry(static_cast<int>(i));
  QWidget::mousePressEvent(event);
}

void GraphPicture::focusInEvent(QFocusEvent* event) {
  QWidget::focusInEvent(event);
  update();
  AnnounceCurrent();
}

void GraphPicture::focusOutEvent(QFocusEvent* event) {
  QWidget::focusOutEvent(event);
  update();
}

}  // namespace vorel::ui
