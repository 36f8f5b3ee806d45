// The time of a record log's page view as the history keeps it (see
// ZoneKind), read from the record's stamp and written back as the stamp the
// analysis reads.
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

// Appends the stamp text the analysis reads ("2026/10/10 13:55:36") for a
// record's stored time, as logged; nothing for NoTime. A server's line is
// stamped by the analysis in its chosen zone instead (AppendServerStamp).
void AppendStamp(ZoneKind kind, int64_t time, std::string& out);

}  // namespace vorel::history
