#include "app/report/terminal_progress.h"

#include <algorithm>

#include "platform/terminal.h"

namespace vorel::report_app {
namespace {

constexpr int kBarCells = 30;

// Screen columns of UTF-8 text: characters beyond U+07FF (kana, kanji,
// full-width forms) take two.
size_t Columns(const std::string& utf8) {
  size_t columns = 0;
  for (unsigned char c : utf8) {
    if (c < 0x80 || (c >= 0xC0 && c < 0xE0)) columns += 1;
    else if (c >= 0xE0) columns += 2;
  }
  return columns;
}

}  // namespace

TerminalProgress::TerminalProgress(std::FILE* out, std::string logName) : out_(out), logName_(std::move(logName)) {}

TerminalProgress::~TerminalProgress() { Clear(); }

void TerminalProgress::aauStatusChange(int16_t piVal) {
  started_ = true;
  unknown_ = piVal == analysis::kProgressUnknown;
  permille_ = std::clamp<int>(piVal, 0, analysis::kProgressRange) * 1000 / analysis::kProgressRange;
  // The pass reports every CheckLine records; a terminal needs far fewer redraws.
  if (permille_ != lastPermille_ || drawnWidth_ == 0) Draw();
}

void TerminalProgress::aauMessageChange(const std::string& psHelpCode) {
  message_ = psHelpCode;
  if (started_) Draw();
}

void TerminalProgress::Clear() {
  if (drawnWidth_ == 0) return;
  std::fprintf(out_, "\r%*s\r", static_cast<int>(drawnWidth_), "");
  std::fflush(out_);
  drawnWidth_ = 0;
  lastPermille_ = -1;
}

void TerminalProgress::Draw() {
  lastPermille_ = permille_;
  std::string line = logName_;
  if (unknown_) {
    line += " 読み込み中";
  } else {
    const int filled = permille_ * kBarCells / 1000;
    line += " [" + std::string(static_cast<size_t>(filled), '#') + std::string(static_cast<size_t>(kBarCells - filled), '.') +
            "] " + std::to_string(permille_ / 10) + "%";
  }
  if (!message_.empty()) line += " " + message_;
  const size_t width = Columns(line);
  std::string shown = platform::ToTerminalEncoding(line);
  std::fprintf(out_, "\r%s", shown.c_str());
  if (width < drawnWidth_) std::fprintf(out_, "%*s", static_cast<int>(drawnWidth_ - width), "");
  std::fflush(out_);
  drawnWidth_ = std::max(drawnWidth_, width);
}

}  // namespace vorel::report_app
