// The time of a page view as the history keeps it (see ZoneKind), read from
// the stamp a log gives and written back as the stamp the analysis reads.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "history/history_schema.h"

namespace vorel::history {

struct StoredTime {
  ZoneKind kind = ZoneKind::NoTime;
  int64_t time = 0;  // seconds; see ZoneKind
};

// The stamp of a "1#" record (the text after the page name's ")"): year "/"
// or "-" month, the same separator, day, anything but digits, hour ":"
// minute, optionally ":" second. A stamp the analysis cannot read is NoTime.
StoredTime ReadRecordStamp(std::string_view stamp);

// The zone at the end of a server's time field ("10/Oct/2026:13:55:36
// +0900"), in seconds east of UTC; false when there is none.
bool ReadZoneOffset(std::string_view timeField, int32_t& offsetSeconds);

// Appends the stamp text the analysis reads ("2026/10/10 13:55:36") for a
// stored time: a server line's time in its logged zone, a record's as logged,
// nothing for NoTime.
void AppendStamp(ZoneKind kind, int64_t time, int32_t offsetSeconds, std::string& out);

}  // namespace vorel::history
