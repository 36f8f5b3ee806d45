#include "analysis/log_reader.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/test_files.h"

namespace vorel::analysis {
namespace {

using testing::TempDir;

struct ReadResult {
  std::vector<std::string> records;
  int32_t lineNo = 0;
};

ReadResult ReadAll(const std::string& path) {
  LogReader reader;
  EXPECT_TRUE(reader.Open(path));
  ReadResult result;
  std::string_view record;
  while (reader.ReadLogRecord(record)) result.records.emplace_back(record);
  result.lineNo = reader.LineNo();
  // Once exhausted it stays exhausted.
  EXPECT_FALSE(reader.ReadLogRecord(record));
  return result;
}

TEST(LogReader, CrLfAndLfGiveTheSameRecords) {
  TempDir dir;
  auto crlf = ReadAll(dir.Write("a.log", "1#(a)x\r\n2#agent\r\n3#\r\n4#(1.2.3.4)\r\n"));
  auto lf = ReadAll(dir.Write("b.log", "1#(a)x\n2#agent\n3#\n4#(1.2.3.4)\n"));
  std::vector<std::string> expected = {"1#(a)x", "2#agent", "3#", "4#(1.2.3.4)"};
  EXPECT_EQ(crlf.records, expected);
  EXPECT_EQ(lf.records, expected);
  EXPECT_EQ(crlf.lineNo, 4);
}

TEST(LogReader, TabsSeparateRecordsWithoutCountingLines) {
  TempDir dir;
  auto r = ReadAll(dir.Write("a.log", "1#(a)x\t2#agent\r\t3#ref\t4#h(1.2.3.4)\r\nnext\n"));
  std::vector<std::string> expected = {"1#(a)x", "2#agent", "3#ref", "4#h(1.2.3.4)", "next"};
  EXPECT_EQ(r.records, expected);  // the CR before a TAB goes with it
  EXPECT_EQ(r.lineNo, 2);
}

TEST(LogReader, EmptyLinesGiveEmptyRecordsAndCount) {
  TempDir dir;
  auto r = ReadAll(dir.Write("a.log", "\r\n\na\n"));
  EXPECT_EQ(r.records, (std::vector<std::string>{"", "", "a"}));
  EXPECT_EQ(r.lineNo, 3);
}

TEST(LogReader, EmptyFileEndsAtOnce) {
  TempDir dir;
  auto r = ReadAll(dir.Write("a.log", ""));
  EXPECT_TRUE(r.records.empty());
  EXPECT_EQ(r.lineNo, 0);
}

TEST(LogReader, TextAfterTheLastLfIsOneWholeRecordWhateverTheChunking) {
  TempDir dir;
  // The final piece keeps its TAB and its CR. Vary the length in front of it
  // so that the last LF falls at every position of a read chunk.
  for (size_t pad : {0u, 1u, 99u, 100u, 65535u, 65536u, 65537u, 131070u}) {
    std::string body(pad, 'x');
    auto r = ReadAll(dir.Write("a.log", body + "\n3#a\t4#b\r"));
    ASSERT_EQ(r.records.size(), 2u) << pad;
    EXPECT_EQ(r.records[0], body);
    EXPECT_EQ(r.records[1], "3#a\t4#b\r");
    EXPECT_EQ(r.lineNo, 2);
  }
}

TEST(LogReader, LongLinesAndDoubleByteCharactersAcrossChunksComeOutWhole) {
  TempDir dir;
  std::string line = "1#(" + std::string(65535, 'p');  // the next character straddles the first chunk's end
  std::string text = line + "日記)2001/12/05 09:03:07\r\n";
  std::string big(10 * 1024 * 1024, 'a');  // a 10 MB line
  auto r = ReadAll(dir.Write("a.log", testing::Sjis(text) + big + "\n"));
  ASSERT_EQ(r.records.size(), 2u);
  EXPECT_EQ(r.records[0], line + "日記)2001/12/05 09:03:07");
  EXPECT_EQ(r.records[1].size(), big.size());
}

TEST(LogReader, InvalidBytesAndNulsNeverBreakTheLines) {
  TempDir dir;
  std::string bytes = std::string("1#(a\x81)x\n2#\0\xFF\n", 12);
  auto r = ReadAll(dir.Write("a.log", bytes));
  ASSERT_EQ(r.records.size(), 2u);
  EXPECT_EQ(r.records[0], "1#(a\xEF\xBF\xBD)x");
  EXPECT_EQ(r.records[1], std::string("2#\0\xEF\xBF\xBD", 6));
}

TEST(LogReader, MissingFileDoesNotOpen) {
  TempDir dir;
  LogReader reader;
  EXPECT_FALSE(reader.Open(dir.File("none.log")));
  std::string_view record;
  EXPECT_FALSE(reader.ReadLogRecord(record));
}

TEST(LogReader, DamagedBytesReadTheSameWhereverAReadChunkEnds) {
  TempDir dir;
  // An unassigned pair after a lone lead byte: moved across the first chunk's
  // end, the page name must come out the same each time.
  const std::string damaged = "1#(\x85\x85\x41\x86\x9F\x85)x";
  const std::string expected = testing::FromSjis("\x85\x85\x41\x86\x9F\x85");
  for (size_t pad = 65520; pad <= 65536; ++pad) {
    auto r = ReadAll(dir.Write("a.log", std::string(pad, 'x') + "\n" + damaged + "\r\n"));
    ASSERT_EQ(r.records.size(), 2u) << pad;
    EXPECT_EQ(r.records[1], "1#(" + expected + ")x") << pad;
  }
  EXPECT_EQ(expected, "\xEF\xBF\xBD" "A\xEF\xBF\xBD\xEF\xBF\xBD");
}

}  // namespace
}  // namespace vorel::analysis
