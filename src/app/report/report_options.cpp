#include "app/report/report_options.h"

#include <string_view>

#include "analysis/log_layout.h"
#include "analysis/time_zone.h"

namespace vorel::report_app {
namespace {

// Options that take a value, in both spellings.
struct ValueOption {
  std::string_view shortName;
  std::string_view longName;
};
constexpr ValueOption kOutput{"-o", "--output"};
constexpr ValueOption kSettings{"", "--settings"};
constexpr ValueOption kClasses{"", "--classes"};
constexpr ValueOption kFrom{"", "--from"};
constexpr ValueOption kTo{"", "--to"};
constexpr ValueOption kPage{"", "--page"};
constexpr ValueOption kFormat{"", "--format"};
constexpr ValueOption kLogFormat{"", "--log-format"};
constexpr ValueOption kHistory{"", "--history"};
constexpr ValueOption kTimeZone{"", "--tz"};
constexpr ValueOption kRobots{"", "--robots"};

class Parser {
 public:
  explicit Parser(const std::vector<std::string>& args) : args_(args) {}

  ParsedCommandLine Parse() {
    bool onlyLogs = false;
    for (i_ = 0; i_ < args_.size() && result_.error.empty(); ++i_) {
      const std::string& arg = args_[i_];
      if (onlyLogs || arg == "-" || arg.empty() || arg[0] != '-') {
        result_.options.logs.push_back(arg);
      } else if (arg == "--") {
        onlyLogs = true;
      } else if (arg == "-h" || arg == "--help") {
        result_.action = ParsedCommandLine::Action::Help;
        return result_;
      } else if (arg == "--version") {
        result_.action = ParsedCommandLine::Action::Version;
        return result_;
      } else if (arg == "-q" || arg == "--quiet") {
        result_.options.quiet = true;
      } else if (arg == "--all-dates") {
        result_.options.allDates = true;
      } else if (arg == "--all-pages") {
        result_.options.allPages = true;
      } else if (!TakeValueOption(arg)) {
        Fail("不明なオプションです: " + arg);
      }
    }
    if (result_.error.empty()) CheckCombination();
    if (!result_.error.empty()) result_.action = ParsedCommandLine::Action::UsageError;
    return result_;
  }

 private:
  bool TakeValueOption(const std::string& arg) {
    ReportOptions& o = result_.options;
    if (auto v = Value(arg, kOutput)) return Once(o.output.empty(), arg) && Assign(o.output, *v);
    if (auto v = Value(arg, kSettings)) return Once(!o.settingsFile, arg) && Assign(o.settingsFile, *v);
    if (auto v = Value(arg, kClasses)) return Once(!o.classFile, arg) && Assign(o.classFile, *v);
    if (auto v = Value(arg, kPage)) return Once(!o.page, arg) && Assign(o.page, *v);
    if (auto v = Value(arg, kLogFormat)) return Once(!o.logFormat, arg) && AssignLogFormat(*v);
    if (auto v = Value(arg, kHistory)) return Once(!o.history, arg) && Assign(o.history, *v);
    if (auto v = Value(arg, kFormat)) return Once(!o.format, arg) && AssignFormat(*v, arg);
    if (auto v = Value(arg, kRobots)) return Once(!o.robotMode, arg) && AssignRobots(*v, arg);
    if (auto v = Value(arg, kFrom)) return Once(!o.from, arg) && AssignDate(o.from, *v, arg);
    if (auto v = Value(arg, kTo)) return Once(!o.to, arg) && AssignDate(o.to, *v, arg);
    if (auto v = Value(arg, kTimeZone)) return Once(!o.timeZone, arg) && AssignTimeZone(*v);
    return false;
  }

  // The value of `option` when `arg` names it ("-o FILE", "--output FILE",
  // "--output=FILE"); nothing when it names another option. A missing value
  // is a usage error, reported here.
  std::optional<std::string> Value(const std::string& arg, const ValueOption& option) {
    std::string_view a = arg;
    if (a == option.longName || (!option.shortName.empty() && a == option.shortName)) {
      if (i_ + 1 >= args_.size()) {
        Fail("オプションに値がありません: " + arg);
        return std::string();
      }
      return args_[++i_];
    }
    if (a.size() > option.longName.size() && a.substr(0, option.longName.size()) == option.longName &&
        a[option.longName.size()] == '=')
      return std::string(a.substr(option.longName.size() + 1));
    return std::nullopt;
  }

  bool Once(bool first, const std::string& arg) {
    if (!first && result_.error.empty()) Fail("オプションが重複しています: " + arg);
    return true;  // the option was recognised either way
  }

  template <typename T>
  bool Assign(T& slot, const std::string& value) {
    if (result_.error.empty()) slot = value;
    return true;
  }

  bool AssignDate(std::optional<settings::Date>& slot, const std::string& value, const std::string& arg) {
    if (!result_.error.empty()) return true;
    slot = settings::ParseDate(value);
    if (!slot) Fail("日付が正しくありません: " + arg + " " + value);
    return true;
  }

  bool AssignFormat(const std::string& value, const std::string& arg) {
    if (!result_.error.empty()) return true;
    if (value == "txt") result_.options.format = reports::ReportFormat::Text;
    else if (value == "csv") result_.options.format = reports::ReportFormat::Csv;
    else if (value == "html") result_.options.format = reports::ReportFormat::Html;
    else Fail("形式は txt、csv、html のどれかです: " + arg + " " + value);
    return true;
  }

  // A wrong layout is refused before any log is read.
  bool AssignLogFormat(const std::string& value) {
    if (!result_.error.empty()) return true;
    analysis::LogLayout layout;
    std::string error;
    if (!value.empty() && !analysis::CompileLogLayout(value, layout, error)) Fail(error);
    else result_.options.logFormat = value;
    return true;
  }

  // "local" is this computer's zone, which the setting writes as "".
  bool AssignTimeZone(const std::string& value) {
    if (!result_.error.empty()) return true;
    const std::string setting = value == "local" ? std::string(analysis::kComputerZoneSetting) : value;
    std::string error;
    if (analysis::TimeZone::FromSetting(setting, &error)) result_.options.timeZone = setting;
    else Fail(error);
    return true;
  }

  bool AssignRobots(const std::string& value, const std::string& arg) {
    if (!result_.error.empty()) return true;
    if (value == "apart") result_.options.robotMode = 2;
    else if (value == "count") result_.options.robotMode = 0;
    else Fail("ロボットの扱いは apart か count です: " + arg + " " + value);
    return true;
  }

  void CheckCombination() {
    const ReportOptions& o = result_.options;
    if (o.allDates && (o.from || o.to)) return Fail("--all-dates と --from/--to は同時に指定できません。");
    if (o.allPages && o.page) return Fail("--all-pages と --page は同時に指定できません。");
    if (o.logs.empty()) return Fail("ログファイルを指定してください。");
    if (o.output.empty()) return Fail("出力ファイルを -o で指定してください。");
  }

  void Fail(std::string message) {
    if (result_.error.empty()) result_.error = std::move(message);
  }

  const std::vector<std::string>& args_;
  size_t i_ = 0;
  ParsedCommandLine result_;
};

}  // namespace

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args) { return Parser(args).Parse(); }

std::string UsageLine() { return "使い方: vorel-report [オプション] ログ [ログ...] -o 出力ファイル"; }

std::string HelpText() {
  return UsageLine() +
         "\n"
         "アクセスログを解析し、結果をレポートファイルに書き出します。\n"
         "最初のログは新規解析、二つ目以降のログはその結果への追加解析になります。\n"
         "\n"
         "  -o, --output FILE    出力ファイル。形式は名前で決まります: .csv は CSV、\n"
         "                       .htm / .html は HTML（同じフォルダに bar.gif を置きます）、\n"
         "                       それ以外はテキスト（大文字小文字は区別しません）。\n"
         "                       既にあるファイルは置き換えます（リンクはその先を置き換え、\n"
         "                       FIFO やデバイスにはそのまま書き込みます）。\n"
         "                       - は標準出力（形式は --format、既定はテキスト）。\n"
         "                       解析するログと同じファイルは指定できません。\n"
         "      --format FORMAT  出力形式 txt / csv / html。名前による選択より優先します。\n"
         "      --settings FILE  設定ファイル（vorel.ini の形式、読むだけで書き込みません）。\n"
         "                       既定はプログラムのフォルダの vorel.ini（なければ既定値）。\n"
         "                       インストールしたプログラムでは ~/.config/vorel/vorel.ini。\n"
         "      --classes FILE   解析情報ファイル（既定はプログラムのフォルダの vorel.dat。\n"
         "                       インストールしたプログラムでは ~/.config/vorel/vorel.dat、\n"
         "                       なければ /usr/share/vorel/vorel.dat）。\n"
         "                       指定したファイルは 16 MiB までの通常のファイルに限ります\n"
         "                       （--settings も同じ）。\n"
         "      --from Y/M/D     日付指定をオンにし、開始日をこの日にします。\n"
         "      --to Y/M/D       日付指定をオンにし、終了日をこの日にします。\n"
         "      --all-dates      日付指定をオフにします。\n"
         "      --page NAME      ページ指定をオンにし、このページを解析します。\n"
         "      --all-pages      ページ指定をオフにします。\n"
         "      --log-format FORMAT\n"
         "                       Web サーバーのログの書式。サーバーの設定にある Apache の\n"
         "                       LogFormat か nginx の log_format の書式をそのまま書きます。\n"
         "                       空の文字列は自動判別です（既定）。\n"
         "      --history FILE   ログのページビューを履歴ファイルに追加し（なければ作ります）、\n"
         "                       履歴全体からレポートを作ります。既に追加した行は二度と追加しません。\n"
         "      --tz ZONE        サーバーのログの時刻を表す時間帯: local はこのコンピューターの\n"
         "                       時刻（TZ に従います）、log はログの時刻のまま、Asia/Tokyo の\n"
         "                       ような地域名、+09:00 のような UTC からの時差。\n"
         "      --robots MODE    apart: どのログでもロボットを人と分けて数えます。\n"
         "                       count: ロボットも人と同じに数えます。\n"
         "                       既定は設定の RobotMode（サーバーのログでだけ分けます）。\n"
         "  -q, --quiet          進行状況を表示しません。\n"
         "  -h, --help           この説明を表示します。\n"
         "      --version        版を表示します。\n"
         "\n"
         "コマンドラインの指定は設定ファイルより優先します。\n"
         "\n"
         "終了コード: 0 レポートを書き出した / 1 有効なデータがなかった /\n"
         "            2 使い方の誤り / 3 解析エラーまたは書き込みエラー /\n"
         "            130 / 143 / 129 Ctrl-C、SIGTERM、SIGHUP で中断した（一時ファイルは消します）\n";
}

std::string VersionText() { return "vorel-report 1.0.0\n"; }

std::string LogPath(const std::string& log) { return log == "-" ? "/dev/stdin" : log; }

}  // namespace vorel::report_app
