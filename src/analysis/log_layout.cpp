#include "analysis/log_layout.h"

#include <array>

#include "settings/text_util.h"

namespace vorel::analysis {
namespace {

using settings::EqualsIgnoreCase;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view Trimmed(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

bool IsNameChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

// Strips a leading keyword and the blank run after it; false when absent.
bool TakeKeyword(std::string_view& s, std::string_view keyword) {
  if (s.size() <= keyword.size() || !EqualsIgnoreCase(s.substr(0, keyword.size()), keyword) ||
      !IsBlank(s[keyword.size()]))
    return false;
  s = Trimmed(s.substr(keyword.size()));
  return true;
}

// One quoted string of a configuration line at the start of `s`: its text
// with \" and \\ (and \' in single quotes) resolved; `s` moves past it.
bool TakeQuoted(std::string_view& s, std::string& out) {
  if (s.empty() || (s[0] != '"' && s[0] != '\'')) return false;
  const char quote = s[0];
  for (size_t i = 1; i < s.size(); ++i) {
    if (s[i] == '\\' && i + 1 < s.size() && (s[i + 1] == quote || s[i + 1] == '\\')) {
      out.push_back(s[++i]);
    } else if (s[i] == quote) {
      s = Trimmed(s.substr(i + 1));
      return true;
    } else {
      out.push_back(s[i]);
    }
  }
  return false;
}

enum class Dialect { Apache, Nginx };

bool HasApacheDirective(std::string_view f) {
  for (size_t i = 0; i + 1 < f.size(); ++i)
    if (f[i] == '%') {
      const char n = f[i + 1];
      if ((n >= 'a' && n <= 'z') || (n >= 'A' && n <= 'Z') || n == '{' || n == '>' || n == '<') return true;
    }
  return false;
}

bool HasNginxVariable(std::string_view f) {
  for (size_t i = 0; i + 1 < f.size(); ++i)
    if (f[i] == '$' && (IsNameChar(f[i + 1]) || f[i + 1] == '{')) return true;
  return false;
}

// The format itself, out of whatever the user pasted.
bool Unwrap(std::string_view pasted, std::string& format, Dialect& dialect, std::string& error) {
  std::string_view s = Trimmed(pasted);
  if (TakeKeyword(s, "log_format")) {
    dialect = Dialect::Nginx;
    // The format's name, and an escape= parameter, come before its pieces.
    while (!s.empty() && s[0] != '\'' && s[0] != '"' && s[0] != ';') {
      size_t end = 0;
      while (end < s.size() && !IsBlank(s[end])) ++end;
      s = Trimmed(s.substr(end));
    }
    while (!s.empty() && s[0] != ';')
      if (!TakeQuoted(s, format)) {
        error = "log_format の引用符が閉じていません。";
        return false;
      }
    return true;
  }
  const bool apacheLine = TakeKeyword(s, "LogFormat");
  if (!s.empty() && (s[0] == '"' || s[0] == '\'')) {
    // Quoted pieces; after an Apache line's one string comes its nickname.
    do {
      if (!TakeQuoted(s, format)) {
        error = "書式の引用符が閉じていません。";
        return false;
      }
    } while (!apacheLine && !s.empty() && (s[0] == '\'' || s[0] == '"'));
  } else {
    // The bare format, perhaps copied from inside the configuration's quotes.
    for (size_t i = 0; i < s.size(); ++i) {
      if (s[i] == '\\' && i + 1 < s.size() && (s[i + 1] == '"' || s[i + 1] == '\\')) ++i;
      format.push_back(s[i]);
    }
  }
  dialect = !apacheLine && HasNginxVariable(format) && !HasApacheDirective(format) ? Dialect::Nginx : Dialect::Apache;
  return true;
}

struct Directive {
  std::string_view name;
  LayoutField field;
};

LayoutField ApacheHeaderField(std::string_view header) {
  if (EqualsIgnoreCase(header, "Referer")) return LayoutField::Referrer;
  if (EqualsIgnoreCase(header, "User-Agent")) return LayoutField::Agent;
  if (EqualsIgnoreCase(header, "X-Forwarded-For")) return LayoutField::ForwardedFor;
  return LayoutField::Skip;
}

LayoutField NginxField(std::string_view name) {
  static constexpr std::array<Directive, 13> kUsed = {{
      {"remote_addr", LayoutField::Host},
      {"http_x_forwarded_for", LayoutField::ForwardedFor},
      {"time_local", LayoutField::Time},
      {"time_iso8601", LayoutField::Time},
      {"request", LayoutField::Request},
      {"request_method", LayoutField::Method},
      {"request_uri", LayoutField::Target},
      {"uri", LayoutField::Target},
      {"document_uri", LayoutField::Target},
      {"status", LayoutField::Status},
      {"http_referer", LayoutField::Referrer},
      {"http_user_agent", LayoutField::Agent},
      {"realip_remote_addr", LayoutField::Host},
  }};
  for (const Directive& d : kUsed)
    if (d.name == name) return d.field;
  return LayoutField::Skip;
}

// Builds the steps while the format is read: text runs up to the next field.
class Builder {
 public:
  explicit Builder(LogLayout& layout) : layout_(layout) {}

  void Text(char c) { pending_.push_back(c); }
  // The last field stands right before what comes next.
  bool Follows(LayoutField field) const {
    return pending_.empty() && !layout_.steps.empty() && layout_.steps.back().field == field;
  }

  bool Field(LayoutField field, bool bracketed, std::string_view written, std::string& error) {
    if (!layout_.steps.empty() && pending_.empty()) {
      error = "ログの書式を読めません：" + std::string(previous_) + " と " + std::string(written) +
              " の間に区切りの文字がありません。";
      return false;
    }
    LayoutStep step;
    step.literal = std::move(pending_);
    step.field = field;
    step.bracketed = bracketed;
    pending_.clear();
    layout_.steps.push_back(std::move(step));
    previous_ = written;
    return true;
  }

  void Finish() {
    layout_.tail = std::move(pending_);
    // A field between double quotes ends at the closing quote, whatever it holds.
    for (size_t k = 0; k < layout_.steps.size(); ++k) {
      const std::string& before = layout_.steps[k].literal;
      const std::string& after = k + 1 < layout_.steps.size() ? layout_.steps[k + 1].literal : layout_.tail;
      layout_.steps[k].quoted = !before.empty() && before.back() == '"' && !after.empty() && after.front() == '"';
    }
  }

 private:
  LogLayout& layout_;
  std::string pending_;
  std::string_view previous_;
};

bool CompileApache(std::string_view f, Builder& b, std::string& error) {
  for (size_t i = 0; i < f.size(); ++i) {
    if (f[i] != '%') {
      b.Text(f[i]);
      continue;
    }
    const size_t start = i++;
    if (i < f.size() && f[i] == '%') {
      b.Text('%');
      continue;
    }
    // Modifiers: "<" or ">" (original or final request), status conditions.
    while (i < f.size() && (f[i] == '<' || f[i] == '>' || f[i] == '!' || f[i] == ',' || (f[i] >= '0' && f[i] <= '9')))
      ++i;
    std::string_view argument;
    if (i < f.size() && f[i] == '{') {
      const size_t close = f.find('}', i);
      if (close == std::string_view::npos) {
        error = "ログの書式を読めません：" + std::string(f.substr(start, 12)) + " の「{」が閉じていません。";
        return false;
      }
      argument = f.substr(i + 1, close - i - 1);
      i = close + 1;
    }
    const char letter = i < f.size() ? f[i] : '\0';
    if (!((letter >= 'a' && letter <= 'z') || (letter >= 'A' && letter <= 'Z'))) {
      error = "ログの書式を読めません：「" + std::string(f.substr(start, i - start + 1)) + "」は書式の指定ではありません。";
      return false;
    }
    const std::string_view written = f.substr(start, i - start + 1);
    // "%U%q": the query string stays with the path, which drops it anyway.
    if (letter == 'q' && b.Follows(LayoutField::Target)) continue;
    LayoutField field = LayoutField::Skip;
    bool bracketed = false;
    switch (letter) {
      case 'h': case 'a': field = LayoutField::Host; break;
      case 'r': field = LayoutField::Request; break;
      case 'm': field = LayoutField::Method; break;
      case 'U': field = LayoutField::Target; break;
      case 's': field = LayoutField::Status; break;
      case 'i': field = ApacheHeaderField(argument); break;
      case 't':
        if (!argument.empty()) {
          error = "ログの書式を読めません：時刻は %t の形（[日/月/年:時:分:秒 時差]）でなければ読めません（「" +
                  std::string(written) + "」）。";
          return false;
        }
        field = LayoutField::Time;
        bracketed = true;
        break;
      default: break;
    }
    if (!b.Field(field, bracketed, written, error)) return false;
  }
  return true;
}

bool CompileNginx(std::string_view f, Builder& b, std::string& error) {
  for (size_t i = 0; i < f.size(); ++i) {
    if (f[i] != '$' || i + 1 >= f.size() || !(IsNameChar(f[i + 1]) || f[i + 1] == '{')) {
      b.Text(f[i]);
      continue;
    }
    const size_t start = i;
    std::string_view name;
    if (f[i + 1] == '{') {
      const size_t close = f.find('}', i);
      if (close == std::string_view::npos) {
        error = "ログの書式を読めません：" + std::string(f.substr(start, 12)) + " の「{」が閉じていません。";
        return false;
      }
      name = f.substr(i + 2, close - i - 2);
      i = close;
    } else {
      size_t end = i + 1;
      while (end < f.size() && IsNameChar(f[end])) ++end;
      name = f.substr(i + 1, end - i - 1);
      i = end - 1;
    }
    if (!b.Field(NginxField(name), false, f.substr(start, i - start + 1), error)) return false;
  }
  return true;
}

bool Has(const LogLayout& layout, LayoutField field) {
  for (const LayoutStep& step : layout.steps)
    if (step.field == field) return true;
  return false;
}

}  // namespace

bool CompileLogLayout(std::string_view pasted, LogLayout& layout, std::string& error) {
  layout = LogLayout{};
  error.clear();
  std::string format;
  Dialect dialect = Dialect::Apache;
  if (!Unwrap(pasted, format, dialect, error)) return false;
  Builder builder(layout);
  if (!(dialect == Dialect::Nginx ? CompileNginx(format, builder, error) : CompileApache(format, builder, error))) {
    layout = LogLayout{};
    return false;
  }
  builder.Finish();
  const char* missing = nullptr;
  if (!Has(layout, LayoutField::Time))
    missing = "ログの書式に時刻（%t、$time_local または $time_iso8601）がありません。";
  else if (!Has(layout, LayoutField::Request) && !Has(layout, LayoutField::Target))
    missing = "ログの書式にページ（%r、%U、$request または $request_uri）がありません。";
  if (missing) {
    error = missing;
    layout = LogLayout{};
    return false;
  }
  return true;
}

}  // namespace vorel::analysis
