#include "history/sqlite_db.h"

#include <utility>

namespace vorel::history {

Statement::Statement(sqlite3* db, const char* sql) {
  if (sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr) != SQLITE_OK) {
    sqlite3_finalize(stmt_);
    stmt_ = nullptr;
  }
}

Statement::~Statement() { sqlite3_finalize(stmt_); }

Statement::Statement(Statement&& other) noexcept : stmt_(std::exchange(other.stmt_, nullptr)) {}

Statement& Statement::operator=(Statement&& other) noexcept {
  if (this != &other) {
    sqlite3_finalize(stmt_);
    stmt_ = std::exchange(other.stmt_, nullptr);
  }
  return *this;
}

int Statement::Run() {
  int rc = sqlite3_step(stmt_);
  sqlite3_reset(stmt_);
  return rc;
}

std::string_view Statement::Text(int column) const {
  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
  if (!text) return {};
  return std::string_view(text, static_cast<size_t>(sqlite3_column_bytes(stmt_, column)));
}

int Database::Open(const std::string& path, int flags) {
  Close();
  int rc = sqlite3_open_v2(path.c_str(), &db_, flags, nullptr);
  if (rc != SQLITE_OK) Close();
  return rc;
}

void Database::Close() {
  if (db_) sqlite3_close_v2(db_);
  db_ = nullptr;
}

int64_t Database::QueryInt(const char* sql, int64_t fallback) {
  Statement s(db_, sql);
  if (!s.Ok() || s.Step() != SQLITE_ROW || s.IsNull(0)) return fallback;
  return s.Int(0);
}

}  // namespace vorel::history
