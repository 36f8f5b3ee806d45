#include "ui/print/print_run.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScreen>
#include <exception>
#include <string>
#include <vector>

#include "export/report_common.h"
#include "platform/qt/qt_printer_setup.h"
#include "platform/safe_file.h"
#include "settings/param_store.h"
#include "ui/main/frm_main.h"
#include "ui/print/print_layout.h"
#include "ui/results/graph_drawing.h"
#include "ui/results/graph_kinds.h"
#include "ui/results/graph_window.h"
#include "ui/results/painter_surface.h"

namespace vorel::ui {
namespace {

std::optional<platform::PrinterSetup>& Choice() {
  static std::optional<platform::PrinterSetup> choice;
  return choice;
}

// Enough for hatching and text on paper, small enough for a quick file.
constexpr int kPdfResolution = 600;
// Without a screen (no display at all) the page takes a common screen's size.
constexpr QSize kFallbackScreenPixels(1024, 768);

// Each printed graph says what it shows: its caption, the log and the period.
std::vector<std::string> HeadingLines(GraphKind kind) {
  return {TraitsOf(kind).caption, "ログファイル：" + reports::ReportName(settings::ParamText("LogFile", 1)),
          "解析期間：" + reports::DateRangeText()};
}

class PainterSheets : public PrintSheets {
 public:
  PainterSheets(QPagedPaintDevice& device, QPainter& painter, const frmMain* frame, const PrintLayout& layout)
      : device_(device), painter_(painter), frame_(frame), layout_(layout) {}

  void PrintGraph(GraphKind kind, int left, int top, int width, int height) override {
    // The heading stands in the graph's top margin and pushes the graph down by its height.
    const int heading = PrintHeading(kind, left, top, width);
    GraphWindow* window = frame_ ? frame_->Graph(kind) : nullptr;
    if (window && window->ShowMe())
      window->GraphPrint(painter_, left, top + heading, width, height - heading);
    else
      GraphWindow::PrintWithoutWindow(kind, painter_, left, top + heading, width, height - heading);
  }

  bool NewSheet() override { return device_.newPage(); }

  // Centred in the bottom margin.
  void NumberSheet(int sheet, int sheets) override {
    PainterSurface surface(painter_);
    SetTextFont(surface);
    const std::string text = std::to_string(sheet) + " / " + std::to_string(sheets);
    const double areaBottom = 0.8 * layout_.pageHeight;
    const double margin = layout_.pageHeight / 10.0;
    surface.SetDrawColor(0);
    surface.PrintText((0.8 * layout_.pageWidth - surface.TextWidth(text)) / 2,
                      areaBottom + (margin - surface.TextHeight(text)) / 2, text);
  }

 private:
  static void SetTextFont(GraphSurface& surface) {
    surface.SetFontName(settings::ParamText("FontName"));
    surface.SetFontSize(settings::ParamInt("FontSize"));
  }

  // Prints the heading's lines from the top of the graph's place; their height.
  int PrintHeading(GraphKind kind, int left, int top, int width) {
    PainterSurface surface(painter_);
    SetTextFont(surface);
    surface.SetDrawColor(0);
    // The graph's own side margin, so that the heading lines up with its bars.
    constexpr double kIndent = 250.0;
    double y = top;
    for (const std::string& line : HeadingLines(kind)) {
      surface.PrintText(left + kIndent, y, FitRowText(surface, line, "", width - 2 * kIndent));
      y += surface.TextHeight(line);
    }
    return static_cast<int>(y - top);
  }

  QPagedPaintDevice& device_;
  QPainter& painter_;
  const frmMain* frame_;
  PrintLayout layout_;
};

QPageLayout PdfPageLayout(const platform::PrinterSetup& setup) {
  QPageSize paper = platform::PageSizeFromName(setup.paperName);
  if (!paper.isValid()) paper = QPageSize(QPageSize::A4);
  return QPageLayout(paper, setup.landscape ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF(0, 0, 0, 0));
}

bool PrintToPdf(const std::string& path, const platform::PrinterSetup& setup, const frmMain* frame, int printWindow,
                int paperType) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter writer(&buffer);
    writer.setResolution(kPdfResolution);
    writer.setPageLayout(PdfPageLayout(setup));
    writer.setCreator(QString::fromUtf8(kProgramTitle));
    QPainter painter;
    if (!painter.begin(&writer)) return false;
    const bool painted = PaintGraphSheets(writer, painter, frame, printWindow, paperType, ScreenTwips());
    painter.end();
    if (!painted) return false;
  }
  const QByteArray& bytes = buffer.data();
  return platform::WriteFileSafely(path, std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())),
                                   "ファイルの書き込みに失敗しました。\r\n" + path);
}

bool PrintToPrinter(const platform::PrinterSetup& setup, const frmMain* frame, int printWindow, int paperType) {
  QPrinter printer(QPrinter::HighResolution);
  platform::ApplyPrinterSetup(printer, setup);
  if (!printer.isValid()) return false;
  // The page's coordinate system covers the whole sheet, margins included.
  printer.setFullPage(true);
  printer.setDocName(QString::fromUtf8(kProgramTitle));
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  const bool painted = PaintGraphSheets(printer, painter, frame, printWindow, paperType, ScreenTwips());
  // Ending sends the pages; a refused job shows here.
  return painter.end() && painted;
}

}  // namespace

const std::optional<platform::PrinterSetup>& PrinterChoice() { return Choice(); }
void ForgetPrinterChoice() { Choice().reset(); }

void RunPageSetup() {
  const platform::PrinterSetup current = Choice().value_or(platform::PrinterSetup{});
  if (std::optional<platform::PrinterSetup> chosen = platform::CurrentPrompter().SetupPrinter(current))
    Choice() = std::move(*chosen);
}

std::optional<platform::PrinterSetup> PrintDestination() {
  if (Choice()) return Choice();
  QString name = QPrinterInfo::defaultPrinterName();
  if (name.isEmpty()) {
    const QStringList names = QPrinterInfo::availablePrinterNames();
    if (names.isEmpty()) return std::nullopt;
    name = names.front();
  }
  platform::PrinterSetup setup;
  setup.printerName = name.toStdString();
  return setup;
}

platform::PrinterSetup PdfDestination(const std::string& path) {
  platform::PrinterSetup setup;
  if (Choice()) {
    setup.paperName = Choice()->paperName;
    setup.landscape = Choice()->landscape;
  }
  setup.outputFile = path;
  return setup;
}

QSize ScreenTwips() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  const QSize pixels = screen && !screen->size().isEmpty() ? screen->size() : kFallbackScreenPixels;
  return pixels * kTwipsPerPixel;
}

bool PaintGraphSheets(QPagedPaintDevice& device, QPainter& painter, const frmMain* frame, int printWindow,
                      int paperType, QSize screenTwips) {
  const PrintLayout layout = LayoutForPaper(screenTwips.width(), screenTwips.height(), paperType);
  // W × H units over the whole page, the origin a tenth in from the left and top.
  painter.setViewport(0, 0, device.width(), device.height());
  painter.setWindow(-RoundHalfEven(layout.pageWidth / 10.0), -RoundHalfEven(layout.pageHeight / 10.0),
                    layout.pageWidth, layout.pageHeight);
  PainterSheets sheets(device, painter, frame, layout);
  return PrintGraphs(sheets, printWindow, paperType, layout);
}

bool PrintSelectedGraphs(const platform::PrinterSetup& destination, const frmMain* frame) {
  const int printWindow = settings::ParamInt("PrintWindow");
  const int paperType = settings::ParamInt("PaperType");
  try {
    if (destination.printerName.empty() && !destination.outputFile.empty())
      return PrintToPdf(destination.outputFile, destination, frame, printWindow, paperType);
    return PrintToPrinter(destination, frame, printWindow, paperType);
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace vorel::ui
