#include "history/page_view_reader.h"

#include <cstdint>
#include <limits>
#include <tuple>

#include "analysis/server_log.h"
#include "history/history_file.h"
#include "history/logged_stamp.h"

namespace vorel::history {
namespace {

constexpr int32_t kMaxOffset = 86400;
// Years 0000 to 9999 give the widest span a stamp can name; a time beyond it
// comes from a damaged row and is never handed to the zone's arithmetic.
constexpr int64_t kFirstTime = -62167219200 - 86400, kLastTime = 253402300799 + 86400;


// The index of a dictionary id, or -1 when no such entry exists.
int64_t Index(int64_t id, size_t size) {
  const int64_t index = IndexOfId(id);
  return index >= 0 && index < static_cast<int64_t>(size) ? index : -1;
}

}  // namespace

void PageViewReader::TextBlock::Assign(std::vector<std::string>& texts, std::string_view marker) {
  size_t total = 0;
  for (const std::string& text : texts) total += marker.size() + text.size();
  text_.clear();
  text_.reserve(total);
  ends_.assign(1, 0);
  ends_.reserve(texts.size() + 1);
  for (std::string& text : texts) {
    text_.append(marker).append(text);
    ends_.push_back(text_.size());
    std::string().swap(text);  // each text's memory goes as soon as it is copied
  }
}

bool PageViewReader::Fail(const char* description) {
  error_ = description;
  rows_ = Statement();
  late_ = Statement();
  return false;
}

bool PageViewReader::Open(const std::string& path) {
  return Open(path, *analysis::TimeZone::FromSetting(analysis::kLoggedTimeSetting));
}

bool PageViewReader::Open(const std::string& path, const analysis::TimeZone& zone) {
  zone_ = zone;
  error_.clear();
  std::string error;
  if (!OpenHistory(path, HistoryAccess::Read, db_, error)) return Fail(error.c_str());
  if (!Load()) return Fail(kDamaged);
  rows_ = db_.Prepare("SELECT stamp, page, visitor, referrer FROM page_view ORDER BY stamp");
  late_ = db_.Prepare("SELECT stamp, lag FROM late ORDER BY stamp");
  if (!rows_.Ok() || !late_.Ok()) return Fail(kDamaged);
  batch_.clear();
  taken_ = 0;
  stepError_ = SQLITE_OK;
  lateAhead_ = false;
  int64_t none;
  if (!LagOf(std::numeric_limits<int64_t>::min(), none)) return Fail(kDamaged);
  return true;
}

bool PageViewReader::LagOf(int64_t stamp, int64_t& lag) {
  if (!lateAhead_ && late_.Ok()) {
    const int rc = late_.Step();
    if (rc == SQLITE_ROW) {
      lateStamp_ = late_.Int(0);
      lateLag_ = late_.Int(1);
      lateAhead_ = true;
    } else {
      late_ = Statement();
      if (rc != SQLITE_DONE) return false;
    }
  }
  lag = 0;
  if (!lateAhead_ || lateStamp_ > stamp) return true;
  // A late row names a page view that is there; both run in stamp order.
  if (lateStamp_ < stamp) return false;
  lag = lateLag_;
  lateAhead_ = false;
  return true;
}

bool PageViewReader::Load() {
  if (!LoadTexts(db_, "page", pages_)) return false;
  for (auto& page : pages_) page = "1#(" + page + ")";
  std::vector<std::string> texts;
  for (auto [table, marker, block] : {std::tuple{"agent", "2#", &agents_}, std::tuple{"referrer", "3#", &referrers_},
                                      std::tuple{"host", "4#", &hosts_}}) {
    if (!LoadTexts(db_, table, texts)) return false;
    block->Assign(texts, marker);
  }
  // Ids are given out without gaps: in id order, each is the next index.
  zones_.clear();
  Statement zones = db_.Prepare("SELECT id, kind, offset FROM zone ORDER BY id");
  if (!zones.Ok()) return false;
  int rc;
  while ((rc = zones.Step()) == SQLITE_ROW) {
    const int64_t kind = zones.Int(1), offset = zones.Int(2);
    if (IndexOfId(zones.Int(0)) != static_cast<int64_t>(zones_.size()) || kind < 0 ||
        kind > static_cast<int64_t>(ZoneKind::NoTime) || offset < -kMaxOffset || offset > kMaxOffset)
      return false;
    zones_.push_back({static_cast<ZoneKind>(kind), static_cast<int32_t>(offset)});
  }
  if (rc != SQLITE_DONE) return false;
  // A visitor names its texts by 32-bit numbers.
  if (hosts_.size() > UINT32_MAX || agents_.size() > UINT32_MAX || zones_.size() > UINT32_MAX) return false;
  visitors_.clear();
  Statement s = db_.Prepare("SELECT id, host, agent, zone FROM visitor ORDER BY id");
  if (!s.Ok()) return false;
  while ((rc = s.Step()) == SQLITE_ROW) {
    const int64_t host = Index(s.Int(1), hosts_.size()), agent = Index(s.Int(2), agents_.size());
    const int64_t zone = Index(s.Int(3), zones_.size());
    if (IndexOfId(s.Int(0)) != static_cast<int64_t>(visitors_.size()) || host < 0 || agent < 0 || zone < 0)
      return false;
    visitors_.push_back({static_cast<uint32_t>(host), static_cast<uint32_t>(agent), static_cast<uint32_t>(zone)});
  }
  return rc == SQLITE_DONE;
}

// A large history's visitors and dictionaries do not fit in the processor's
// caches, and a page view's row names its entries at random. So rows are read
// up to a batch ahead: each row's visitor is fetched from memory as the row is
// read, and its texts' places some rows before the row is used, while the rows
// between are counted.
constexpr size_t kBatchRows = 64;
constexpr size_t kTextsAhead = 12;

// Keeps the rows not yet taken and reads on behind them.
bool PageViewReader::Refill() {
  batch_.erase(batch_.begin(), batch_.begin() + static_cast<std::ptrdiff_t>(taken_));
  taken_ = 0;
  while (rows_.Ok() && batch_.size() < kBatchRows) {
    const int rc = rows_.Step();
    if (rc != SQLITE_ROW) {
      if (rc != SQLITE_DONE) stepError_ = rc;
      rows_ = Statement();
      break;
    }
    const Row row{rows_.Int(0), Index(rows_.Int(1), pages_.size()), Index(rows_.Int(2), visitors_.size()),
                  Index(rows_.Int(3), referrers_.size())};
    if (row.visitor >= 0) analysis::Prefetch(&visitors_[static_cast<size_t>(row.visitor)]);
    batch_.push_back(row);
  }
  return !batch_.empty();
}

PageViewRecords::Numbers PageViewReader::Ahead(size_t at) const {
  PageViewRecords::Numbers numbers;
  if (at >= batch_.size()) return numbers;
  const Row& row = batch_[at];
  if (row.visitor < 0 || row.referrer < 0) return numbers;
  const Visitor& v = visitors_[static_cast<size_t>(row.visitor)];
  agents_.Prefetch(v.agent);
  hosts_.Prefetch(v.host);
  referrers_.Prefetch(static_cast<size_t>(row.referrer));
  numbers.agent = v.agent;
  numbers.referrer = row.referrer;
  numbers.host = v.host;
  return numbers;
}

bool PageViewReader::Next(PageViewRecords& out) {
  if (!error_.empty()) return false;
  // Rows are read while those ahead of this one are still enough to fetch for.
  if (batch_.size() - taken_ <= kTextsAhead && !Refill()) {
    if (stepError_ != SQLITE_OK) return Fail(DescribeSqliteError(stepError_));
    late_ = Statement();
    return false;
  }
  out.soon = Ahead(taken_ + kTextsAhead);
  out.sooner = Ahead(taken_ + kTextsAhead / 2);
  out.next = Ahead(taken_ + 2);
  const Row& row = batch_[taken_++];
  int64_t lag = 0;
  if (row.page < 0 || row.visitor < 0 || row.referrer < 0 || !LagOf(row.stamp, lag) || lag < 0 ||
      lag > (int64_t{1} << 40))
    return Fail(kDamaged);
  const Visitor& v = visitors_[static_cast<size_t>(row.visitor)];
  const Zone& z = zones_[v.zone];
  out.time = SecondOfStamp(row.stamp) - lag;
  out.offsetSeconds = z.offset;
  out.fromServerLog = z.kind == ZoneKind::Server;
  page_ = pages_[static_cast<size_t>(row.page)];
  if (out.fromServerLog)
    out.stampRead = out.time >= kFirstTime && out.time <= kLastTime &&
                    analysis::AppendServerStamp({out.time, z.offset}, zone_, page_);
  else AppendStamp(z.kind, out.time, page_);
  out.page = page_;
  out.agent = agents_[v.agent];
  out.referrer = referrers_[static_cast<size_t>(row.referrer)];
  out.host = hosts_[v.host];
  out.pageIndex = row.page;
  out.agentIndex = static_cast<int64_t>(v.agent);
  out.referrerIndex = row.referrer;
  out.hostIndex = static_cast<int64_t>(v.host);
  return true;
}

int64_t CountPageViews(const std::string& path) {
  Database db;
  std::string error;
  if (!OpenHistory(path, HistoryAccess::Read, db, error)) return -1;
  return db.QueryInt("SELECT count(*) FROM page_view", -1);
}

}  // namespace vorel::history
