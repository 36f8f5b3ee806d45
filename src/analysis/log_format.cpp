#include "analysis/log_format.h"

namespace vorel::analysis {

namespace {

bool StartsWith(std::string_view head, std::string_view signature) {
  return head.substr(0, signature.size()) == signature;
}

}  // namespace

Compression DetectCompression(std::string_view head) {
  using namespace std::string_view_literals;
  if (StartsWith(head, "\x1F\x8B"sv)) return Compression::Gzip;
  if (StartsWith(head, "\xFD" "7zXZ\0"sv)) return Compression::Xz;
  if (StartsWith(head, "\x28\xB5\x2F\xFD"sv)) return Compression::Zstd;
  // "BZh", the block size 1..9, then the magic of a first block or of the
  // end of an empty stream: text that merely begins with "BZh" stays text.
  if (head.size() >= 10 && StartsWith(head, "BZh"sv) && head[3] >= '1' && head[3] <= '9') {
    const std::string_view block = head.substr(4, 6);
    if (block == "\x31\x41\x59\x26\x53\x59"sv || block == "\x17\x72\x45\x38\x50\x90"sv) return Compression::Bzip2;
  }
  return Compression::None;
}

}  // namespace vorel::analysis
