#include "analysis/analysis_pass.h"

#include <algorithm>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/class_lists.h"
#include "analysis/companion.h"
#include "analysis/log_format.h"
#include "analysis/log_layout.h"
#include "analysis/log_reader.h"
#include "analysis/logged_time.h"
#include "analysis/normalize.h"
#include "analysis/prefetch.h"
#include "analysis/result.h"
#include "analysis/server_log.h"
#include "analysis/server_texts.h"
#include "analysis/sorting.h"
#include "history/history_schema.h"
#include "history/page_view_reader.h"
#include "analysis/time_zone.h"
#include "platform/prompter.h"
#include "settings/param_store.h"

namespace vorel::analysis {
namespace {

constexpr const char* kOverflow = "オーバーフローしました。";
constexpr const char* kOutOfRange = "インデックスが有効範囲にありません。";
constexpr const char* kInvalidCall = "プロシージャの呼び出し、または引数が不正です。";
constexpr const char* kFileNotFound = "ファイルが見つかりません。";
constexpr const char* kReadError = "デバイス I/O エラーです。";

// An error that ends the pass; its text is the error's description.
struct PassError {
  const char* description;
};
// The user stopped the pass.
struct PassCancelled {};

ProgressReceiver* g_receiver = nullptr;
int64_t g_lineNo = 0;
ServerLogCounts g_counts;
bool g_endedEarly = false;

void Increment(int32_t& counter) {
  if (counter == std::numeric_limits<int32_t>::max()) throw PassError{kOverflow};
  ++counter;
}

template <size_t N>
void CountSlot(std::array<int32_t, N>& slots, int32_t index) {
  if (index < 0 || static_cast<size_t>(index) >= N) throw PassError{kOutOfRange};
  Increment(slots[static_cast<size_t>(index)]);
}

// `name`: a text or a key made ahead.
template <class Name>
int32_t FindOrAppendOrFail(CategoryTable& table, const Name& name) {
  int32_t entry = table.FindOrAppend(name);
  if (entry == 0) throw PassError{kOverflow};  // the table holds as many entries as it can
  return entry;
}

}  // namespace

// Settings that cannot change during a pass, read once at its start.
struct PassSettings {
  bool specifyPage;
  std::string pageNeedle;  // "1#(" + Page + ")"
  std::string serverPage;  // Page as a server log's page is named (a ")" written "%29")
  std::optional<LogLayout> layout;  // the user's server-log layout; none: found by itself
  DateFilter dateFilter;
  bool searchLike;
  bool ignorePage;
  NormalizeOptions normalize;
  int64_t checkLine;
  TimeZone timeZone;  // a server log's times are shown in it
  int32_t robotMode;  // 0 robots count like everyone; 1 set apart in server logs; 2 in every log

  // The settings; none, with `layoutError` set, when the user's layout does
  // not compile (the analysis command refuses it before the pass; this is the
  // last guard).
  static std::optional<PassSettings> Read(std::string& layoutError) {
    using namespace settings;
    PassSettings s;
    if (const std::string layoutText = ParamText("LogFormat"); !layoutText.empty()) {
      s.layout.emplace();
      if (!CompileLogLayout(layoutText, *s.layout, layoutError)) return std::nullopt;
    }
    s.specifyPage = ParamFlag("SpecifyPage");
    const std::string page = ParamText("Page", 1);
    s.pageNeedle = "1#(" + page + ")";
    for (char c : page) {
      if (c == ')') s.serverPage.append("%29");
      else s.serverPage.push_back(c);
    }
    std::string start = FormatDate(ParamDate("StartDate"));
    std::string end = FormatDate(ParamDate("EndDate"));
    s.dateFilter = DateFilter::From(start.c_str(), end.c_str(), ParamFlag("SpecifyDate") ? -1 : 0);
    s.searchLike = ParamFlag("SearchLike");
    s.ignorePage = ParamFlag("IgnorePage");
    s.normalize = NormalizeOptions::FromParams();
    // Below 1 the window shows from the first record on.
    s.checkLine = std::max<int64_t>(ParamInt("CheckLine"), 1);
    // The analysis command refuses an unknown zone before the pass; this is the last guard.
    std::optional<TimeZone> zone = TimeZone::FromSetting(ParamText("TimeZone"));
    if (!zone) throw PassError{kInvalidCall};
    s.timeZone = *zone;
    s.robotMode = ParamInt("RobotMode");
    return s;
  }
};

namespace {

// One pass. Classification, referrer keys and host keys depend only on the
// record text and on settings fixed for the pass, so each is worked out once
// per distinct text and remembered beside the table entry it leads to.
class Pass {
 public:
  Pass(const PassSettings& settings, LogReader& reader, AnalysisResult& target, const PassControl& control)
      : s_(settings), r_(target), lists_(Classes()), reader_(reader), control_(control) {}

  // Each line is judged on its own: a line of records goes through the
  // record steps; a web server's line that is a page view goes through them
  // as the four records the logging script would have written; any other
  // line is unreadable, and its TAB-separated pieces are still read as
  // records, as they always were.
  void Run() {
    for (size_t n; (n = ReadBatch()) > 0;) {
      const int64_t last = reader_.LineNo();
      for (size_t i = 0; i < n; ++i) {
        g_lineNo = last - static_cast<int64_t>(n - 1 - i);
        Line(batch_[i]);
      }
    }
    g_lineNo = reader_.LineNo();
    AddTallies();
    if (reader_.ReadFailed()) throw PassError{kReadError};
    ReportProgress(true);
  }

 private:
  // A server line's keys for the lookups by name it will need, made ahead.
  struct Keys {
    std::optional<CategoryTable::Key> url, host;
  };
  // A line read ahead, with what is worked out of it before the lines
  // before it are counted.
  struct Pending {
    LogLine line;
    bool server = false;    // a web server's line
    bool timeRead = false;  // its time is a real one
    bool pageView = false;  // and it is a page view: its texts' lookups are started
    ServerLogLine parsed;
    LoggedTime logged;
    ServerTextRecords::Ahead ahead;
    // Of a referrer and a host made ahead (not numbered): the keys of their
    // lookups by name, whose places in the index are fetched meanwhile.
    Keys keys;
  };
  static constexpr size_t kBatchLines = 16;

  // Lines already read in stay valid together. Each is parsed and its texts'
  // lookups started before the first is counted, so that memory is fetched
  // for later lines while earlier ones are counted. The number of lines read.
  size_t ReadBatch() {
    if (!reader_.ReadLine(batch_[0].line)) return 0;
    size_t n = 1;
    while (n < batch_.size() && reader_.ReadBufferedLine(batch_[n].line)) ++n;
    for (size_t i = 0; i < n; ++i) Prepare(batch_[i]);
    for (size_t i = 0; i < n; ++i)
      if (batch_[i].pageView) Approach(batch_[i]);
    return n;
  }

  // What a server's line is, worked out from its bytes alone.
  void Prepare(Pending& p) {
    p.server = p.timeRead = p.pageView = false;
    p.keys = {};
    if (p.line.tooLong || IsRecordLine(p.line.bytes)) return;
    std::string_view bytes = p.line.bytes;
    if (!p.line.ended && !bytes.empty() && bytes.back() == '\r') bytes.remove_suffix(1);
    // The texts are decoded (escapes, UTF-8 else CP932) from the line's raw
    // bytes, once for each distinct text (texts_).
    constexpr TextDecoding kNone = TextDecoding::None;
    p.server = s_.layout ? ParseServerLogLine(bytes, *s_.layout, p.parsed, kNone)
                         : ParseServerLogLine(bytes, p.parsed, kNone);
    if (!p.server) return;
    p.timeRead = ParseServerTime(p.parsed.time, p.logged);
    p.pageView = p.timeRead && IsPageView(p.parsed);
    if (!p.pageView) return;
    texts_.Expect(p.parsed.path, p.parsed.rawAgent, p.parsed.rawReferrer, p.parsed.host, p.ahead);
    const std::string& referrer = p.ahead.referrer.record;
    if (p.ahead.referrer.made && referrer.size() > 2) p.keys.url = r_.Url.KeyOf(std::string_view(referrer).substr(2));
    if (p.ahead.host.made) p.keys.host = hostRecords_.KeyOf(p.ahead.host.record);
  }

  // Each lookup's entry, once its place has come, and what the pass keeps by
  // that entry: the Url tally, the host record's count.
  void Approach(const Pending& p) {
    texts_.Approach(p.ahead);
    if (p.keys.url) {
      const int32_t url = r_.Url.Approach(*p.keys.url);
      if (url > 0 && static_cast<size_t>(url) < urlTallies_.size()) Prefetch(&urlTallies_[static_cast<size_t>(url)]);
    }
    if (p.keys.host) {
      const int32_t seen = hostRecords_.Approach(*p.keys.host);
      if (seen > 0) Prefetch(&hostRecords_.Counts[static_cast<size_t>(seen)]);
    }
  }

  void Line(const Pending& p) {
    if (p.line.tooLong) {
      ++g_counts.lines;
      ++g_counts.unreadable;
      CountRecords(1);
      return;
    }
    if (p.server) return ServerLine(p);
    if (!IsRecordLine(p.line.bytes)) {
      if (p.line.bytes.find_first_not_of(" \r") != std::string_view::npos) {
        ++g_counts.lines;
        ++g_counts.unreadable;
      }
    } else {
      ++g_counts.recordLines;
    }
    std::string_view record;
    for (LineRecords records(p.line); records.Next(record);) {
      CountRecords(1);
      Record(reader_.Text(record, p.line.high));
    }
  }

  static constexpr int32_t kNotYet = -2;
  // What hostRecords_ counts of a host record: the persons' accesses from it
  // (0 or more, its Host entry in hostEntry_), or one of these.
  static constexpr int32_t kRejected = -2;      // by the host filter
  static constexpr int32_t kAcceptedOnly = -1;  // accepted, so far seen from robots only

  struct AgentClass {
    int32_t os = kNotYet;
    int32_t brws = kNotYet;
    int32_t robotLine = kNotYet;  // robot list line, 0 for a person
    int32_t entry = 0;            // Agent entry, 0 until a person's access counts
  };

  void Record(std::string_view record) {
    if (record.size() < 2 || record[1] != '#') return;
    switch (record[0]) {
      case '1': serverAccess_ = false; PageRecord(record); break;
      case '2': if ((flags_ & 3) == 3 || RobotsApart()) AgentRecord(record); break;
      case '3': if ((flags_ & 3) == 3 && robotLine_ == 0) RefRecord(record); break;
      case '4': CloseAccess(record); break;
      default: break;
    }
  }

 public:
  // A history file: each page view goes through the steps its log's line
  // went through, a server's line with its time in the pass's zone.
  void RunHistory(history::PageViewReader& views) {
    history::PageViewRecords access;
    numbersUnique_ = true;
    while (views.Next(access)) {
      FetchAhead(access);
      numbers_ = {access.pageIndex, access.agentIndex, access.referrerIndex, access.hostIndex};
      CountRecords(4);
      if (access.fromServerLog) {
        NameZone();
        if (!access.stampRead) ++g_counts.unreadable;
        else ServerPageView(access.page, access.agent, access.referrer, access.host);
        continue;
      }
      for (std::string_view record : {access.page, access.agent, access.referrer, access.host}) Record(record);
    }
    numbers_ = TextNumbers{};
    AddTallies();
    if (views.Failed()) throw PassError{kReadError};
  }

 private:
  // A line of a web server's log. A line stands for four records in the
  // record count.
  void ServerLine(const Pending& p) {
    CountRecords(4);
    ++g_counts.lines;
    NameZone();
    // Only a page view goes on to be counted, but any line with an impossible time is unreadable.
    if (!p.timeRead) {
      ++g_counts.unreadable;
      return;
    }
    if (!p.pageView) return;
    const ServerLogLine& parsed = p.parsed;
    // The period slots come from the time itself: no stamp is written to be read back.
    CivilTime civil;
    if (!StampableTime(p.logged, s_.timeZone, civil)) {
      ++g_counts.unreadable;
      return;
    }
    const ServerTextRecords::Text page = texts_.Page(parsed.path, &p.ahead);
    ++g_counts.pageViews;
    const ServerTextRecords::Text agent = texts_.Agent(parsed.rawAgent, &p.ahead);
    const ServerTextRecords::Text referrer = texts_.Referrer(parsed.rawReferrer, &p.ahead);
    const ServerTextRecords::Text host = texts_.Host(parsed.host, &p.ahead);
    numbers_ = {page.number, agent.number, referrer.number, host.number};
    keys_ = p.keys;
    ServerPageView(page.record, agent.record, referrer.record, host.record, &civil);
    numbers_ = TextNumbers{};
    keys_ = {};
  }

  // `name`'s key: the one made ahead when it was made for this very text.
  static CategoryTable::Key KeyFor(const std::optional<CategoryTable::Key>& ahead, const CategoryTable& table,
                                   std::string_view name) {
    if (ahead && ahead->name.data() == name.data() && ahead->name.size() == name.size()) return *ahead;
    return table.KeyOf(name);
  }

  // Once a pass: the result says which zone a server's times are in.
  void NameZone() {
    if (zoneNamed_) return;
    r_.ServerTimeZone = s_.timeZone.Description();
    zoneNamed_ = true;
  }

  // A server's page view as its four records, whether read from its log or
  // from a history: robots are judged before the page is counted. The page
  // record's stamp gives the time, unless `civil` does.
  void ServerPageView(std::string_view page, std::string_view agent, std::string_view referrer,
                      std::string_view host, const CivilTime* civil = nullptr) {
    serverAccess_ = true;
    AgentClass* known = nullptr;
    if (RobotsApart() && agent.size() > 2) {
      // Known before the page is looked at, so that a robot's page leaves no entry.
      known = &KnownAgent(agent);
      if (int32_t robot = RobotLine(agent, *known); robot > 0) {
        RobotAccess(page, host, robot, civil);
        return;
      }
    }
    PageRecord(page, civil);
    if ((flags_ & 3) == 3) {
      if (known) CountPerson(agent, *known);
      else AgentRecord(agent);
      RefRecord(referrer);
    }
    CloseAccess(host);
  }

  // Records read so far; past every CheckLine more the progress moves on.
  // The position is measured in bytes, so no log is too long for its range.
  void CountRecords(int64_t n) {
    if (control_.cancel && control_.cancel->load(std::memory_order_relaxed)) throw PassCancelled{};
    g_counts.records += n;
    if (g_counts.records > nextProgress_) {
      nextProgress_ = g_counts.records + s_.checkLine - 1;
      ReportProgress(false);
    }
  }

  // Nothing before the log has proved longer than CheckLine records; at the
  // end, the full bar.
  void ReportProgress(bool finished) {
    if (!control_.progress || g_counts.records <= s_.checkLine) return;
    const uint64_t total = reader_.TotalSize();
    int16_t position = kProgressUnknown;
    if (finished) position = kProgressRange;
    else if (total > 0)
      position = static_cast<int16_t>(std::min(reader_.BytesRead(), total) * kProgressRange / total);
    control_.progress->aauStatusChange(position);
  }

  void PageRecord(std::string_view record, const CivilTime* civil = nullptr) {
    const std::string_view page = StartAccess(record, civil);
    page_ = Remembered(byNumber_.page, numbers_.page,
                       [&] { return FindOrAppendOrFail(r_.Page, page); });
  }

  // The filters of a "1#" record, its time read from its stamp unless
  // `civil` gives it; returns its page name.
  std::string_view StartAccess(std::string_view record, const CivilTime* civil = nullptr) {
    slots_ = PeriodSlots{};
    os_ = brws_ = agent_ = url_ = page_ = -1;
    robotLine_ = 0;
    size_t paren = record.find(')');
    if (paren == std::string_view::npos || paren < 3) throw PassError{kInvalidCall};
    int16_t bits = 0;
    const std::string_view page = record.substr(3, paren - 3);
    if (!s_.specifyPage || PageSelected(record, page)) bits |= 2;
    const bool dated = civil ? DateSlots(civil->year, civil->month, civil->day, civil->hour, s_.dateFilter, slots_)
                             : CheckTimeStamp(record, s_.dateFilter, slots_);
    if (dated) bits |= 1;
    else slots_ = PeriodSlots{};
    flags_ = bits;
    return page;
  }

  // A record names its page as written; a server line's page is a path.
  bool PageSelected(std::string_view record, std::string_view page) const {
    if (serverAccess_) return PageMatches(page, s_.serverPage);
    return record.find(s_.pageNeedle) != std::string_view::npos;
  }

  // Robots are set apart from the people in this access: in every log, or in
  // server logs only, whose lines record every request a robot makes.
  bool RobotsApart() const {
    return !lists_.robots.empty() && (s_.robotMode == 2 || (s_.robotMode == 1 && serverAccess_));
  }

  void AgentRecord(std::string_view record) {
    if (record.size() == 2) return;
    AgentClass& known = KnownAgent(record);
    if (RobotsApart() && RobotLine(record, known) > 0) {
      robotLine_ = known.robotLine;
      return;
    }
    if ((flags_ & 3) == 3) CountPerson(record, known);
  }

  // A person's agent of an access that counts: its entries in OS, Brws and Agent.
  void CountPerson(std::string_view record, AgentClass& known) {
    if (known.entry == 0) known.entry = FindOrAppendOrFail(r_.Agent, record.substr(2));
    if (known.os == kNotYet) Classify(record, known);
    os_ = known.os;
    brws_ = known.brws;
    agent_ = known.entry;
  }

  // What this pass knows of an agent, worked out once per distinct agent
  // text: its classification, whether it is a robot, and its Agent entry,
  // which is made only when a person's access counts.
  AgentClass& KnownAgent(std::string_view record) {
    const std::string_view text = record.substr(std::min<size_t>(2, record.size()));
    const int32_t seen = Remembered(byNumber_.agent, numbers_.agent, [&] {
      // Every agent of a history comes numbered, one number to a text: one
      // not remembered by its number is not among those seen either.
      int32_t found = numbersUnique_ ? 0 : agentsSeen_.Find(text);
      if (found == 0) {
        found = agentsSeen_.Append(text, 0);
        if (found == 0) throw PassError{kOverflow};
        agentClass_.resize(static_cast<size_t>(found) + 1);
      }
      return found;
    });
    return agentClass_[static_cast<size_t>(seen)];
  }

  int32_t RobotLine(std::string_view record, AgentClass& known) const {
    if (known.robotLine == kNotYet) known.robotLine = RobotLineOf(lists_, record, s_.searchLike);
    return known.robotLine;
  }

  // A robot's access of a server line: the date, page and host filters
  // apply as to a person's, and it counts only in the robot table.
  void RobotAccess(std::string_view pageRecord, std::string_view hostRecord, int32_t line, const CivilTime* civil) {
    StartAccess(pageRecord, civil);
    robotLine_ = line;
    CloseRobotAccess(hostRecord);
  }

  void CloseRobotAccess(std::string_view hostRecord) {
    if ((flags_ & 3) != 3 || slots_.month < 0 || !HostAccepted(hostRecord)) return;
    int32_t& entry = robotEntry_[static_cast<size_t>(robotLine_)];
    if (entry == 0) entry = FindOrAppendOrFail(r_.Robot, lists_.robots[static_cast<size_t>(robotLine_ - 1)].displayName);
    CountEntry(r_.Robot, entry);
    Increment(r_.RobotTotal);
  }

  void RefRecord(std::string_view record) {
    if (record.size() < 3) return;
    std::string_view referrer = record.substr(2);
    const int32_t urlEntry = Remembered(byNumber_.url, numbers_.referrer,
                                        [&] { return FindOrAppendOrFail(r_.Url, KeyFor(keys_.url, r_.Url, referrer)); });
    if (static_cast<size_t>(urlEntry) >= urlTallies_.size()) urlTallies_.resize(static_cast<size_t>(urlEntry) + 1);
    int32_t& refEntry = urlTallies_[static_cast<size_t>(urlEntry)].ref;
    if (refEntry == kNotYet) {
      std::string key = NormalizeRef(referrer, s_.normalize, lists_.indexNames);
      // Most referrers are their own key: Ref then keeps the name with Url's bytes.
      refEntry = key.empty() ? -1 : r_.Ref.FindOrAppendSharing(key, r_.Url, urlEntry);
      if (refEntry == 0) throw PassError{kOverflow};
    }
    url_ = urlEntry;
  }

  void CloseAccess(std::string_view record) {
    if (robotLine_ > 0) return CloseRobotAccess(record);
    if (flags_ & 1) {
      flags_ &= ~1;
      if (HostRecord(record)) flags_ |= 1;
      if ((flags_ & 3) == 3) {
        if (slots_.month >= 0) {
          Increment(r_.Total);
          CountSlot(r_.Month, slots_.month);
          CountSlot(r_.WWeek, slots_.week);
          CountSlot(r_.DWeek, slots_.dweek);
          CountSlot(r_.Date, slots_.day);
          CountSlot(r_.Time, slots_.hour);
        }
        CountEntry(r_.OS, os_);
        CountEntry(r_.Brws, brws_);
        CountEntry(r_.Agent, agent_);
        // Ref follows from Url: both are added to the result at the end (AddTallies).
        if (url_ >= 0) Increment(urlTallies_[static_cast<size_t>(url_)].count);
      }
    }
    if ((s_.ignorePage || (flags_ & 1)) && page_ >= 0) CountEntry(r_.Page, page_);
  }

  // Whether the host filter accepts a robot's host, which stays out of Host.
  bool HostAccepted(std::string_view record) {
    const int32_t seen = SeenHost(record);
    if (seen != 0) return hostRecords_.Counts[static_cast<size_t>(seen)] != kRejected;
    const bool accepted = !MakeHostKey(record, s_.normalize, lists_.hostFilter).empty();
    RememberHost(hostRecords_.Append(record, accepted ? kAcceptedOnly : kRejected));
    return accepted;
  }

  // Counts the access from the host record; false when the host is rejected.
  bool HostRecord(std::string_view record) {
    int32_t seen = SeenHost(record);
    if (seen != 0) {
      int32_t& state = hostRecords_.Counts[static_cast<size_t>(seen)];
      if (state >= 0) {
        Increment(state);
        return true;
      }
      if (state == kRejected) return false;
    }
    // A person's first access from the record: the Host entry it counts in.
    std::string key = MakeHostKey(record, s_.normalize, lists_.hostFilter);
    const int32_t entry = key.empty() ? 0 : FindOrAppendOrFail(r_.Host, key);
    const int32_t state = entry == 0 ? kRejected : 1;
    if (seen != 0) {
      hostRecords_.Counts[static_cast<size_t>(seen)] = state;
    } else {
      seen = hostRecords_.Append(record, state);
      RememberHost(seen);
    }
    if (static_cast<size_t>(seen) >= hostEntry_.size()) hostEntry_.resize(static_cast<size_t>(seen) + 1, 0);
    hostEntry_[static_cast<size_t>(seen)] = entry;
    return entry != 0;
  }

  // The host record's entry among those seen, 0 when new.
  int32_t SeenHost(std::string_view record) {
    const int64_t number = numbers_.host;
    if (number >= 0 && static_cast<size_t>(number) < byNumber_.host.size() && byNumber_.host[static_cast<size_t>(number)] != 0)
      return byNumber_.host[static_cast<size_t>(number)];
    // As with agents: a history's host not remembered by its number is new to the pass.
    if (number >= 0 && numbersUnique_) return 0;
    const int32_t seen = hostRecords_.Find(KeyFor(keys_.host, hostRecords_, record));
    if (seen != 0) RememberHost(seen);
    return seen;
  }

  void RememberHost(int32_t seen) {
    if (seen == 0) throw PassError{kOverflow};
    const int64_t number = numbers_.host;
    if (number >= 0) Remembered(byNumber_.host, number, [&] { return seen; });
  }

  // A large history's texts are many, and its page views name them at
  // random: what the pass keeps for the page views a few rows on is fetched
  // from memory while this one is counted. First the memo slots of the
  // farthest, then what the nearer ones' slots (fetched before) lead to, then
  // the Agent count of the next one.
  void FetchAhead(const history::PageViewRecords& access) const {
    const auto fetch = [](const auto& array, int64_t index) {
      if (index >= 0 && static_cast<size_t>(index) < array.size()) Prefetch(&array[static_cast<size_t>(index)]);
    };
    const auto memo = [](const std::vector<int32_t>& array, int64_t number) {
      return number >= 0 && static_cast<size_t>(number) < array.size() ? array[static_cast<size_t>(number)] : 0;
    };
    fetch(byNumber_.agent, access.soon.agent);
    fetch(byNumber_.url, access.soon.referrer);
    fetch(byNumber_.host, access.soon.host);
    fetch(agentClass_, memo(byNumber_.agent, access.sooner.agent));
    fetch(urlTallies_, memo(byNumber_.url, access.sooner.referrer));
    fetch(hostRecords_.Counts, memo(byNumber_.host, access.sooner.host));
    if (const int32_t seen = memo(byNumber_.agent, access.next.agent); seen > 0 && static_cast<size_t>(seen) < agentClass_.size())
      fetch(r_.Agent.Counts, agentClass_[static_cast<size_t>(seen)].entry);
  }

  // The lookup's entry for a text that comes with its history number: found
  // the first time, remembered by the number after that.
  template <class Find>
  static int32_t Remembered(std::vector<int32_t>& memo, int64_t number, Find find) {
    if (number < 0) return find();
    if (static_cast<size_t>(number) >= memo.size()) memo.resize(static_cast<size_t>(number) + 1, 0);
    int32_t& entry = memo[static_cast<size_t>(number)];
    if (entry == 0) entry = find();
    return entry;
  }

  // Counts kept beside what the lookups reach anyway go into the result's
  // tables once, at the end: a page view then touches one place for Url and
  // Ref, and one for its host record and Host.
  void AddTallies() {
    for (size_t url = 1; url < urlTallies_.size(); ++url) {
      const UrlTally& tally = urlTallies_[url];
      if (tally.count == 0) continue;
      AddCount(r_.Url.Counts[url], tally.count);
      if (tally.ref > 0) AddCount(r_.Ref.Counts[static_cast<size_t>(tally.ref)], tally.count);
    }
    for (size_t seen = 1; seen < hostEntry_.size(); ++seen) {
      const int32_t count = hostRecords_.Counts[seen];
      if (hostEntry_[seen] > 0 && count > 0) AddCount(r_.Host.Counts[static_cast<size_t>(hostEntry_[seen])], count);
    }
    urlTallies_.clear();
    hostEntry_.clear();
  }

  static void AddCount(int32_t& counter, int32_t count) {
    if (counter > std::numeric_limits<int32_t>::max() - count) throw PassError{kOverflow};
    counter += count;
  }

  void CountEntry(CategoryTable& table, int32_t entry) {
    if (entry < 0) return;
    if (entry > table.Count) throw PassError{kOutOfRange};
    Increment(table.Counts[static_cast<size_t>(entry)]);
  }

  void Classify(std::string_view record, AgentClass& c) const {
    c.os = c.brws = -1;
    for (size_t i = 0; i < lists_.os.size(); ++i)
      if (MatchesPattern(record, lists_.os[i].pattern, s_.searchLike)) { c.os = static_cast<int32_t>(i + 1); break; }
    for (size_t i = 0; i < lists_.browsers.size(); ++i)
      if (MatchesPattern(record, lists_.browsers[i].pattern, s_.searchLike)) { c.brws = static_cast<int32_t>(i + 1); break; }
    // A table shorter than its list (lists reloaded without a reset) must not be counted into.
    if (c.os > r_.OS.Count) c.os = -1;
    if (c.brws > r_.Brws.Count) c.brws = -1;
  }

  const PassSettings& s_;
  AnalysisResult& r_;
  const ClassLists& lists_;
  LogReader& reader_;
  const PassControl& control_;
  int16_t flags_ = 0;
  bool zoneNamed_ = false;
  int64_t nextProgress_ = s_.checkLine;
  PeriodSlots slots_;
  int32_t os_ = -1, brws_ = -1, agent_ = -1, url_ = -1, page_ = -1;
  bool serverAccess_ = false;  // the access came from a server log line
  int32_t robotLine_ = 0;      // the access's robot list line, 0 for a person
  CategoryTable agentsSeen_{kMaxGrowingTableEntries};
  std::vector<AgentClass> agentClass_{1};  // by agentsSeen_ entry
  std::vector<int32_t> robotEntry_ = std::vector<int32_t>(lists_.robots.size() + 1, 0);  // Robot entry by line
  // By Url entry: its Ref entry (kNotYet until worked out, -1: none) and the
  // accesses counted for it, side by side: one place in memory to reach for
  // both. Url and Ref get their counts at the end of the pass (AddTallies).
  struct UrlTally {
    int32_t ref = kNotYet;
    int32_t count = 0;
  };
  std::vector<UrlTally> urlTallies_;
  // The host records seen, their counts as kRejected tells, each with the
  // Host entry it counts in (0: none), which gets the counts at the end.
  CategoryTable hostRecords_{kMaxGrowingTableEntries};
  std::vector<int32_t> hostEntry_;
  // The numbers of the access's texts (-1: none): a history's dictionary
  // numbers, one to a text, or a server line's numbers from texts_, where two
  // numbers may stand for one text.
  struct TextNumbers {
    int64_t page = -1, agent = -1, referrer = -1, host = -1;
  };
  TextNumbers numbers_;
  Keys keys_;  // the keys of the server line being counted
  bool numbersUnique_ = false;
  std::vector<Pending> batch_ = std::vector<Pending>(kBatchLines);
  ServerTextRecords texts_;
  // Entries found for texts by their numbers (0: not yet): Page entry,
  // agentsSeen_ entry, Url entry, hostRecords_ entry.
  struct {
    std::vector<int32_t> page, agent, url, host;
  } byNumber_;
};

void FinishTables(AnalysisResult& r, const PassControl& control) {
  if (control.progress) control.progress->aauMessageChange("データのソート中です。");
  MergeDuplicates(r.OS, 1, r.OS.Count);
  MergeDuplicates(r.Brws, 1, r.Brws.Count);
  for (CategoryTable* t : {&r.OS, &r.Brws, &r.Agent, &r.Ref, &r.Url, &r.Host, &r.Page, &r.Robot})
    SortTable(*t, 1, t->Count);
}

PassOutcome Failure(const char* description) {
  return {PassStatus::Failed, std::to_string(g_lineNo) + "行目でエラーが発生しました\r\n( " + description + " )"};
}

std::vector<std::string> DisplayNames(const std::vector<ClassLine>& lines) {
  std::vector<std::string> names;
  names.reserve(lines.size());
  for (const auto& line : lines) names.push_back(line.displayName);
  return names;
}

// Puts one table back into list order, each name's total on its first line.
void BackToListOrder(CategoryTable& table, const std::vector<ClassLine>& lines) {
  std::vector<std::pair<std::string, int32_t>> carried;
  for (int32_t i = 1; i <= table.Count; ++i)
    if (table.Counts[static_cast<size_t>(i)] != 0)
      carried.emplace_back(table.Names[static_cast<size_t>(i)], table.Counts[static_cast<size_t>(i)]);
  table.AssignNames(DisplayNames(lines));
  for (const auto& [name, count] : carried) {
    int32_t entry = table.Find(name);  // the first line bearing that name
    if (entry != 0) table.Counts[static_cast<size_t>(entry)] = count;
  }
}

void ResetResult(AnalysisResult& r) {
  r.Total = 0;
  r.Month.fill(0);
  r.WWeek.fill(0);
  r.DWeek.fill(0);
  r.Date.fill(0);
  r.Time.fill(0);
  r.OS.AssignNames(DisplayNames(Classes().os));
  r.Brws.AssignNames(DisplayNames(Classes().browsers));
  for (CategoryTable* t : {&r.Agent, &r.Host, &r.Ref, &r.Url, &r.Page}) t->Clear();
  r.ServerTimeZone.clear();
  r.RobotTotal = 0;
  r.Robot.Clear();
}

// Puts the OS and browser tables back into list order before an additional pass.
void PrepareAdditional(AnalysisResult& r) {
  BackToListOrder(r.OS, Classes().os);
  BackToListOrder(r.Brws, Classes().browsers);
}

// The steps around a pass, whatever it reads: the result made ready (new or
// added to), `count` run, the tables finished. An error ends it with the
// message `describe` makes of it; a cancel or a lack of memory with theirs.
template <class Count, class Describe>
PassOutcome Counted(const PassRequest& request, AnalysisResult& target, const PassControl& control, Count count,
                    Describe describe) {
  try {
    if (request.additional == 1) PrepareAdditional(target);
    else ResetResult(target);
    count();
    FinishTables(target, control);
    if (control.cancel && control.cancel->load()) throw PassCancelled{};
  } catch (const PassError& error) {
    return Failure(describe(error));
  } catch (const PassCancelled&) {
    return {PassStatus::Cancelled, {}};
  } catch (const std::bad_alloc&) {
    return Failure("メモリが不足しています。");
  }
  return {};
}

// A history file in place of a log: its page views in the order added.
PassOutcome RunHistoryPass(const PassRequest& request, AnalysisResult& target, const PassControl& control) {
  history::PageViewReader views;
  if (!views.Open(request.logFile, request.settings->timeZone)) return Failure(views.Error().c_str());
  return Counted(
      request, target, control,
      [&] {
        LogReader unused;  // the page views come from the history, not from a log
        Pass pass(*request.settings, unused, target, control);
        pass.RunHistory(views);
      },
      [&](const PassError& error) { return views.Failed() ? views.Error().c_str() : error.description; });
}

}  // namespace

void SetProgressReceiver(ProgressReceiver* receiver) { g_receiver = receiver; }

int64_t CurrentLineNo() { return g_lineNo; }

ServerLogCounts LastServerLogCounts() { return g_counts; }

bool LastLogEndedEarly() { return g_endedEarly; }

void ResetResult() { ResetResult(Result()); }

PassRequest ReadPassRequest(int additional) {
  PassRequest request{additional, settings::ParamText("LogFile", 1), nullptr, {}};
  try {
    if (std::optional<PassSettings> settings = PassSettings::Read(request.settingsError))
      request.settings = std::make_shared<const PassSettings>(std::move(*settings));
  } catch (const PassError&) {
    // Left without settings: the pass then fails with its message.
  }
  return request;
}

PassOutcome RunPass(const PassRequest& request, AnalysisResult& target, const PassControl& control) {
  g_lineNo = 0;
  g_counts = ServerLogCounts{};
  g_endedEarly = false;
  const std::string& path = request.logFile;
  if (!request.settings)
    return request.settingsError.empty() ? Failure(kInvalidCall) : PassOutcome{PassStatus::Failed, request.settingsError};
  if (history::IsHistoryFile(path)) return RunHistoryPass(request, target, control);
  LogReader reader;
  if (!reader.Open(path)) return Failure(kFileNotFound);
  return Counted(
      request, target, control,
      [&] {
        Pass pass(*request.settings, reader, target, control);
        pass.Run();
        g_endedEarly = reader.Source().EndedEarly();
      },
      [](const PassError& error) { return error.description; });
}

void ShowPassError(const PassOutcome& outcome) {
  platform::CurrentPrompter().ShowMessage({outcome.error, "解析エラー", platform::MessageIcon::Error,
                                           platform::MessageButtons::Ok, platform::MessageAnswer::Ok});
}

bool AnalyzeLog(int additional) {
  const PassOutcome outcome = RunPass(ReadPassRequest(additional), Result(), PassControl{g_receiver, nullptr});
  if (outcome.status == PassStatus::Failed) ShowPassError(outcome);
  return outcome.status == PassStatus::Completed;
}

}  // namespace vorel::analysis
