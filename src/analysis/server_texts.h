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
  // The texts of one kind and their records, end to end in one block, found
  // through an open-addressing index whose slot holds the text's hash and
  // place: a lookup reads the slot and then one place in the block.
  class Kind {
   public:
    // The record of `logged`, made by `make(logged, record)` the first time.
    template <class Make>
    Text Look(std::string_view logged, Make make);
    std::string decoded;  // scratch for the record makers

   private:
    struct Slot {
      uint32_t hash = 0;
      uint32_t at = 0;  // the entry's place in the block, plus 1 (0: empty)
    };
    // Before each text: its number, its length and its record's. The block
    // stays below 4 GiB: its texts are few and short.
    struct Header {
      int32_t number;
      uint32_t text, record;
    };
    Text EntryAt(uint32_t at) const;
    void Grow();
    std::vector<Slot> slots_ = std::vector<Slot>(64);
    std::string block_;
    int32_t count_ = 0;
    std::string unnumbered_;  // the record of a text not numbered
    std::string made_;        // a record being made
  };

  Kind pages_, agents_, referrers_, hosts_;
};

}  // namespace vorel::analysis
