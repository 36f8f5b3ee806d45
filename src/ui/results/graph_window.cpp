#include "ui/results/graph_window.h"

#include <QCloseEvent>
#include <QShowEvent>
#include <QMdiSubWindow>
#include <QPainter>
#include <exception>
#include <utility>
#include <vector>

#include "ui/results/graph_entries.h"
#include "ui/results/graph_picture.h"
#include "ui/results/graph_windows.h"
#include "ui/results/painter_surface.h"

namespace vorel::ui {
namespace {

// The picture area starts 120 twips below the top of the client area and is
// 20 twips narrower.
constexpr int kPictureTop = 120;
constexpr int kPictureWidthLoss = 20;
// At this outer height or less the picture keeps its height.
constexpr int kSmallestSizedHeight = 1000;
constexpr QSize kInitialSize(480, 320);

int PixelsOf(int twips) { return RoundHalfEven(twips / static_cast<double>(kTwipsPerPixel)); }
// Whole pixels holding at least that many twips.
int PixelsUp(int twips) { return (twips + kTwipsPerPixel - 1) / kTwipsPerPixel; }

void DrawQuietly(GraphKind kind, const GraphColors& colors, GraphSurface& target, int left, int top, int width,
                 int height) {
  try {
    PaintGraph(kind, colors, target, left, top, width, height);
  } catch (const std::exception&) {
    // A table out of step with its count: the drawing stops where it is.
  }
}

// Passes every call on, and keeps the boxes drawn, in pixels.
struct BoxTap : GraphSurface {
  GraphSurface* inner = nullptr;
  std::vector<QRect> boxes;

  void SetFontSize(double points) override { inner->SetFontSize(points); }
  void SetFontName(const std::string& name) override { inner->SetFontName(name); }
  double TextWidth(const std::string& text) override { return inner->TextWidth(text); }
  double TextHeight(const std::string& text) override { return inner->TextHeight(text); }
  void PrintText(double x, double y, const std::string& text) override { inner->PrintText(x, y, text); }
  void SetLineWidth(int pixels) override { inner->SetLineWidth(pixels); }
  void SetDrawColor(uint32_t colour) override { inner->SetDrawColor(colour); }
  void SetFillColor(uint32_t colour) override { inner->SetFillColor(colour); }
  void SetFillStyle(int style) override { inner->SetFillStyle(style); }
  void DrawBox(int x1, int y1, int x2, int y2) override {
    inner->DrawBox(x1, y1, x2, y2);
    boxes.push_back(QRect(QPoint(x1 / kTwipsPerPixel, y1 / kTwipsPerPixel), QPoint(x2 / kTwipsPerPixel, y2 / kTwipsPerPixel)).normalized());
  }
};

}  // namespace

const char* GraphObjectName(GraphKind kind) { return TraitsOf(kind).objectName; }
int GraphVisibleBit(GraphKind kind) { return TraitsOf(kind).visibleBit; }
int GraphPrintBit(GraphKind kind) { return TraitsOf(kind).printBit; }

GraphWindow* GraphWindow::Create(GraphKind kind, QWidget* parent) {
  GraphWindow* window = nullptr;
  switch (kind) {
    case GraphKind::Month: window = new frmMonth(parent); break;
    case GraphKind::WWeek: window = new frmWWeek(parent); break;
    case GraphKind::DWeek: window = new frmDWeek(parent); break;
    case GraphKind::Date: window = new frmDate(parent); break;
    case GraphKind::Time: window = new frmTime(parent); break;
    case GraphKind::Os: window = new frmOs(parent); break;
    case GraphKind::Brws: window = new frmBrws(parent); break;
    case GraphKind::Agent: window = new frmAgent(parent); break;
    case GraphKind::Host: window = new frmHost(parent); break;
    case GraphKind::Ref: window = new frmRef(parent); break;
    case GraphKind::Page: window = new frmPage(parent); break;
    case GraphKind::Robot: window = new frmRobot(parent); break;
  }
  window->Load();
  return window;
}

void GraphWindow::PrintWithoutWindow(GraphKind kind, QPainter& target, int left, int top, int width, int height) {
  PainterSurface surface(target);
  DrawQuietly(kind, ColorsFromSettings(kind), surface, left, top, width, height);
}

GraphWindow::GraphWindow(GraphKind kind, QWidget* parent)
    : QWidget(parent), kind_(kind), picture_(new GraphPicture(this, TraitsOf(kind).pictureName)) {
  setObjectName(QString::fromLatin1(TraitsOf(kind).objectName));
  setWindowTitle(QString::fromUtf8(TraitsOf(kind).caption));
  picture_->setAccessibleName(QString::fromUtf8(TraitsOf(kind).caption));
  picture_->move(0, PixelsOf(kPictureTop));
  // Activating the window puts the keyboard on its entries.
  setFocusProxy(picture_);
}

void GraphWindow::Load() {
  ready_ = false;
  colors_ = ColorsFromSettings(kind_);
  resize(kInitialSize);
  // Taking the first size redraws, which is refused until loading is done;
  // the first paint draws.
  ApplyResizeRule();
  ready_ = true;
  shown_ = true;
}

GraphKind GraphWindow::kind() const { return kind_; }
bool GraphWindow::ShowMe() const { return shown_; }
QSize GraphWindow::sizeHint() const { return kInitialSize; }
QSize GraphWindow::InitialSize() { return kInitialSize; }

void GraphWindow::SetValues() {
  // Refused before the clearing, so that a drawing in progress keeps its image.
  if (!ready_) return;
  const QSize size = picture_->size();
  if (size.isEmpty()) {
    picture_->SetImage(QPixmap());
    picture_->SetEntries({});
    return;
  }
  const qreal ratio = picture_->devicePixelRatioF();
  const QTransform toPixels = QTransform::fromScale(1.0 / kTwipsPerPixel, 1.0 / kTwipsPerPixel);
  // Rows thinner than their text: the drawing grows taller and the picture scrolls.
  QSize drawing = size;
  {
    QPixmap probe(1, 1);
    QPainter painter(&probe);
    PainterSurface measure(painter, toPixels);
    const int needed = PixelsUp(GraphHeightNeeded(kind_, measure));
    if (needed > size.height()) drawing = QSize(std::max(size.width() - picture_->ScrollBarWidth(), 1), needed);
  }
  QPixmap image(drawing * ratio);
  image.setDevicePixelRatio(ratio);
  image.fill(ToQColor(colors_.back));
  BoxTap tap;
  {
    QPainter painter(&image);
    PainterSurface surface(painter, toPixels);
    tap.inner = &surface;
    DrawGraph(tap, 0, 0, drawing.width() * kTwipsPerPixel, drawing.height() * kTwipsPerPixel, true);
  }
  picture_->SetImage(std::move(image));
  // Each entry is drawn as one box, in the order of the entries.
  const GraphEntries graph = CollectGraphEntries(kind_);
  std::vector<GraphPicture::Entry> entries;
  for (size_t i = 0; i < graph.entries.size() && i < tap.boxes.size(); ++i)
    entries.push_back({QString::fromStdString(EntryText(kind_, graph.entries[i])), tap.boxes[i]});
  picture_->SetEntries(std::move(entries));
}

void GraphWindow::GraphPrint(QPainter& target, int left, int top, int width, int height) {
  PainterSurface surface(target);
  DrawGraph(surface, left, top, width, height, false);
}

void GraphWindow::SetColor(uint32_t fore, uint32_t back, uint32_t bar) { colors_ = {fore, back, bar}; }

void GraphWindow::DrawGraph(GraphSurface& target, int left, int top, int width, int height, bool screen) {
  if (screen && !ready_) return;
  // A print during loading must not make the window ready early.
  const bool wasReady = ready_;
  ready_ = false;
  DrawQuietly(kind_, colors_, target, left, top, width, height);
  ready_ = wasReady;
}

QWidget* GraphWindow::Frame() const {
  if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget())) return sub;
  return const_cast<GraphWindow*>(this);
}

void GraphWindow::ApplyResizeRule() {
  const int width = this->width() * kTwipsPerPixel;
  const int height = this->height() * kTwipsPerPixel;
  const QWidget* frame = Frame();
  if (!frame->isMinimized()) {
    int pictureHeight = picture_->height();
    if (frame->frameGeometry().height() * kTwipsPerPixel > kSmallestSizedHeight)
      pictureHeight = PixelsOf(height - kPictureTop);
    const int pictureWidth = PixelsOf(width - kPictureWidthLoss);
    picture_->setGeometry(0, PixelsOf(kPictureTop), std::max(pictureWidth, 0), std::max(pictureHeight, 0));
  }
  SetValues();
}

void GraphWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  ApplyResizeRule();
}

void GraphWindow::closeEvent(QCloseEvent* event) {
  shown_ = false;
  event->accept();
  // Closed by itself inside a sub-window: take the frame along rather than
  // leave it empty. (When the frame is closing already, this returns at once.)
  if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget())) sub->close();
}

void GraphWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  // Shown again after being closed: open anew, with the colours of the settings.
  if (!shown_ && ready_) {
    colors_ = ColorsFromSettings(kind_);
    shown_ = true;
    SetValues();
  }
}

}  // namespace vorel::ui
