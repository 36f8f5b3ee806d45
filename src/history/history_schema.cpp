#include "history/history_schema.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <string>

namespace vorel::history {

namespace {

// The statements, the view's time of a page view written @TIME@.
const char* SchemaText() {
  // Dictionary ids run 0, 1, 2, ... in the order the texts are first seen:
  // SQLite stores 0 and 1 in no bytes and up to 127 in one, so the first
  // texts seen (the most frequent, as a rule) cost least in every row that
  // names them, and each new text goes at its table's end, where SQLite
  // fills a page before it starts the next.
  return R"sql(
CREATE TABLE page (id INTEGER PRIMARY KEY, text TEXT NOT NULL);
CREATE TABLE agent (id INTEGER PRIMARY KEY, text TEXT NOT NULL);
CREATE TABLE referrer (id INTEGER PRIMARY KEY, text TEXT NOT NULL);
CREATE TABLE host (id INTEGER PRIMARY KEY, text TEXT NOT NULL);
CREATE TABLE zone (id INTEGER PRIMARY KEY, kind INTEGER NOT NULL, offset INTEGER NOT NULL);
CREATE TABLE visitor (id INTEGER PRIMARY KEY, host INTEGER NOT NULL, agent INTEGER NOT NULL, zone INTEGER NOT NULL);
CREATE TABLE page_view (
  stamp INTEGER PRIMARY KEY,
  page INTEGER NOT NULL,
  visitor INTEGER NOT NULL,
  referrer INTEGER NOT NULL);
CREATE TABLE late (stamp INTEGER PRIMARY KEY, lag INTEGER NOT NULL);
CREATE TABLE log (
  id INTEGER PRIMARY KEY,
  identity BLOB NOT NULL,
  head_length INTEGER NOT NULL,
  position INTEGER NOT NULL,
  name TEXT NOT NULL,
  page_views INTEGER NOT NULL,
  added TEXT NOT NULL);
CREATE VIEW page_views AS
  SELECT v.stamp AS stamp,
         @TIME@ AS time,
         z.kind AS kind,
         z.offset AS offset,
         CASE z.kind WHEN 0 THEN datetime(@TIME@ + z.offset, 'unixepoch')
                     WHEN 3 THEN NULL
                     ELSE datetime(@TIME@, 'unixepoch') END AS local_time,
         p.text AS page, a.text AS agent, r.text AS referrer, h.text AS host
  FROM page_view v
  LEFT JOIN late l ON l.stamp = v.stamp
  JOIN page p ON p.id = v.page
  JOIN visitor w ON w.id = v.visitor
  JOIN zone z ON z.id = w.zone
  JOIN agent a ON a.id = w.agent
  JOIN host h ON h.id = w.host
  JOIN referrer r ON r.id = v.referrer;
)sql";
}

}  // namespace

const char* SchemaSql() {
  static const std::string sql = [] {
    // The view reads a stamp as StampOf writes it.
    std::string text = SchemaText();
    const std::string time = "(v.stamp >> " + std::to_string(kStampOrderBits) + ") + " + std::to_string(kStampEpoch) +
                             " - coalesce(l.lag, 0)";
    for (size_t at; (at = text.find("@TIME@")) != std::string::npos;) text.replace(at, 6, time);
    return text;
  }();
  return sql.c_str();
}

bool IsHistoryFile(const std::string& path) {
  static constexpr char kHeader[16] = "SQLite format 3";  // with its NUL: 16 bytes
  // Only a regular file is looked into: a FIFO or a pipe is read only once.
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  char head[16] = {};
  const bool match = ::pread(fd, head, sizeof head, 0) == static_cast<ssize_t>(sizeof head) &&
                     std::memcmp(head, kHeader, sizeof head) == 0;
  ::close(fd);
  return match;
}

}  // namespace vorel::history
