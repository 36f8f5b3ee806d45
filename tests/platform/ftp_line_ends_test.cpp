// The line ends of a downloaded log: made locally from the bytes as they
// arrive, in pieces that may split a CR LF.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ftp_client.h"

namespace vorel::platform {
namespace {

std::string Converted(const std::vector<std::string>& pieces) {
  std::string out;
  char last = 0;
  for (const std::string& piece : pieces) AppendWithCrLf(piece, last, out);
  return out;
}

TEST(FtpLineEndsTest, EveryLineEndsInCrLfWhateverEndedItOnTheServer) {
  struct Row {
    std::vector<std::string> pieces;
    std::string expected;
  };
  const Row rows[] = {
      {{"a\nb\n"}, "a\r\nb\r\n"},
      {{"a\r\nb\r\n"}, "a\r\nb\r\n"},
      {{"a\r", "\nb\n"}, "a\r\nb\r\n"},         // CR LF split between two pieces
      {{"a", "\n", "\n"}, "a\r\n\r\n"},         // empty lines
      {{"\n"}, "\r\n"},                         // a line end first
      {{"x\ry"}, "x\ry"},                       // a lone CR stays as it is
      {{"no end"}, "no end"},
      {{"", "a\n", ""}, "a\r\n"},
  };
  for (const Row& row : rows) EXPECT_EQ(Converted(row.pieces), row.expected) << row.expected;
}

}  // namespace
}  // namespace vorel::platform
