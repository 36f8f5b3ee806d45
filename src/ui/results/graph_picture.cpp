#include "ui/results/graph_picture.h"

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <QHelpEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QToolTip>
#include <QWheelEvent>
#include <QStyleOptionFocusRect>
#include <utility>

#include "ui/results/graph_accessible.h"
#include "ui/results/graph_window.h"
#include "ui/results/painter_surface.h"

namespace vorel::ui {

GraphPicture::GraphPicture(GraphWindow* owner, const char* name)
    : QWidget(owner), owner_(owner), scroll_(new QScrollBar(Qt::Vertical, this)) {
  scroll_->setObjectName(QStringLiteral("scrGraph"));
  scroll_->setAccessibleName(QStringLiteral("スクロール"));
  scroll_->setFocusPolicy(Qt::NoFocus);
  scroll_->hide();
  connect(scroll_, &QScrollBar::valueChanged, this, qOverload<>(&QWidget::update));
  InstallGraphAccessibility();
  setObjectName(QString::fromLatin1(name));
  // The image covers the whole area; nothing underneath needs painting.
  setAttribute(Qt::WA_OpaquePaintEvent);
  // The entries are stepped through with the keyboard.
  setFocusPolicy(Qt::StrongFocus);
}

void GraphPicture::SetImage(QPixmap image) {
  image_ = std::move(image);
  PlaceScrollBar();
  update();
}

int GraphPicture::ScrollBarWidth() const { return scroll_->sizeHint().width(); }

void GraphPicture::PlaceScrollBar() {
  const int hidden = image_.isNull() ? 0 : static_cast<int>(image_.deviceIndependentSize().height()) - height();
  scroll_->setRange(0, std::max(hidden, 0));
  scroll_->setPageStep(std::max(height(), 1));
  scroll_->setSingleStep(std::max(fontMetrics().height(), 1));
  scroll_->setGeometry(width() - ScrollBarWidth(), 0, ScrollBarWidth(), height());
  scroll_->setVisible(hidden > 0);
}

QRect GraphPicture::VisibleBox(size_t index) const {
  return entries_[index].box.normalized().translated(0, -scroll_->value());
}

int GraphPicture::EntryAt(const QPoint& point) const {
  // The whole row counts, not only its bar, which may be short or empty.
  for (size_t i = 0; i < entries_.size(); ++i) {
    const QRect box = VisibleBox(i);
    if (point.y() >= box.top() && point.y() <= box.bottom() && (box.width() <= 1 || point.x() >= box.left()))
      return static_cast<int>(i);
  }
  return -1;
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
  // Scrolled so that the entry stands whole in view.
  const QRect box = entries_[static_cast<size_t>(current_)].box.normalized();
  if (box.top() < scroll_->value()) scroll_->setValue(box.top());
  else if (box.bottom() > scroll_->value() + height()) scroll_->setValue(box.bottom() - height() + 1);
  update();
  AnnounceCurrent();
}

void GraphPicture::AnnounceCurrent() {
  if (hasFocus() && current_ >= 0) GraphEntryFocused(this, current_);
}

int GraphPicture::widthTwips() const { return width() * kTwipsPerPixel; }
int GraphPicture::heightTwips() const { return height() * kTwipsPerPixel; }

bool GraphPicture::ImageFits() const {
  if (image_.isNull()) return false;
  const QSize drawn = image_.deviceIndependentSize().toSize();
  // A drawing taller than the picture leaves room for the scroll bar.
  if (drawn.height() > height()) return drawn.width() == width() - ScrollBarWidth();
  return drawn == size();
}

void GraphPicture::paintEvent(QPaintEvent*) {
  // Uncovering shows the kept image; only a picture without a drawing of its
  // size (never drawn, or a redraw was refused) asks the window to redraw.
  if (!ImageFits()) owner_->SetValues();
  QPainter painter(this);
  if (!ImageFits()) painter.fillRect(rect(), ToQColor(owner_->colors().back));
  if (!image_.isNull()) painter.drawPixmap(0, -scroll_->value(), image_);
  if (hasFocus()) {
    // The focus stays visible: around the entry the keyboard is on, or
    // around the whole graph when it shows nothing.
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.backgroundColor = ToQColor(owner_->colors().back);
    option.rect = current_ >= 0 ? VisibleBox(static_cast<size_t>(current_)).adjusted(-2, -2, 2, 2)
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
    if (VisibleBox(i).contains(event->position().toPoint())) SetCurrentEntry(static_cast<int>(i));
  QWidget::mousePressEvent(event);
}

void GraphPicture::wheelEvent(QWheelEvent* event) {
  if (scroll_->isVisible()) QApplication::sendEvent(scroll_, event);
  else QWidget::wheelEvent(event);
}

void GraphPicture::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  PlaceScrollBar();
}

bool GraphPicture::event(QEvent* event) {
  if (event->type() == QEvent::ToolTip) {
    auto* help = static_cast<QHelpEvent*>(event);
    const int index = EntryAt(help->pos());
    if (index >= 0) QToolTip::showText(help->globalPos(), entries_[static_cast<size_t>(index)].text, this);
    else QToolTip::hideText();
    return true;
  }
  return QWidget::event(event);
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
