// Files that are not histories, or no longer sound ones, are refused with a
// message, for reading and for adding, and never changed.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include "history/history_adder.h"
#include "history/history_file.h"
#include "history/history_schema.h"
#include "history/page_view_reader.h"
#include "support/history_logs.h"
#include "support/test_files.h"

namespace vorel::history {
namespace {

void RunSql(const std::string& path, const char* sql) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
  EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
  sqlite3_close(db);
}

class HistoryFileTest : public ::testing::Test {
 protected:
  std::string MakeHistory(const std::string& name) {
    const std::string path = dir.File(name);
    EXPECT_TRUE(AddLogToHistory(path, dir.Write(name + ".log", testing::ServerLogLines(0, 2000))).ok);
    return path;
  }
  // Expects both reading and adding to refuse the file with `description`,
  // leaving it byte for byte as it was.
  void ExpectRefused(const std::string& path, const char* description) {
    const std::string digest = testing::FileDigest(path);
    Database db;
    std::string error;
    EXPECT_FALSE(OpenHistory(path, HistoryAccess::Read, db, error));
    EXPECT_EQ(error, description);
    PageViewReader reader;
    EXPECT_FALSE(reader.Open(path));
    EXPECT_EQ(reader.Error(), description);
    const AddOutcome outcome = AddLogToHistory(path, dir.Write("new.log", testing::ServerLogLines(0, 10)));
    EXPECT_FALSE(outcome.ok);
    EXPECT_TRUE(outcome.historyError);
    EXPECT_EQ(outcome.error, description);
    EXPECT_EQ(testing::FileDigest(path), digest);
  }

  testing::TempDir dir;
};

TEST_F(HistoryFileTest, AnotherProgramsDatabaseIsRefusedAndUnchanged) {
  const std::string path = dir.File("other.sqlite");
  RunSql(path, "CREATE TABLE page_view (x); INSERT INTO page_view VALUES (1);");
  EXPECT_TRUE(IsHistoryFile(path));  // analysed as a history, which then refuses it
  ExpectRefused(path, kNotHistory);
}

TEST_F(HistoryFileTest, AHistoryOfALaterLayoutIsRefusedAndUnchanged) {
  const std::string path = MakeHistory("later.history");
  RunSql(path, ("PRAGMA user_version = " + std::to_string(kSchemaVersion + 1)).c_str());
  ExpectRefused(path, kNewerLayout);
}

TEST_F(HistoryFileTest, ADamagedHistoryIsRefusedAndUnchanged) {
  const std::string path = MakeHistory("damaged.history");
  std::string bytes = testing::ReadFile(path);
  ASSERT_GT(bytes.size(), 8192u);
  // The header stays; the pages after the first are overwritten.
  for (size_t i = 4096; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7);
  dir.Write("damaged.history", bytes);
  const std::string digest = testing::FileDigest(path);
  const AddOutcome outcome = AddLogToHistory(path, dir.Write("new.log", testing::ServerLogLines(0, 10)));
  EXPECT_FALSE(outcome.ok);
  EXPECT_EQ(outcome.error, kDamaged);
  PageViewReader reader;
  EXPECT_FALSE(reader.Open(path));
  EXPECT_EQ(reader.Error(), kDamaged);
  EXPECT_EQ(testing::FileDigest(path), digest);
}

TEST_F(HistoryFileTest, ARowNamingNoVisitorFailsInItsTurnAfterTheRowsBeforeIt) {
  const std::string path = MakeHistory("bad-row.history");
  // Far enough in for the reader to have read past it ahead of its use.
  constexpr int kGoodRows = 1500;
  RunSql(path, ("UPDATE page_view SET visitor = 1 << 40 WHERE stamp = (SELECT stamp FROM page_view ORDER BY stamp "
                "LIMIT 1 OFFSET " + std::to_string(kGoodRows) + ")").c_str());
  PageViewReader reader;
  ASSERT_TRUE(reader.Open(path));
  PageViewRecords view;
  int rows = 0;
  while (reader.Next(view)) ++rows;
  EXPECT_EQ(rows, kGoodRows);
  EXPECT_TRUE(reader.Failed());
  EXPECT_EQ(reader.Error(), kDamaged);
  EXPECT_FALSE(reader.Next(view));
}

TEST_F(HistoryFileTest, AFileThatIsNoDatabaseIsRefusedForAddingAndUnchanged) {
  const std::string path = dir.Write("notes.txt", "these are notes, not a history\n");
  EXPECT_FALSE(IsHistoryFile(path));
  ExpectRefused(path, kNotHistory);
}

}  // namespace
}  // namespace vorel::history
