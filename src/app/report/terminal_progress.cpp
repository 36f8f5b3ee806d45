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

TerminalProgress::TerminalProgress(std::FILE* out, std::string logName, int32_t records, int32_t checkLine)
    : out_(out), logName_(std::move(logName)), total_(std::max<int32_t>(records, 1)),
      checkLine_(std::max<int32_t>(checkLine, 1)) {
  Draw();
}

TerminalProgress::~TerminalProgress() { Clear(); }

void TerminalProgress::aauStatusChange(int16_t piVal) {
  done_ = std::min<int64_t>(static_cast<int64_t>(piVal) * checkLine_, total_);
  const int permille = static_cast<int>(done_ * 1000 / total_);
  // The pass reports every CheckLine records; a terminal needs far fewer redraws.
  if (permille != lastPermille_) Draw();
}

void TerminalProgress::aauMessageChange(const std::string& psHelpCode) {
  message_ = psHelpCode;
  Draw();
}

void TerminalProgress::Clear() {
  if (drawnWidth_ == 0) return;
  std::fprintf(out_, "\r%*s\r", static_cast<int>(drawnWidth_), "");
  std::fflush(out_);
  drawnWidth_ = 0;
  lastPermille_ = -1;
}

void TerminalProgress::Draw() {
  lastPermille_ = static_cast<int>(done_ * 1000 / total_);
  const int filled = static_cast<int>(done_ * kBarCells / total_);
  std::string line = logName_ + " [" + std::string(static_cast<size_t>(filled), '#') +
                     std::string(static_cast<size_t>(kBarCells - filled), '.') + "] " + std::to_string(done_) + "/" +
                     std::to_string(total_);
  if (!message_.empty()) line += " " + message_;
  const size_t width = Columns(line);
  std::string shown = platform::ToTerminalEncoding(line);
  std::fprintf(out_, "\r%s", shown.c_str());
  if (width < drawnWidth_) std::fprintf(out_, "%*s", static_cast<int>(drawnWidth_ - width), "");
  std::fflush(out_);
  drawnWidth_ = std::max(drawnWidth_, width);
}

}  // namespace vorel::report_app
