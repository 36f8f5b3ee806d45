// The history file: an SQLite database that holds every page view added to
// it. Its layout, and the marks by which a history file is told from any
// other SQLite file.
#pragma once

#include <cstdint>
#include <string>

namespace vorel::history {

// PRAGMA application_id of a history file ("vrlH"); a file with another one
// is some other program's database and is never changed.
inline constexpr int32_t kApplicationId = 0x76726C48;
// PRAGMA user_version: the layout below. A later layout raises it.
inline constexpr int32_t kSchemaVersion = 1;

// Page views are keyed by a stamp that keeps them in the order they were
// added: stamp = ((second - kStampEpoch) << kStampOrderBits) | n, where
// `second` never falls behind the stamp before it and n numbers the views
// within that second. A view's own time is second - lag; lag is 0 for all
// but late lines (a line logged out of order, or one of more than 32 in a
// second), which alone have a row in the late table. Counted from 2000, a
// stamp takes five bytes in the file until 2034.
inline constexpr int kStampOrderBits = 5;
inline constexpr int64_t kStampEpoch = 946684800;  // 2000-01-01 00:00 UTC

inline int64_t StampOf(int64_t second, int64_t order) { return ((second - kStampEpoch) * (int64_t{1} << kStampOrderBits)) | order; }
inline int64_t SecondOfStamp(int64_t stamp) { return (stamp >> kStampOrderBits) + kStampEpoch; }
inline int64_t OrderOfStamp(int64_t stamp) { return stamp & ((int64_t{1} << kStampOrderBits) - 1); }

// What a zone row says of the times that refer to it.
enum class ZoneKind {
  Server = 0,   // a web server's line: time is UTC seconds, offset the logged zone in seconds
  Local = 1,    // a record log: time is the stamp as logged, read as if UTC, no zone known
  Local24 = 2,  // as Local, but the stamp said hour 24 of the day before
  NoTime = 3,   // a record whose stamp could not be read
};

// The statements that create an empty history.
const char* SchemaSql();

// Whether the file starts with SQLite's 16-byte header: such a file is
// analysed as a history rather than read as a log.
bool IsHistoryFile(const std::string& path);

}  // namespace vorel::history
