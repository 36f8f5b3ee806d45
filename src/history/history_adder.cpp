#include "history/history_adder.h"

#include <algorithm>
#include <array>
#include <limits>
#include <optional>
#include <string_view>
#include <vector>

#include "analysis/category_table.h"
#include "analysis/log_format.h"
#include "analysis/log_layout.h"
#include "analysis/log_reader.h"
#include "analysis/server_log.h"
#include "analysis/server_texts.h"
#include "history/history_file.h"
#include "history/history_schema.h"
#include "history/log_identity.h"
#include "history/logged_stamp.h"

namespace vorel::history {
namespace {

constexpr const char* kLogNotFound = "ファイルが見つかりません。";
constexpr const char* kLogReadError = "デバイス I/O エラーです。";
constexpr const char* kLogIsHistory = "履歴ファイルは履歴に追加できません。";

// Thrown when a statement fails: the transaction is rolled back.
struct SqlFailure {
  int rc;
};

void Check(int rc, int expected = SQLITE_DONE) {
  if (rc != expected) throw SqlFailure{rc};
}

// One dictionary table, held in memory while the log is added: text to id.
// The engine's table gives the index: entry n is the text of index n - 1.
class Dictionary {
 public:
  Dictionary(Database& db, const char* table) {
    std::vector<std::string> texts;
    if (!LoadTexts(db, table, texts)) throw SqlFailure{SQLITE_CORRUPT};
    for (const std::string& text : texts)
      if (index_.Append(text, 0) == 0) throw SqlFailure{SQLITE_FULL};
    const std::string sql = std::string("INSERT INTO ") + table + " (id, text) VALUES (?1, ?2)";
    insert_ = db.Prepare(sql.c_str());
    if (!insert_.Ok()) throw SqlFailure{SQLITE_CORRUPT};
  }

  int64_t Id(std::string_view text) {
    if (const int32_t entry = index_.Find(text); entry != 0) return IdOfIndex(entry - 1);
    const int64_t id = IdOfIndex(index_.Count);
    insert_.Bind(1, id);
    insert_.Bind(2, text);
    Check(insert_.Run());
    if (index_.Append(text, 0) == 0) throw SqlFailure{SQLITE_FULL};
    return id;
  }

 private:
  analysis::CategoryTable index_;
  Statement insert_;
};

// A dictionary of tuples of numbers (visitor: host, agent and zone; zone:
// kind and offset), indexed by open addressing: the numbers are the
// program's own, so no visitor can make them collide.
template <size_t N>
class NumberDictionary {
 public:
  using Key = std::array<int64_t, N>;

  // `columns`: the table's columns after its id, comma-separated.
  NumberDictionary(Database& db, const char* table, const char* columns) {
    const std::string select = std::string("SELECT id, ") + columns + " FROM " + table;
    Statement s = db.Prepare(select.c_str());
    if (!s.Ok()) throw SqlFailure{SQLITE_CORRUPT};
    int rc;
    while ((rc = s.Step()) == SQLITE_ROW) {
      Key key;
      for (size_t i = 0; i < N; ++i) key[i] = s.Int(static_cast<int>(i) + 1);
      Remember(key, s.Int(0));
    }
    Check(rc);
    std::string values = "?1";
    for (size_t i = 0; i < N; ++i) values += ", ?" + std::to_string(i + 2);
    const std::string sql = std::string("INSERT INTO ") + table + " (id, " + columns + ") VALUES (" + values + ")";
    insert_ = db.Prepare(sql.c_str());
    if (!insert_.Ok()) throw SqlFailure{SQLITE_CORRUPT};
  }

  int64_t Id(const Key& key) {
    if (const Slot& slot = slots_[Place(key)]; slot.used) return slot.id;
    const int64_t id = IdOfIndex(static_cast<int64_t>(count_));
    insert_.Bind(1, id);
    for (size_t i = 0; i < N; ++i) insert_.Bind(static_cast<int>(i) + 2, key[i]);
    Check(insert_.Run());
    Remember(key, id);
    return id;
  }

 private:
  struct Slot {
    Key key{};
    int64_t id = 0;
    bool used = false;
  };

  static uint64_t Mix(const Key& key) {
    uint64_t z = 0;
    for (int64_t n : key) {
      z = (z ^ static_cast<uint64_t>(n)) * 0x9E3779B97F4A7C15ull;
      z ^= z >> 29;
    }
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }

  // The slot holding the key, or the free slot where it goes.
  size_t Place(const Key& key) const {
    const size_t mask = slots_.size() - 1;
    size_t i = Mix(key) & mask;
    while (slots_[i].used && slots_[i].key != key) i = (i + 1) & mask;
    return i;
  }

  void Remember(const Key& key, int64_t id) {
    // At most half full, so that a search ends soon.
    if ((count_ + 1) * 2 > slots_.size()) {
      std::vector<Slot> old(std::max<size_t>(slots_.size() * 2, 64));
      old.swap(slots_);
      for (const Slot& slot : old)
        if (slot.used) slots_[Place(slot.key)] = slot;
    }
    Slot& slot = slots_[Place(key)];
    if (slot.used) return;  // a damaged file's repeated key: the first one stands
    slot = Slot{key, id, true};
    ++count_;
  }

  std::vector<Slot> slots_ = std::vector<Slot>(64);
  size_t count_ = 0;
  Statement insert_;
};

// The log's row in the log table, when the history has taken it in before.
struct KnownLog {
  int64_t id = 0;  // 0: a log the history has not seen
  int64_t position = 0;
  int64_t pageViews = 0;
};

KnownLog FindLog(Database& db, std::string_view head) {
  KnownLog known;
  Statement s = db.Prepare("SELECT id, position, page_views, head_length, identity FROM log");
  if (!s.Ok()) throw SqlFailure{SQLITE_CORRUPT};
  const std::string full = LogIdentity(head);
  int rc;
  while ((rc = s.Step()) == SQLITE_ROW) {
    const int64_t length = s.Int(3);
    const std::string_view identity = s.Text(4);
    // A log shorter than 4 KiB when it was taken in is known by its whole
    // text then, which the grown log starts with.
    const bool same = length == static_cast<int64_t>(head.size())
                          ? identity == full
                          : length >= 0 && length < static_cast<int64_t>(head.size()) && length < static_cast<int64_t>(kIdentityBytes) &&
                                identity == LogIdentity(head.substr(0, static_cast<size_t>(length)));
    if (same) {
      known = {s.Int(0), s.Int(1), s.Int(2)};
      break;
    }
  }
  if (rc != SQLITE_ROW) Check(rc);
  return known;
}

class Addition {
 public:
  explicit Addition(Database& db)
      : pages_(db, "page"),
        agents_(db, "agent"),
        referrers_(db, "referrer"),
        hosts_(db, "host"),
        visitors_(db, "visitor", "host, agent, zone"),
        zones_(db, "zone", "kind, offset"),
        insert_(db.Prepare(InsertSql(1).c_str())),
        insertBatch_(db.Prepare(InsertSql(kBatch).c_str())),
        insertLate_(db.Prepare("INSERT INTO late (stamp, lag) VALUES (?1, ?2)")) {
    if (!insert_.Ok() || !insertBatch_.Ok() || !insertLate_.Ok()) throw SqlFailure{SQLITE_CORRUPT};
    pending_.reserve(kBatch);
    // max() of an empty table is NULL: no stamp can be INT64_MIN (see StampOf).
    constexpr int64_t kNone = std::numeric_limits<int64_t>::min();
    if (const int64_t last = db.QueryInt("SELECT max(stamp) FROM page_view", kNone); last != kNone) {
      lastSecond_ = SecondOfStamp(last);
      lastOrder_ = OrderOfStamp(last);
      started_ = true;
    }
  }

  void Add(std::string_view page, std::string_view agent, std::string_view referrer, std::string_view host,
           StoredTime time, int32_t offset) {
    // The stamp keeps the order of adding: its second never falls behind.
    // A view without a time takes the last one's (or, as the first, 2000's).
    int64_t second = time.kind == ZoneKind::NoTime ? (started_ ? lastSecond_ : kStampEpoch)
                                                   : (started_ ? std::max(time.time, lastSecond_) : time.time);
    int64_t order = 0;
    if (started_ && second == lastSecond_) {
      order = lastOrder_ + 1;
      if (order >> kStampOrderBits) {
        ++second;
        order = 0;
      }
    }
    if (time.kind == ZoneKind::NoTime) time.time = second;
    const int64_t stamp = StampOf(second, order);
    const int64_t zone = zones_.Id({static_cast<int64_t>(time.kind), time.kind == ZoneKind::Server ? offset : 0});
    pending_.push_back({stamp, pages_.Id(page), visitors_.Id({hosts_.Id(host), agents_.Id(agent), zone}),
                        referrers_.Id(referrer)});
    if (pending_.size() == kBatch) Flush();
    if (const int64_t lag = second - time.time; lag != 0) {
      insertLate_.Bind(1, stamp);
      insertLate_.Bind(2, lag);
      Check(insertLate_.Run());
    }
    lastSecond_ = second;
    lastOrder_ = order;
    started_ = true;
    ++added_;
  }

  int64_t Added() const { return added_; }

  // Writes the page views still held back; call before the transaction ends.
  void Flush() {
    if (pending_.size() == kBatch) {
      BindRows(insertBatch_, 0, kBatch);
      Check(insertBatch_.Run());
    } else {
      for (size_t row = 0; row < pending_.size(); ++row) {
        BindRows(insert_, row, 1);
        Check(insert_.Run());
      }
    }
    pending_.clear();
  }

 private:
  void BindRows(Statement& statement, size_t first, size_t rows) {
    for (size_t r = 0; r < rows; ++r)
      for (size_t c = 0; c < 4; ++c) statement.Bind(static_cast<int>(r * 4 + c + 1), pending_[first + r][c]);
  }

  // Page views go in kBatch to a statement: one statement run appends them
  // all, where one run each would seek the table's end anew every time.
  static constexpr size_t kBatch = 64;
  static std::string InsertSql(size_t rows) {
    std::string sql = "INSERT INTO page_view (stamp, page, visitor, referrer) VALUES ";
    for (size_t r = 0; r < rows; ++r) {
      sql += (r ? ", (?" : "(?") + std::to_string(r * 4 + 1) + ", ?" + std::to_string(r * 4 + 2) + ", ?" +
             std::to_string(r * 4 + 3) + ", ?" + std::to_string(r * 4 + 4) + ")";
    }
    return sql;
  }

  Dictionary pages_, agents_, referrers_, hosts_;
  NumberDictionary<3> visitors_;
  NumberDictionary<2> zones_;
  Statement insert_, insertBatch_, insertLate_;
  std::vector<std::array<int64_t, 4>> pending_;  // stamp, page, visitor, referrer
  int64_t lastSecond_ = 0;
  int64_t lastOrder_ = 0;
  bool started_ = false;  // the history holds a page view
  int64_t added_ = 0;
};

// Takes a log apart into page views, each line judged on its own as the
// analysis judges it. A web server's line that is a page view is one; in a
// record log a page view runs from its "1#" record to its "4#" record (a
// group without its "1#" record is no page view).
class LogWalker {
 public:
  LogWalker(Addition& addition, analysis::LogReader& reader, const analysis::LogLayout* layout)
      : add_(addition), reader_(reader), layout_(layout) {}

  // True when the line left no record group open: the log may later be read
  // on from the line's end.
  bool Line(const analysis::LogLine& line) {
    if (line.bytes.find_first_not_of(" \r") == std::string_view::npos) return !open_;
    if (!analysis::IsRecordLine(line.bytes) && ServerLine(line)) {
      open_ = false;
      return true;
    }
    std::string_view record;
    for (analysis::LineRecords records(line); records.Next(record);) Record(reader_.Text(record, line.high));
    return !open_;
  }

 private:
  // A web server's line (false when the line is none), from its raw bytes:
  // its texts are decoded as the analysis decodes them.
  bool ServerLine(const analysis::LogLine& line) {
    std::string_view bytes = line.bytes;
    if (!line.ended && !bytes.empty() && bytes.back() == '\r') bytes.remove_suffix(1);
    constexpr analysis::TextDecoding kNone = analysis::TextDecoding::None;
    if (!(layout_ ? analysis::ParseServerLogLine(bytes, *layout_, parsed_, kNone)
                  : analysis::ParseServerLogLine(bytes, parsed_, kNone)))
      return false;
    // The instant and its logged offset are kept; the zone it is shown in is
    // chosen at analysis time. A time without a four-digit year is no page view.
    analysis::LoggedTime logged;
    stamp_.clear();
    if (!analysis::IsPageView(parsed_) || !analysis::ParseServerTime(parsed_.time, logged) ||
        !analysis::AppendServerStamp(logged, utc_, stamp_))
      return true;
    const std::string_view page = texts_.Page(parsed_.path).record;  // "1#(page)"
    add_.Add(page.substr(3, page.size() - 4), texts_.Agent(parsed_.rawAgent).record.substr(2),
             texts_.Referrer(parsed_.rawReferrer).record.substr(2), texts_.Host(parsed_.host).record.substr(2),
             {ZoneKind::Server, logged.utcSeconds}, logged.offsetSeconds);
    return true;
  }

  void Record(std::string_view record) {
    if (record.size() < 2 || record[1] != '#') return;
    switch (record[0]) {
      case '1': {
        const size_t paren = record.find(')');
        open_ = paren != std::string_view::npos && paren >= 3;
        if (!open_) return;
        page_.assign(record.substr(3, paren - 3));
        time_ = ReadRecordStamp(record.substr(paren + 1));
        agent_.clear();
        referrer_.clear();
        break;
      }
      case '2': if (open_) agent_.assign(record.substr(2)); break;
      case '3': if (open_) referrer_.assign(record.substr(2)); break;
      case '4':
        if (open_) add_.Add(page_, agent_, referrer_, record.substr(2), time_, 0);
        open_ = false;
        break;
      default: break;
    }
  }

  Addition& add_;
  analysis::LogReader& reader_;
  const analysis::LogLayout* layout_;  // the user's server-log layout; null: found by itself
  analysis::ServerLogLine parsed_;
  analysis::ServerTextRecords texts_;
  const analysis::TimeZone utc_;  // the year check of a server's time, as the analysis makes it
  std::string stamp_;
  bool open_ = false;
  std::string page_, agent_, referrer_;
  StoredTime time_;
};

void RecordLog(Database& db, const KnownLog& known, std::string_view head, int64_t position,
               int64_t pageViews, const std::string& name) {
  Statement s = known.id != 0
      ? db.Prepare("UPDATE log SET identity = ?1, head_length = ?2, position = ?3, name = ?4, page_views = ?5, "
                   "added = datetime('now') WHERE id = ?6")
      : db.Prepare("INSERT INTO log (identity, head_length, position, name, page_views, added) "
                   "VALUES (?1, ?2, ?3, ?4, ?5, datetime('now'))");
  if (!s.Ok()) throw SqlFailure{SQLITE_CORRUPT};
  s.BindBlob(1, LogIdentity(head));
  s.Bind(2, static_cast<int64_t>(head.size()));
  s.Bind(3, position);
  s.Bind(4, std::string_view(name));
  s.Bind(5, pageViews);
  if (known.id != 0) s.Bind(6, known.id);
  Check(s.Run());
}

}  // namespace

AddOutcome AddLogToHistory(const std::string& historyPath, const std::string& logPath, const std::string& logFormat) {
  AddOutcome outcome;
  std::optional<analysis::LogLayout> layout;
  if (!logFormat.empty() && !analysis::CompileLogLayout(logFormat, layout.emplace(), outcome.error)) return outcome;
  if (IsHistoryFile(logPath)) {
    outcome.error = kLogIsHistory;
    return outcome;
  }
  analysis::LogReader reader;
  if (!reader.Open(logPath)) {
    outcome.error = kLogNotFound;
    return outcome;
  }
  const std::string head(reader.Head(kIdentityBytes));
  Database db;
  if (!OpenHistory(historyPath, HistoryAccess::Add, db, outcome.error)) {
    outcome.historyError = true;
    return outcome;
  }
  try {
    Check(db.Exec("BEGIN IMMEDIATE"), SQLITE_OK);
    try {
      const KnownLog known = FindLog(db, head);
      Addition addition(db);
      LogWalker walker(addition, reader, layout ? &*layout : nullptr);
      int64_t position = known.position;
      analysis::LogLine line;
      while (reader.ReadLine(line)) {
        const int64_t end = reader.ConsumedBytes();
        if (end <= known.position || line.tooLong) continue;
        if (walker.Line(line)) position = end;
      }
      addition.Flush();
      if (reader.ReadFailed()) {
        db.Exec("ROLLBACK");
        outcome.error = kLogReadError;
        return outcome;
      }
      if (addition.Added() > 0 || position != known.position || known.id == 0)
        RecordLog(db, known, head, position, known.pageViews + addition.Added(), logPath);
      Check(db.Exec("COMMIT"), SQLITE_OK);
      outcome.added = addition.Added();
      outcome.alreadyHad = known.pageViews;
    } catch (...) {
      db.Exec("ROLLBACK");
      throw;
    }
  } catch (const SqlFailure& failure) {
    const int rc = sqlite3_errcode(db.Handle());
    outcome.error = DescribeSqliteError(rc != SQLITE_OK ? rc : failure.rc);
    outcome.historyError = true;
    return outcome;
  } catch (const std::bad_alloc&) {
    outcome.error = "メモリが不足しています。";
    return outcome;
  }
  // Readers find everything in the file itself from here on.
  sqlite3_wal_checkpoint_v2(db.Handle(), nullptr, SQLITE_CHECKPOINT_PASSIVE, nullptr, nullptr);
  outcome.ok = true;
  return outcome;
}

std::string AddFailureMessage(const AddOutcome& outcome, const std::string& historyPath, const std::string& logPath) {
  return "履歴に追加できませんでした。" + outcome.error + "\r\n" + (outcome.historyError ? historyPath : logPath);
}

}  // namespace vorel::history
