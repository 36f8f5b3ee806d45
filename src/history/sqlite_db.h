// A thin owner of an SQLite connection and its prepared statements.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace vorel::history {

class Statement {
 public:
  Statement() = default;
  Statement(sqlite3* db, const char* sql);
  ~Statement();
  Statement(Statement&& other) noexcept;
  Statement& operator=(Statement&& other) noexcept;
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  bool Ok() const { return stmt_ != nullptr; }
  void Bind(int index, int64_t value) { sqlite3_bind_int64(stmt_, index, value); }
  void Bind(int index, std::string_view text) {
    sqlite3_bind_text(stmt_, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
  }
  void BindBlob(int index, std::string_view bytes) {
    sqlite3_bind_blob(stmt_, index, bytes.data(), static_cast<int>(bytes.size()), SQLITE_TRANSIENT);
  }
  // SQLITE_ROW, SQLITE_DONE or an error code.
  int Step() { return sqlite3_step(stmt_); }
  // Runs a statement that returns no rows and readies it for the next use.
  int Run();
  void Reset() { sqlite3_reset(stmt_); }
  int64_t Int(int column) const { return sqlite3_column_int64(stmt_, column); }
  std::string_view Text(int column) const;
  bool IsNull(int column) const { return sqlite3_column_type(stmt_, column) == SQLITE_NULL; }

 private:
  sqlite3_stmt* stmt_ = nullptr;
};

class Database {
 public:
  Database() = default;
  ~Database() { Close(); }
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  // SQLITE_OK or the error code; flags as sqlite3_open_v2 takes them.
  int Open(const std::string& path, int flags);
  void Close();
  sqlite3* Handle() const { return db_; }
  int Exec(const char* sql) { return sqlite3_exec(db_, sql, nullptr, nullptr, nullptr); }
  Statement Prepare(const char* sql) { return Statement(db_, sql); }
  // The first column of the first row, or `fallback`.
  int64_t QueryInt(const char* sql, int64_t fallback);

 private:
  sqlite3* db_ = nullptr;
};

}  // namespace vorel::history
