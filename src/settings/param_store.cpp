#include "settings/param_store.h"

#include <limits>
#include <stdexcept>
#include <unordered_map>

#include "platform/data_files.h"
#include "platform/paths.h"
#include "settings/text_util.h"

namespace vorel::settings {
namespace {

const std::vector<ParamDef> kDefinitions = {
    {"MainWidth", ParamKind::Long, "8400"},
    {"MainHeight", ParamKind::Long, "5865"},
    {"VisibleWindow", ParamKind::Short, "8191"},
    {"MainToolbar", ParamKind::Flag, "True"},
    {"LogFile", ParamKind::TextList, "", 5},
    {"Page", ParamKind::TextList, "index", 10},
    {"SpecifyDate", ParamKind::Flag, "True"},
    {"StartDate", ParamKind::Date, ""},
    {"EndDate", ParamKind::Date, ""},
    {"SpecifyPage", ParamKind::Flag, "True"},
    {"MaxDisp", ParamKind::Short, "25"},
    {"IgnoreIP", ParamKind::Flag, "False"},
    {"SpecifyClass", ParamKind::Flag, "True"},
    {"CheckLine", ParamKind::Long, "200"},
    {"CodeChange", ParamKind::Flag, "True"},
    {"Smallize", ParamKind::Flag, "False"},
    {"IgnoreIndex", ParamKind::Flag, "True"},
    {"IgnoreQuestion", ParamKind::Flag, "True"},
    {"IgnoreSharp", ParamKind::Flag, "True"},
    {"IgnorePortNo", ParamKind::Flag, "True"},
    {"SpecifyHost", ParamKind::Flag, "False"},
    {"IgnoreHost", ParamKind::Flag, "False"},
    {"IgnorePage", ParamKind::Flag, "True"},
    {"SearchLike", ParamKind::Flag, "False"},
    {"TimeZone", ParamKind::Text, ""},
    {"RobotMode", ParamKind::Short, "1"},
    {"LogFormat", ParamKind::Text, ""},
    {"AutoFtp", ParamKind::Flag, "False"},
    {"AutoAnalize", ParamKind::Flag, "False"},
    {"AutoMaxSize", ParamKind::Flag, "False"},
    {"AutoTile", ParamKind::Flag, "False"},
    {"FtpServerName", ParamKind::Text, ""},
    {"FtpUserName", ParamKind::Text, ""},
    {"FtpPassword", ParamKind::Text, ""},
    {"FtpSavePassword", ParamKind::Flag, "False"},
    {"FtpLogOverwrite", ParamKind::Flag, "True"},
    {"FtpMessage", ParamKind::Flag, "True"},
    {"FtpHostDir", ParamKind::Text, "~/public_html"},
    {"FtpLocalFolder", ParamKind::Text, ""},
    {"FtpFileName", ParamKind::Text, "access.log"},
    {"GraphFore", ParamKind::Colour, "000000000"},
    {"GraphBack", ParamKind::Colour, "255255255"},
    {"GraphMonth", ParamKind::Colour, "255000000"},
    {"GraphWeek", ParamKind::Colour, "255128128"},
    {"GraphDWeek", ParamKind::Colour, "255128064"},
    {"GraphDate", ParamKind::Colour, "235225115"},
    {"GraphTime", ParamKind::Colour, "000255064"},
    {"GraphOS", ParamKind::Colour, "000255255"},
    {"GraphBrws", ParamKind::Colour, "000128255"},
    {"GraphHost", ParamKind::Colour, "000032128"},
    {"GraphRef", ParamKind::Colour, "128000128"},
    {"GraphPage", ParamKind::Colour, "255128255"},
    {"GraphAgent", ParamKind::Colour, "255064128"},
    {"FontName", ParamKind::Text, "ＭＳ Ｐゴシック"},
    {"FontSize", ParamKind::Short, "9"},
    {"GraphPattern", ParamKind::Short, "1"},
    {"PrintWindow", ParamKind::Short, "4095"},
    {"PaperType", ParamKind::Short, "0"},
    {"DllVersion", ParamKind::Text, ""},
};

struct Slot {
  const ParamDef* def;
  ParamValue value;
  std::vector<std::string> entries;  // lists: entries 1..N at positions 0..N-1
};

struct Store {
  std::vector<Slot> slots;
  std::unordered_map<std::string_view, size_t> byKey;
  Store() {
    slots.reserve(kDefinitions.size());
    for (const ParamDef& def : kDefinitions) {
      byKey[def.key] = slots.size();
      slots.push_back(Slot{&def, {}, std::vector<std::string>(static_cast<size_t>(def.listSize))});
    }
    Clear();
  }
  void Clear() {
    for (Slot& s : slots) {
      s.value = ZeroOf(s.def->kind);
      for (auto& e : s.entries) e.clear();
    }
  }
  static ParamValue ZeroOf(ParamKind kind) {
    switch (kind) {
      case ParamKind::Flag: return ParamValue::Flag(false);
      case ParamKind::Short: return ParamValue::Short(0);
      case ParamKind::Long: return ParamValue::Long(0);
      case ParamKind::Date: return ParamValue::OfDate(Date{1899, 12, 30});
      default: return ParamValue::Text("");
    }
  }
  Slot* Find(std::string_view key) {
    auto it = byKey.find(key);
    return it == byKey.end() ? nullptr : &slots[it->second];
  }
};

Store& TheStore() {
  static Store store;
  return store;
}

std::optional<bool> ToFlag(const ParamInput& input) {
  if (auto* b = std::get_if<bool>(&input)) return *b;
  if (auto* n = std::get_if<long long>(&input)) return *n != 0;
  if (auto* s = std::get_if<std::string>(&input)) {
    auto t = TrimSpaces(*s);
    if (EqualsIgnoreCase(t, "True")) return true;
    if (EqualsIgnoreCase(t, "False")) return false;
    if (auto n = ParseNumber(t)) return *n != 0;
  }
  return std::nullopt;
}

std::optional<long long> ToNumber(const ParamInput& input) {
  if (auto* b = std::get_if<bool>(&input)) return *b ? -1 : 0;
  if (auto* n = std::get_if<long long>(&input)) return *n;
  if (auto* s = std::get_if<std::string>(&input)) return ParseNumber(*s);
  return std::nullopt;
}

std::optional<Date> ToDate(const ParamInput& input) {
  if (auto* d = std::get_if<Date>(&input)) {
    if (IsValidDate(d->year, d->month, d->day)) return *d;
    return std::nullopt;
  }
  if (auto* s = std::get_if<std::string>(&input)) return ParseDate(*s);
  return std::nullopt;
}

std::string ToText(const ParamInput& input) {
  if (auto* b = std::get_if<bool>(&input)) return *b ? "True" : "False";
  if (auto* n = std::get_if<long long>(&input)) return std::to_string(*n);
  if (auto* d = std::get_if<Date>(&input)) return FormatDate(*d);
  return std::get<std::string>(input);
}

// Converts `input` for a non-list slot; false when it does not fit.
bool Convert(ParamKind kind, const ParamInput& input, ParamValue& out) {
  switch (kind) {
    case ParamKind::Flag: {
      auto v = ToFlag(input);
      if (!v) return false;
      out = ParamValue::Flag(*v);
      return true;
    }
    case ParamKind::Short:
    case ParamKind::Long: {
      auto v = ToNumber(input);
      long long lo = kind == ParamKind::Short ? std::numeric_limits<int16_t>::min() : std::numeric_limits<int32_t>::min();
      long long hi = kind == ParamKind::Short ? std::numeric_limits<int16_t>::max() : std::numeric_limits<int32_t>::max();
      if (!v || *v < lo || *v > hi) return false;
      out = kind == ParamKind::Short ? ParamValue::Short(static_cast<int16_t>(*v)) : ParamValue::Long(static_cast<int32_t>(*v));
      return true;
    }
    case ParamKind::Date: {
      auto v = ToDate(input);
      if (!v) return false;
      out = ParamValue::OfDate(*v);
      return true;
    }
    default:
      out = ParamValue::Text(ToText(input));
      return true;
  }
}

void InsertAtHead(std::vector<std::string>& entries, const std::string& value) {
  std::vector<std::string> others;
  for (const auto& e : entries)
    if (e != value) others.push_back(e);
  entries[0] = value;
  for (size_t i = 0; i < others.size() && i + 1 < entries.size(); ++i) entries[i + 1] = others[i];
}

}  // namespace

std::string ParamValue::ToText() const {
  switch (type) {
    case ParamType::Empty: return {};
    case ParamType::Flag: return flag ? "True" : "False";
    case ParamType::Short:
    case ParamType::Long: return std::to_string(number);
    case ParamType::Date: return FormatDate(date);
    case ParamType::Text: return text;
  }
  return {};
}

ParamValue ParamValue::Flag(bool v) { ParamValue p; p.type = ParamType::Flag; p.flag = v; return p; }
ParamValue ParamValue::Short(int16_t v) { ParamValue p; p.type = ParamType::Short; p.number = v; return p; }
ParamValue ParamValue::Long(int32_t v) { ParamValue p; p.type = ParamType::Long; p.number = v; return p; }
ParamValue ParamValue::OfDate(const Date& v) { ParamValue p; p.type = ParamType::Date; p.date = v; return p; }
ParamValue ParamValue::Text(std::string v) { ParamValue p; p.type = ParamType::Text; p.text = std::move(v); return p; }

const std::vector<ParamDef>& ParamDefinitions() { return kDefinitions; }

const ParamDef* FindParam(std::string_view key) {
  Slot* s = TheStore().Find(key);
  return s ? s->def : nullptr;
}

ParamValue GetParam(std::string_view key, int index) {
  Slot* s = TheStore().Find(key);
  if (!s) return {};
  if (s->def->kind == ParamKind::TextList) {
    if (index < 0 || index > s->def->listSize) throw std::out_of_range("インデックスが有効範囲にありません。");
    if (index == 0) return ParamValue::Text("");
    return ParamValue::Text(s->entries[static_cast<size_t>(index - 1)]);
  }
  return s->value;
}

SetParamResult SetParam(std::string_view key, const ParamInput& value) {
  Slot* s = TheStore().Find(key);
  if (!s) return SetParamResult::Ok;
  if (s->def->kind == ParamKind::TextList) {
    InsertAtHead(s->entries, ToText(value));
    return SetParamResult::Ok;
  }
  ParamValue converted;
  if (!Convert(s->def->kind, value, converted)) return SetParamResult::ConversionError;
  s->value = std::move(converted);
  return SetParamResult::Ok;
}

bool ParamFlag(std::string_view key) { return GetParam(key).flag; }
int32_t ParamInt(std::string_view key) { return GetParam(key).number; }
Date ParamDate(std::string_view key) { return GetParam(key).date; }
std::string ParamText(std::string_view key, int index) { return GetParam(key, index).text; }

void ClearParams() { TheStore().Clear(); }

std::string DefaultText(std::string_view key, int index) {
  const ParamDef* def = FindParam(key);
  if (!def) return {};
  if (key == "LogFile") return index == 1 ? platform::JoinPath(platform::DocumentFolder(), "access.log") : "";
  if (key == "Page") return index == 1 ? "index" : "";
  if (key == "StartDate") return FormatDate(FirstOfMonth(Today()));
  if (key == "EndDate") return FormatDate(Today());
  if (key == "FtpLocalFolder") return platform::DocumentFolder();
  return std::string(def->defaultText);
}

void ApplyDefault(std::string_view key) {
  Slot* s = TheStore().Find(key);
  if (!s) return;
  if (s->def->kind == ParamKind::TextList) {
    for (int i = 1; i <= s->def->listSize; ++i) s->entries[static_cast<size_t>(i - 1)] = DefaultText(key, i);
    return;
  }
  Convert(s->def->kind, ParamInput{DefaultText(key)}, s->value);
}

void ApplyDefaults() {
  for (const ParamDef& def : kDefinitions) ApplyDefault(def.key);
}

bool SetParamFromText(std::string_view key, std::string_view text, int index) {
  Slot* s = TheStore().Find(key);
  if (!s) return false;
  if (s->def->kind == ParamKind::TextList) {
    if (index < 1 || index > s->def->listSize) return false;
    s->entries[static_cast<size_t>(index - 1)] = std::string(text);
    return true;
  }
  ParamValue converted;
  if (!Convert(s->def->kind, ParamInput{std::string(text)}, converted)) return false;
  s->value = std::move(converted);
  return true;
}

}  // namespace vorel::settings
