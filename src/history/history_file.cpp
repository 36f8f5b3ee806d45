#include "history/history_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include "history/history_schema.h"

namespace vorel::history {
namespace {

int32_t BigEndian32(const unsigned char* p) {
  return static_cast<int32_t>((uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3]);
}

enum class FileState { Absent, Empty, History, Newer, Foreign, Unreadable };

// Judges the file by its own first 100 bytes before SQLite sees it, so that
// a foreign database is never opened, let alone journalled or changed.
FileState StateOfFile(const std::string& path) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT ? FileState::Absent : FileState::Unreadable;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return FileState::Foreign;
  }
  unsigned char header[100] = {};
  const ssize_t n = ::pread(fd, header, sizeof header, 0);
  ::close(fd);
  if (n == 0) return FileState::Empty;
  if (n != static_cast<ssize_t>(sizeof header) || std::memcmp(header, "SQLite format 3", 16) != 0)
    return FileState::Foreign;
  if (BigEndian32(header + 68) != kApplicationId) return FileState::Foreign;
  const int32_t version = BigEndian32(header + 60);
  if (version > kSchemaVersion) return FileState::Newer;
  if (version != kSchemaVersion) return FileState::Foreign;
  return FileState::History;
}

bool CreateSchema(Database& db) {
  const std::string pragmas = "PRAGMA application_id = " + std::to_string(kApplicationId) +
                              "; PRAGMA user_version = " + std::to_string(kSchemaVersion) + ";";
  if (db.Exec("PRAGMA journal_mode = WAL") != SQLITE_OK) return false;
  if (db.Exec("BEGIN IMMEDIATE") != SQLITE_OK) return false;
  if (db.Exec(pragmas.c_str()) != SQLITE_OK || db.Exec(SchemaSql()) != SQLITE_OK || db.Exec("COMMIT") != SQLITE_OK) {
    db.Exec("ROLLBACK");
    return false;
  }
  // The header (with the marks above) reaches the file itself at once.
  db.Exec("PRAGMA wal_checkpoint(TRUNCATE)");
  return true;
}

bool SchemaLooksRight(Database& db) {
  static const char* const kTables[] = {"page", "agent", "referrer", "host", "visitor", "zone", "page_view", "late", "log"};
  Statement s = db.Prepare("SELECT count(*) FROM sqlite_schema WHERE type = 'table' AND name = ?1");
  if (!s.Ok()) return false;
  for (const char* table : kTables) {
    s.Bind(1, std::string_view(table));
    const bool found = s.Step() == SQLITE_ROW && s.Int(0) == 1;
    s.Reset();
    if (!found) return false;
  }
  return true;
}

}  // namespace

const char* DescribeSqliteError(int rc) {
  switch (rc & 0xFF) {
    case SQLITE_FULL: return kDiskFull;
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return kBusy;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
    case SQLITE_FORMAT:
    case SQLITE_RANGE:
    case SQLITE_MISMATCH: return kDamaged;
    default: return kCannotOpen;
  }
}

bool OpenHistory(const std::string& path, HistoryAccess access, Database& db, std::string& error) {
  const FileState state = StateOfFile(path);
  const bool create = access == HistoryAccess::Add && (state == FileState::Absent || state == FileState::Empty);
  if (!create && state != FileState::History) {
    error = state == FileState::Newer ? kNewerLayout
          : state == FileState::Absent || state == FileState::Unreadable ? kCannotOpen
          : kNotHistory;
    return false;
  }
  const int flags = access == HistoryAccess::Read ? SQLITE_OPEN_READONLY
                                                  : SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0);
  int rc = db.Open(path, flags | SQLITE_OPEN_NOMUTEX);
  if (rc != SQLITE_OK) {
    error = DescribeSqliteError(rc);
    return false;
  }
  sqlite3_busy_timeout(db.Handle(), 10000);
  if (create) {
    if (!CreateSchema(db)) {
      error = DescribeSqliteError(sqlite3_errcode(db.Handle()));
      db.Close();
      return false;
    }
    return true;
  }
  if (!SchemaLooksRight(db)) {
    error = kDamaged;
    db.Close();
    return false;
  }
  if (access == HistoryAccess::Add) {
    // Nothing is added to a file with damage anywhere in it.
    Statement check = db.Prepare("PRAGMA quick_check");
    if (!check.Ok() || check.Step() != SQLITE_ROW || check.Text(0) != "ok") {
      error = kDamaged;
      db.Close();
      return false;
    }
  }
  return true;
}

bool LoadTexts(Database& db, const char* table, std::vector<std::string>& texts) {
  texts.clear();
  // Ids are given out without gaps: in id order, each is the next index.
  const std::string sql = std::string("SELECT id, text FROM ") + table + " ORDER BY id";
  Statement s = db.Prepare(sql.c_str());
  if (!s.Ok()) return false;
  int rc;
  while ((rc = s.Step()) == SQLITE_ROW) {
    if (IndexOfId(s.Int(0)) != static_cast<int64_t>(texts.size())) return false;
    texts.emplace_back(s.Text(1));
  }
  return rc == SQLITE_DONE;
}

}  // namespace vorel::history
