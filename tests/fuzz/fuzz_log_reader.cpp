// The log reader over any bytes, compressed or not: the first byte chooses a
// compression the rest is packed with (some of it cut off), so that the
// decompression meets damaged and truncated streams as well as plain text.
// No line may pass its bound, the lines must account for the whole text of a
// plain file, and the bytes read may never pass the file's size.
#include <archive.h>
#include <archive_entry.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "analysis/log_format.h"
#include "analysis/log_reader.h"
#include "fuzz_support.h"

using namespace vorel;
using namespace vorel::analysis;

namespace {

// `text` packed by libarchive's writer in the filter `filter` (0 none).
std::string Packed(int filter, const std::string& text) {
  if (filter == 0) return text;
  struct archive* a = archive_write_new();
  int ok = ARCHIVE_FATAL;
  switch (filter) {
    case 1: ok = archive_write_add_filter_gzip(a); break;
    case 2: ok = archive_write_add_filter_bzip2(a); break;
    case 3: ok = archive_write_add_filter_xz(a); break;
    default: ok = archive_write_add_filter_zstd(a); break;
  }
  archive_write_set_format_raw(a);
  archive_write_set_bytes_in_last_block(a, 1);
  std::vector<char> out(text.size() * 2 + 4096);
  size_t used = 0;
  std::string packed;
  if (ok == ARCHIVE_OK && archive_write_open_memory(a, out.data(), out.size(), &used) == ARCHIVE_OK) {
    struct archive_entry* entry = archive_entry_new();
    archive_entry_set_filetype(entry, 0100000);
    archive_write_header(a, entry);
    archive_write_data(a, text.data(), text.size());
    archive_entry_free(entry);
    archive_write_close(a);
    packed.assign(out.data(), used);
  }
  archive_write_free(a);
  return packed;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const uint8_t options = size > 0 ? data[0] : 0;
  std::string text(reinterpret_cast<const char*>(data) + (size > 0 ? 1 : 0), size > 0 ? size - 1 : 0);
  const int filter = (options & 7) % 5;
  std::string file = Packed(filter, text);
  // The high bits cut the packed file short, by eighths.
  if ((options >> 5) != 0 && filter != 0) file.resize(file.size() * (options >> 5) / 8);
  const std::string path = fuzz::WriteScratch("access.log", reinterpret_cast<const uint8_t*>(file.data()), file.size());

  LogReader reader;
  if (!reader.Open(path)) std::abort();
  LogLine line;
  size_t lineBytes = 0;
  int64_t lines = 0;
  while (reader.ReadLine(line)) {
    ++lines;
    if (line.bytes.size() > kMaxRecordLineBytes) std::abort();
    if (!IsRecordLine(line.bytes) && line.bytes.size() > kMaxServerLineBytes) std::abort();
    lineBytes += line.bytes.size();
    std::string_view record;
    for (LineRecords records(line); records.Next(record);)
      if (record.size() > line.bytes.size()) std::abort();
    (void)reader.Text(line.bytes, line.high);
  }
  if (reader.LineNo() != lines) std::abort();
  if (reader.BytesRead() > file.size() || reader.TotalSize() != file.size()) std::abort();
  // A plain file is read whole: its lines, their ends and a skipped mark.
  if (reader.Source().compression() == Compression::None) {
    if (reader.BytesRead() != file.size() || lineBytes > file.size()) std::abort();
  }
  return 0;
}
