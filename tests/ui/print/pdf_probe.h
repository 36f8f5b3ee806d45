// Reading printed PDF files back with poppler-utils: the page count, the
// words of a page with their places, and a page rendered to an image.
#pragma once

#include <QImage>
#include <QRegularExpression>
#include <QString>
#include <cstdio>
#include <string>
#include <vector>

namespace vorel::ui::pdf {

inline std::string RunTool(const std::string& command) {
  std::string output;
  if (FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r")) {
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
    pclose(pipe);
  }
  return output;
}

inline std::string Quoted(const std::string& path) { return "'" + path + "'"; }

// The page count pdfinfo reports; -1 when it cannot read the file.
inline int PdfPageCount(const std::string& path) {
  const QString info = QString::fromStdString(RunTool("pdfinfo " + Quoted(path)));
  const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("^Pages:\\s+(\\d+)"),
                                                       QRegularExpression::MultilineOption).match(info);
  return m.hasMatch() ? m.captured(1).toInt() : -1;
}

struct PdfWord {
  QString text;
  double x = 0;  // centre, as a share of the page's width (0..1)
  double y = 0;  // centre, as a share of the page's height
};

// The words of one page (1-based), placed relative to the page.
inline std::vector<PdfWord> PdfWords(const std::string& path, int page) {
  const QString html = QString::fromStdString(RunTool("pdftotext -bbox -f " + std::to_string(page) + " -l " +
                                                      std::to_string(page) + " " + Quoted(path) + " -"));
  const QRegularExpressionMatch size =
      QRegularExpression(QStringLiteral("<page width=\"([\\d.]+)\" height=\"([\\d.]+)\"")).match(html);
  std::vector<PdfWord> words;
  if (!size.hasMatch()) return words;
  const double width = size.captured(1).toDouble(), height = size.captured(2).toDouble();
  static const QRegularExpression word(QStringLiteral(
      "<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)</word>"));
  for (auto it = word.globalMatch(html); it.hasNext();) {
    const QRegularExpressionMatch m = it.next();
    words.push_back({m.captured(5), (m.captured(1).toDouble() + m.captured(3).toDouble()) / 2 / width,
                     (m.captured(2).toDouble() + m.captured(4).toDouble()) / 2 / height});
  }
  return words;
}

// One page rendered at `dpi` into an image (null when pdftoppm fails).
inline QImage RenderPdfPage(const std::string& path, int page, int dpi, const std::string& outputStem) {
  RunTool("pdftoppm -png -r " + std::to_string(dpi) + " -f " + std::to_string(page) + " -l " + std::to_string(page) +
          " -singlefile " + Quoted(path) + " " + Quoted(outputStem));
  return QImage(QString::fromStdString(outputStem + ".png"));
}

}  // namespace vorel::ui::pdf

namespace vorel::ui::pdf {

// The first page's size in points, as pdfinfo reports it (empty when unreadable).
inline std::pair<double, double> PdfPageSize(const std::string& path) {
  const QString info = QString::fromStdString(RunTool("pdfinfo " + Quoted(path)));
  const QRegularExpressionMatch m =
      QRegularExpression(QStringLiteral("Page size:\\s+([\\d.]+) x ([\\d.]+) pts")).match(info);
  return m.hasMatch() ? std::pair{m.captured(1).toDouble(), m.captured(2).toDouble()} : std::pair{0.0, 0.0};
}

}  // namespace vorel::ui::pdf
