#include "analysis/log_reader.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <thread>
#include <vector>

#include "support/test_files.h"

namespace vorel::analysis {
namespace {

using testing::TempDir;

struct ReadResult {
  std::vector<std::string> records;  // record lines split at TABs, decoded
  std::vector<std::string> lines;    // lines as raw bytes ("<too long>" for a skipped one)
  int64_t lineNo = 0;
  bool endedEarly = false;
  uint64_t bytesRead = 0;
  uint64_t totalSize = 0;
};

// Reads every line. `batched`, as the analysis does: after each ReadLine,
// every line already read in; a batch's lines are copied only once the
// batch is whole, so they must all still be valid then.
ReadResult ReadOnce(const std::string& path, bool batched) {
  LogReader reader;
  EXPECT_TRUE(reader.Open(path));
  ReadResult result;
  std::vector<LogLine> batch;
  LogLine line;
  while (reader.ReadLine(line)) {
    batch.assign(1, line);
    while (batched && reader.ReadBufferedLine(line)) batch.push_back(line);
    for (const LogLine& taken : batch) {
      result.lines.emplace_back(taken.tooLong ? std::string("<too long>") : std::string(taken.bytes));
      std::string_view record;
      for (LineRecords records(taken); records.Next(record);)
        result.records.emplace_back(reader.Text(record, taken.high));
    }
  }
  result.lineNo = reader.LineNo();
  result.endedEarly = reader.Source().EndedEarly();
  result.bytesRead = reader.BytesRead();
  result.totalSize = reader.TotalSize();
  // Once exhausted it stays exhausted.
  EXPECT_FALSE(reader.ReadLine(line));
  EXPECT_FALSE(reader.ReadBufferedLine(line));
  return result;
}

// Read in batches; a file that can be read twice reads the same line by line.
ReadResult ReadAll(const std::string& path) {
  ReadResult batched = ReadOnce(path, true);
  if (std::filesystem::is_regular_file(path)) {
    const ReadResult single = ReadOnce(path, false);
    EXPECT_EQ(single.lines, batched.lines);
    EXPECT_EQ(single.records, batched.records);
    EXPECT_EQ(single.lineNo, batched.lineNo);
  }
  return batched;
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
    std::string body = "1#" + std::string(pad, 'x');
    auto r = ReadAll(dir.Write("a.log", body + "\n3#a\t4#b\r"));
    ASSERT_EQ(r.records.size(), 2u) << pad;
    EXPECT_EQ(r.records[0], body);
    EXPECT_EQ(r.records[1], "3#a\t4#b\r");
    EXPECT_EQ(r.lineNo, 2);
  }
}

TEST(LogReader, LongRecordLinesAndDoubleByteCharactersAcrossChunksComeOutWhole) {
  TempDir dir;
  std::string line = "1#(" + std::string(65535, 'p');  // the next character straddles the first chunk's end
  std::string text = line + "日記)2001/12/05 09:03:07\r\n";
  std::string big = "2#" + std::string(10 * 1024 * 1024, 'a');  // a 10 MB line of records
  auto r = ReadAll(dir.Write("a.log", testing::Sjis(text) + big + "\n"));
  ASSERT_EQ(r.records.size(), 2u);
  EXPECT_EQ(r.records[0], line + "日記)2001/12/05 09:03:07");
  EXPECT_EQ(r.records[1].size(), big.size());
}

TEST(LogReader, ALineOverItsBoundIsSkippedAsOneLineAndReadingGoesOn) {
  TempDir dir;
  struct Case {
    std::string line;
    bool tooLong;
  };
  const std::vector<Case> cases = {
      {std::string(kMaxServerLineBytes, 's'), false},
      {std::string(kMaxServerLineBytes + 1, 's'), true},
      {std::string(3 * kMaxServerLineBytes, '\0'), true},
      {"3#" + std::string(4 * kMaxServerLineBytes, 'r'), false},
      {"3#" + std::string(kMaxRecordLineBytes - 1, 'r'), true},
  };
  for (const Case& c : cases) {
    for (const std::string& after : {std::string("after\n"), std::string()}) {
      auto r = ReadAll(dir.Write("a.log", c.line + "\r\n" + after));
      ASSERT_EQ(r.lines.size(), after.empty() ? 1u : 2u) << c.line.size();
      EXPECT_TRUE(r.lines[0] == (c.tooLong ? "<too long>" : c.line)) << c.line.size();
      if (!after.empty()) {
        EXPECT_EQ(r.lines[1], "after");
      }
      EXPECT_EQ(r.lineNo, static_cast<int64_t>(r.lines.size()));
    }
    // Without a line end the bound holds the same.
    auto r = ReadAll(dir.Write("a.log", c.line));
    ASSERT_EQ(r.lines.size(), 1u);
    EXPECT_EQ(r.lines[0] == "<too long>", c.tooLong) << c.line.size();
  }
}

TEST(LogReader, AByteOrderMarkIsSkippedAtTheStartOnly) {
  TempDir dir;
  auto r = ReadAll(dir.Write("a.log", "\xEF\xBB\xBF" "1#(a)x\n\xEF\xBB\xBF" "2#b\n"));
  ASSERT_EQ(r.lines.size(), 2u);
  EXPECT_EQ(r.lines[0], "1#(a)x");
  EXPECT_EQ(r.lines[1], "\xEF\xBB\xBF" "2#b");
  EXPECT_EQ(ReadAll(dir.Write("b.log", "\xEF\xBB\xBF")).lines.size(), 0u);
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
  LogLine line;
  EXPECT_FALSE(reader.ReadLine(line));
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

// Lines enough for several blocks of every compression.
std::string ManyLines() {
  std::string text;
  for (int i = 0; i < 300000; ++i) text += "192.0.2." + std::to_string(i % 250) + " line " + std::to_string(i) + "\n";
  return text;
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  for (size_t start = 0, lf; (lf = text.find('\n', start)) != std::string::npos; start = lf + 1)
    lines.push_back(text.substr(start, lf - start));
  return lines;
}

TEST(LogReader, CompressedLogsReadAsTheirTextAndACutOneUpToTheCut) {
  TempDir dir;
  const std::string text = ManyLines();
  const std::vector<std::string> all = SplitLines(text);
  for (const std::string tool : {"gzip", "bzip2", "xz", "zstd"}) {
    const std::string packed = testing::CompressedWith(tool, text);
    auto whole = ReadAll(dir.Write("whole", packed));
    EXPECT_EQ(whole.lines, all) << tool;
    EXPECT_FALSE(whole.endedEarly) << tool;
    EXPECT_EQ(whole.totalSize, packed.size()) << tool;
    EXPECT_EQ(whole.bytesRead, packed.size()) << tool;

    auto cut = ReadAll(dir.Write("cut", packed.substr(0, packed.size() * 3 / 4)));
    EXPECT_TRUE(cut.endedEarly) << tool;
    ASSERT_LT(cut.lines.size(), all.size()) << tool;
    // What was read is the start of the log, up to a line that may be partial.
    ASSERT_FALSE(cut.lines.empty()) << tool;
    for (size_t i = 0; i + 1 < cut.lines.size(); ++i) ASSERT_EQ(cut.lines[i], all[i]) << tool << " " << i;
    EXPECT_EQ(all[cut.lines.size() - 1].rfind(cut.lines.back(), 0), 0u) << tool;

    auto header = ReadAll(dir.Write("header", packed.substr(0, 12)));
    EXPECT_TRUE(header.endedEarly) << tool;
    EXPECT_TRUE(header.lines.empty()) << tool;
  }
}

TEST(LogReader, GzipMembersFollowOneAnotherAndABadChecksumLosesNothing) {
  TempDir dir;
  auto r = ReadAll(dir.Write("two.gz", testing::CompressedWith("gzip", "a\nb\n") + testing::CompressedWith("gzip", "c\n")));
  EXPECT_EQ(r.lines, (std::vector<std::string>{"a", "b", "c"}));

  std::string packed = testing::CompressedWith("gzip", ManyLines());
  packed[packed.size() - 8] ^= 0x5A;  // the CRC-32 of the member's data
  auto damaged = ReadAll(dir.Write("crc.gz", packed));
  EXPECT_EQ(damaged.lines, SplitLines(ManyLines()));
  EXPECT_FALSE(damaged.endedEarly);

  // A file that merely begins like a compressed one is text.
  EXPECT_EQ(ReadAll(dir.Write("bz.log", "BZh9 is a name\n")).lines, (std::vector<std::string>{"BZh9 is a name"}));
}

TEST(LogReader, AFifoIsReadAsAStreamOfUnknownSize) {
  TempDir dir;
  const std::string fifo = dir.File("fifo");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const std::string text = testing::CompressedWith("gzip", ManyLines());
  std::thread writer([&] {
    const int fd = ::open(fifo.c_str(), O_WRONLY);
    if (fd < 0) return;
    for (size_t done = 0; done < text.size();) {
      const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
      if (n <= 0) break;
      done += static_cast<size_t>(n);
    }
    ::close(fd);
  });
  auto r = ReadAll(fifo);
  writer.join();
  EXPECT_EQ(r.lines, SplitLines(ManyLines()));
  EXPECT_EQ(r.totalSize, 0u);
  EXPECT_EQ(r.bytesRead, text.size());
}

TEST(LogReader, BytesReadFollowTheLinesOfAPlainFile) {
  TempDir dir;
  LogReader reader;
  ASSERT_TRUE(reader.Open(dir.Write("a.log", "first\nsecond\n")));
  LogLine line;
  ASSERT_TRUE(reader.ReadLine(line));
  EXPECT_EQ(reader.BytesRead(), 6u);
  ASSERT_TRUE(reader.ReadLine(line));
  EXPECT_EQ(reader.BytesRead(), 13u);
  EXPECT_EQ(reader.TotalSize(), 13u);
}

}  // namespace
}  // namespace vorel::analysis
