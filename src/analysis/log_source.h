// The bytes of one log, as one stream read from start to end once: a file, a
// FIFO or a pipe (never reopened, never read twice). A gzip (one member or
// several), bzip2, xz or zstd log, known by its first bytes, is decompressed
// as it is read; a damaged or cut-off one is read up to the damage.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "analysis/log_format.h"

struct archive;

namespace vorel::analysis {

class LogSource {
 public:
  LogSource() = default;
  ~LogSource();
  LogSource(const LogSource&) = delete;
  LogSource& operator=(const LogSource&) = delete;

  // Opens the log and reads its first bytes to learn its compression; false
  // when it cannot be opened.
  bool Open(const std::string& path);
  void Close();

  // Up to `size` bytes of the log's text; 0 at its end, -1 on a read error.
  // A compressed log that ends early ends there (see EndedEarly).
  long Read(char* buffer, size_t size);

  // Bytes taken from the file so far: compressed bytes for a compressed log.
  uint64_t BytesRead() const { return bytesRead_; }
  // The file's size, or 0 when it is not known (a pipe or a FIFO).
  uint64_t TotalSize() const { return totalSize_; }
  Compression compression() const { return compression_; }
  // The compressed data was damaged or cut off; what came before counts.
  bool EndedEarly() const { return endedEarly_; }
  bool ReadFailed() const { return readFailed_; }

 private:
  // Raw bytes from the file: the first bytes kept from Open, then read().
  long ReadRaw(char* buffer, size_t size);
  bool OpenDecompression();
  long ReadDecompressed(char* buffer, size_t size);
  static long ArchiveRead(struct archive*, void* self, const void** block);

  int fd_ = -1;
  struct archive* archive_ = nullptr;
  Compression compression_ = Compression::None;
  std::string head_;  // the first bytes, not yet handed on
  size_t headPos_ = 0;
  std::string block_;  // what the decompression reads the file into
  uint64_t bytesRead_ = 0;
  uint64_t totalSize_ = 0;
  bool endedEarly_ = false;
  bool readFailed_ = false;
  bool ended_ = false;
};

}  // namespace vorel::analysis
