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
  // One of a line's texts, looked at ahead of its lookup: hashed when it is
  // numbered, else made into its record.
  struct AheadText {
    std::string_view logged;
    uint32_t hash = 0;
    bool made = false;   // not numbered: `record` is made
    std::string record;
  };
  struct Ahead {
    AheadText page, agent, referrer, host;
  };
  // Looks at a page view's texts ahead and starts fetching their index
  // slots; some lines later, Approach starts fetching the entries those
  // slots lead to. The lookups below then find them in the caches.
  void Expect(std::string_view path, std::string_view rawAgent, std::string_view rawReferrer,
              std::string_view host, Ahead& ahead);
  void Approach(const Ahead& ahead) const;

  // "1#(page)" of a request's path (PagePath), its stamp to follow (AppendPageRecordStart).
  Text Page(std::string_view path, const Ahead* ahead = nullptr);
  // "2#agent" and "3#referrer" of the fields as logged (DecodeAgent, DecodeReferrer).
  Text Agent(std::string_view raw, const Ahead* ahead = nullptr);
  Text Referrer(std::string_view raw, const Ahead* ahead = nullptr);
  // "4#(address)" or "4#name()" (AppendHostRecord).
  Text Host(std::string_view host, const Ahead* ahead = nullptr);

 private:
  // The texts of one kind end to end in one block, found through an
  // open-addressing index whose slot holds the text's hash and place: a
  // lookup reads the slot and then one place in the block. The records lie
  // in a block of their own, which a lookup does not read: the texts that
  // lookups compare stay close together in the caches.
  class Kind {
   public:
    // Makes the record of a text as logged; `scratch` is the kind's own.
    using Maker = void (*)(std::string_view logged, std::string& record, std::string& scratch);
    explicit Kind(Maker make) : make_(make) {}

    // `logged` ahead of its lookup: hashed and its slot fetched, or, when it
    // is not numbered, made into its record.
    void Expect(std::string_view logged, AheadText& ahead);
    void Approach(const AheadText& ahead) const;
    // The record of `logged`, made the first time; `ahead`, when it was made
    // for this very text, saves the work done.
    Text Look(std::string_view logged, const AheadText* ahead);

   private:
    struct Slot {
      uint32_t hash = 0;
      uint32_t at = 0;  // the entry's place in the block, plus 1 (0: empty)
    };
    // Before each text: its number, its length, and its record's place and
    // length. The blocks stay below 4 GiB: their texts are few and short.
    struct Header {
      int32_t number;
      uint32_t text, recordAt, record;
    };
    bool Numbered(std::string_view logged) const {
      return logged.size() <= kNumberedTextBytes && count_ < kNumberedTexts;
    }
    Text EntryAt(uint32_t at) const;
    void Grow();
    Maker make_;
    std::vector<Slot> slots_ = std::vector<Slot>(64);
    std::string block_;
    std::string records_;
    int32_t count_ = 0;
    std::string unnumbered_;  // the record of a text not numbered
    std::string made_;        // a record being made
    std::string scratch_;     // the maker's
  };

  static void MakePage(std::string_view path, std::string& record, std::string& scratch);
  static void MakeAgent(std::string_view raw, std::string& record, std::string& scratch);
  static void MakeReferrer(std::string_view raw, std::string& record, std::string& scratch);
  static void MakeHost(std::string_view host, std::string& record, std::string& scratch);

  Kind pages_{MakePage}, agents_{MakeAgent}, referrers_{MakeReferrer}, hosts_{MakeHost};
};

}  // namespace vorel::analysis
