// Reads a history's page views back, in the order they were added, as the
// four records of an access that the analysis pass counts.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/prefetch.h"
#include "analysis/time_zone.h"
#include "history/history_schema.h"
#include "history/sqlite_db.h"

namespace vorel::history {

struct PageViewRecords {
  std::string_view page;      // "1#(page)stamp"
  std::string_view agent;     // "2#agent"
  std::string_view referrer;  // "3#referrer"
  std::string_view host;      // "4#host"
  bool fromServerLog = false;
  int64_t time = 0;           // see ZoneKind
  int32_t offsetSeconds = 0;  // the logged zone of a server's line
  // False for a server's line whose time has no four-digit year in the zone
  // it is shown in: such a line is unreadable, as it is in the log.
  bool stampRead = true;
  // The texts' numbers in the history (their dictionary indexes): one
  // number is always the same text, so a pass looks each text up once.
  int64_t pageIndex = -1, agentIndex = -1, referrerIndex = -1, hostIndex = -1;
  // The numbers of the page views some rows on (-1 where none is in reach),
  // so that a pass can fetch from memory what it keeps for them before they
  // come, in steps: `soon` some rows on, `sooner` half as far, `next` close.
  struct Numbers {
    int64_t agent = -1, referrer = -1, host = -1;
  };
  Numbers soon, sooner, next;
};

class PageViewReader {
 public:
  // False, with the description in Error(), when the file is no readable
  // history. A server's line is stamped with its time in `zone`, exactly as
  // the analysis of its log stamps it; without a zone, as it was logged.
  bool Open(const std::string& path, const analysis::TimeZone& zone);
  bool Open(const std::string& path);
  // The next page view, valid until the next call; false at the end or on
  // an error (see Failed).
  bool Next(PageViewRecords& out);
  bool Failed() const { return !error_.empty(); }
  const std::string& Error() const { return error_; }

 private:
  bool Load();
  bool Fail(const char* description);
  // Reads the next rows ahead of their use (see Next).
  bool Refill();
  // The numbers of the batch's row at `at`, its texts' places fetched from memory.
  PageViewRecords::Numbers Ahead(size_t at) const;
  // The lag of the page view at `stamp` from the late rows, read in step
  // with the page views; false when the late rows are not as written.
  bool LagOf(int64_t stamp, int64_t& lag);

  struct Zone {
    ZoneKind kind;
    int32_t offset;
  };
  struct Visitor {
    uint32_t host;
    uint32_t agent;
    uint32_t zone;
  };
  // The texts of one dictionary, each behind its record marker, end to end
  // in one block: a page view finds its texts in a few dense offsets, so a
  // large history's dictionaries stay in the processor's caches.
  class TextBlock {
   public:
    void Assign(std::vector<std::string>& texts, std::string_view marker);
    std::string_view operator[](size_t i) const { return {text_.data() + ends_[i], ends_[i + 1] - ends_[i]}; }
    void Prefetch(size_t i) const { analysis::Prefetch(&ends_[i]); }
    size_t size() const { return ends_.size() - 1; }

   private:
    std::string text_;
    std::vector<size_t> ends_{0};
  };
  // A page view's row as read: the dictionary indexes (-1 for an id that
  // names no entry, which fails when the row's turn comes).
  struct Row {
    int64_t stamp, page, visitor, referrer;
  };
  Database db_;
  Statement rows_;
  std::vector<Row> batch_;
  size_t taken_ = 0;
  int stepError_ = SQLITE_OK;  // the error that ended the rows, reported after the rows before it
  Statement late_;
  bool lateAhead_ = false;  // late_ stands on a row not yet taken
  int64_t lateStamp_ = 0, lateLag_ = 0;
  std::vector<std::string> pages_;  // with their record markers
  TextBlock agents_, referrers_, hosts_;
  std::vector<Zone> zones_;
  std::vector<Visitor> visitors_;
  analysis::TimeZone zone_;
  std::string page_;
  std::string error_;
};

// The number of page views in the history at `path`; -1 when it is no readable history.
int64_t CountPageViews(const std::string& path);

}  // namespace vorel::history
