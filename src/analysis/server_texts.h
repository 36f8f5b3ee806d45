// A server log's page views repeat their texts line after line: the same
// agents, referrers, hosts and pages. Each distinct text as logged is made
// into its record once and numbered, so that a pass finds what it knows of
// the text by that number, without decoding, copying or hashing the record
// again. Two texts as logged may make one record (written escaped or not);
// they keep two numbers.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/category_table.h"

namespace vorel::analysis {

// A text longer than this is made into its record every time and keeps no
// number: a log of long distinct referrers is not held twice.
constexpr size_t kNumberedTextBytes = 512;
// Numbering pays while the texts of a kind are few enough to stay in the
// processor's caches. Past this many, the kind's texts are made into records
// every time: a lookup by the record finds them as fast then.
constexpr int32_t kNumberedTexts = 1 << 15;

class ServerTextRecords {
 public:
  struct Text {
    std::string_view record;  // valid until the next call for the same kind of text
    int64_t number;           // -1: not numbered
  };
  // "1#(page)" of a request target, its stamp to follow (AppendPageRecordStart).
  Text Page(std::string_view target);
  // "2#agent" and "3#referrer" of the fields as logged (DecodeAgent, DecodeReferrer).
  Text Agent(std::string_view raw);
  Text Referrer(std::string_view raw);
  // "4#(address)" or "4#name()" (AppendHostRecord).
  Text Host(std::string_view host);

 private:
  struct Kind {
    CategoryTable logged{kMaxGrowingTableEntries};  // the texts as logged, by number
    std::vector<std::string> records{1};            // their records, by number
    std::string unnumbered;                         // the record of a text too long to number
    std::string decoded;
  };
  // The record of `logged` from `make(logged, record)`, made once a text.
  template <class Make>
  Text Look(Kind& kind, std::string_view logged, Make make);

  Kind pages_, agents_, referrers_, hosts_;
};

}  // namespace vorel::analysis
