// Opening a history file, for reading or for adding. A file that is not a
// history (another program's database, or no database at all), a history of
// a later layout and a damaged one are refused with a message and left
// exactly as they are.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "history/sqlite_db.h"

namespace vorel::history {

enum class HistoryAccess { Read, Add };

// The descriptions a refusal carries (the caller adds the file's path).
inline constexpr const char* kNotHistory = "履歴ファイルではありません。";
inline constexpr const char* kDamaged = "履歴ファイルが壊れています。";
inline constexpr const char* kNewerLayout = "新しい版の vorel で作られた履歴ファイルです。";
inline constexpr const char* kCannotOpen = "履歴ファイルを開けません。";
inline constexpr const char* kDiskFull = "ディスクの空きが足りません。";
inline constexpr const char* kBusy = "履歴ファイルは別のプログラムが書き込み中です。";

// Opens `path`. For Add, an absent (or empty) file becomes a new, empty
// history, and the whole file is checked before anything is written. The
// description of the refusal goes to `error`; false then.
bool OpenHistory(const std::string& path, HistoryAccess access, Database& db, std::string& error);

// The dictionary ids in the order they are given out: 0, 1, 2, ...; a new
// id always goes at the table's end, which keeps the table's pages full.
// IndexOfId is -1 for an id the program never gives out.
inline int64_t IdOfIndex(int64_t index) { return index; }
inline int64_t IndexOfId(int64_t id) { return id >= 0 ? id : -1; }

// The texts of one dictionary table by index; false when the table is not
// as the program writes it (ids not contiguous, a text missing).
bool LoadTexts(Database& db, const char* table, std::vector<std::string>& texts);

// Maps an SQLite result code to a description.
const char* DescribeSqliteError(int rc);

}  // namespace vorel::history
