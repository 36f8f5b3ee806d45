#include "log_generator.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <random>
#include <vector>

#include "platform/codepage.h"

namespace vorel::bench {
namespace {

// Draws ranks 0..n-1 with probability proportional to 1 / (rank + 1).
class Zipf {
 public:
  explicit Zipf(size_t n) : cumulative_(n) {
    double sum = 0;
    for (size_t i = 0; i < n; ++i) cumulative_[i] = (sum += 1.0 / static_cast<double>(i + 1));
  }
  size_t operator()(std::mt19937_64& rng) const {
    double x = std::uniform_real_distribution<double>(0, cumulative_.back())(rng);
    return static_cast<size_t>(std::lower_bound(cumulative_.begin(), cumulative_.end(), x) - cumulative_.begin());
  }

 private:
  std::vector<double> cumulative_;
};

std::vector<std::string> MakeHosts(size_t n, double ipv6Share, std::mt19937_64& rng) {
  static const char* isps[] = {"ocn.ne.jp", "dion.ne.jp", "so-net.ne.jp", "plala.or.jp", "bbtec.net",
                               "mesh.ad.jp", "au-net.ne.jp", "spmode.ne.jp", "googlebot.com", "example.ac.jp"};
  std::vector<std::string> hosts;
  hosts.reserve(n);
  for (size_t i = 0; i < n; ++i) {
    if (static_cast<double>(i % 1000) < ipv6Share * 1000) {
      char ip[64];
      std::snprintf(ip, sizeof(ip), "(240%x:%x:%x:%x::%x)", static_cast<unsigned>(i >> 32 & 0xF),
                    static_cast<unsigned>(i >> 16 & 0xFFFF), static_cast<unsigned>(i & 0xFFFF),
                    static_cast<unsigned>(rng() % 0x10000), static_cast<unsigned>(rng() % 0x10000));
      hosts.emplace_back(ip);
      continue;
    }
    unsigned a = 1 + rng() % 223, b = rng() % 256, c = rng() % 256, d = 1 + rng() % 254;
    char ip[32];
    std::snprintf(ip, sizeof(ip), "%u.%u.%u.%u", a, b, c, d);
    if (i % 5 == 4) {
      hosts.push_back(std::string("(") + ip + ")");
    } else {
      char name[96];
      std::snprintf(name, sizeof(name), "p%u%u-adsl%zu.%s", c, d, i % 97, isps[rng() % 10]);
      hosts.push_back(std::string(name) + "(" + ip + ")");
    }
  }
  return hosts;
}

// Browsers, and with `withCrawler` a numbered crawler now and then.
std::vector<std::string> MakeAgents(size_t n, std::mt19937_64& rng, bool withCrawler = true) {
  static const char* systems[] = {"Windows NT 10.0; Win64; x64", "Windows NT 6.1; WOW64", "Macintosh; Intel Mac OS X 10_15_7",
                                  "X11; Linux x86_64", "Linux; Android 14; SC-51D", "iPhone; CPU iPhone OS 17_5 like Mac OS X",
                                  "Windows NT 5.1", "compatible; MSIE 6.0; Windows 98"};
  std::vector<std::string> agents;
  agents.reserve(n);
  for (size_t i = 0; i < n; ++i) {
    const char* sys = systems[rng() % 8];
    unsigned major = 90 + rng() % 40, build = rng() % 6000;
    char text[256];
    switch (rng() % 6) {
      case 0:
        std::snprintf(text, sizeof(text), "Mozilla/5.0 (%s) AppleWebKit/537.36 (KHTML, like Gecko) Chrome/%u.0.%u.0 Safari/537.36", sys, major, build);
        break;
      case 1:
        std::snprintf(text, sizeof(text), "Mozilla/5.0 (%s; rv:%u.0) Gecko/20100101 Firefox/%u.0", sys, major, major);
        break;
      case 2:
        std::snprintf(text, sizeof(text), "Mozilla/5.0 (%s) AppleWebKit/605.1.15 (KHTML, like Gecko) Version/17.%u Mobile/15E148 Safari/604.1", sys, build % 7);
        break;
      case 3:
        std::snprintf(text, sizeof(text), "Mozilla/5.0 (%s) AppleWebKit/537.36 (KHTML, like Gecko) Chrome/%u.0.0.0 Safari/537.36 Edg/%u.0.%u.0", sys, major, major, build);
        break;
      case 4:
        if (withCrawler)
          std::snprintf(text, sizeof(text), "Mozilla/5.0 (compatible; Googlebot/2.1; +http://www.google.com/bot.html) v%zu", i);
        else
          std::snprintf(text, sizeof(text), "Mozilla/5.0 (%s) AppleWebKit/537.36 (KHTML, like Gecko) Chrome/%u.0.0.0 Safari/537.36 OPR/%u.0.%u.0", sys, major, major - 14, build);
        break;
      default:
        std::snprintf(text, sizeof(text), "Mozilla/4.0 (%s) build %u", sys, build);
        break;
    }
    agents.emplace_back(text);
  }
  return agents;
}

// The robots a personal site's server log is full of.
const char* const kRobotAgents[] = {
    "Mozilla/5.0 (compatible; Googlebot/2.1; +http://www.google.com/bot.html)",
    "Mozilla/5.0 (Linux; Android 6.0.1; Nexus 5X Build/MMB29P) AppleWebKit/537.36 (KHTML, like Gecko) "
    "Chrome/120.0.6099.129 Mobile Safari/537.36 (compatible; Googlebot/2.1; +http://www.google.com/bot.html)",
    "Mozilla/5.0 AppleWebKit/537.36 (KHTML, like Gecko; compatible; bingbot/2.0; +http://www.bing.com/bingbot.htm) "
    "Chrome/116.0.1938.76 Safari/537.36",
    "Mozilla/5.0 AppleWebKit/537.36 (KHTML, like Gecko; compatible; GPTBot/1.2; +https://openai.com/gptbot)",
    "Mozilla/5.0 AppleWebKit/537.36 (KHTML, like Gecko; compatible; ClaudeBot/1.0; +claudebot@anthropic.com)",
    "UniversalFeedParser/5.2.1 +https://code.google.com/p/feedparser/",
    "Tiny Tiny RSS/21.04-0fe4a5b (http://tt-rss.org/)",
    "Feedly/1.0 (+http://www.feedly.com/fetcher.html; 5 subscribers; like FeedFetcher-Google)",
    "Mozilla/5.0 (compatible; archive.org_bot +http://archive.org/details/archive.org_bot)",
    "Mozilla/5.0 (compatible; Baiduspider/2.0; +http://www.baidu.com/search/spider.html)",
    "Mozilla/5.0 (compatible; YandexBot/3.0; +http://yandex.com/bots)",
    "Mozilla/5.0 (compatible; AhrefsBot/7.0; +http://ahrefs.com/robot/)",
    "Mozilla/5.0 (compatible; SemrushBot/7~bl; +http://www.semrush.com/bot.html)",
    "Mozilla/5.0 (compatible; Yahoo! Slurp; http://help.yahoo.com/help/us/ysearch/slurp)",
    "facebookexternalhit/1.1 (+http://www.facebook.com/externalhit_uatext.php)",
    "Mozilla/5.0+(compatible; UptimeRobot/2.0; http://www.uptimerobot.com/)",
    "curl/8.5.0",
    "python-requests/2.31.0",
    "Mozilla/5.0 (compatible; Bytespider; spider-feedback@bytedance.com)",
    "Mozilla/5.0 (compatible; SomeCrawler/0.3; +https://crawler.example.com/)",
};

// A server's agents: people's browsers, with the robots among the most
// frequent (every other one of the first ranks).
std::vector<std::string> MakeServerAgents(size_t n, std::mt19937_64& rng) {
  std::vector<std::string> people = MakeAgents(n, rng, false);
  std::vector<std::string> agents;
  agents.reserve(n);
  size_t robot = 0, person = 0;
  for (size_t i = 0; i < n; ++i) {
    const bool robotRank = i % 2 == 1 && robot < std::size(kRobotAgents);
    agents.emplace_back(robotRank ? kRobotAgents[robot++] : people[person++]);
  }
  return agents;
}

std::vector<std::string> MakeReferrers(size_t n, std::mt19937_64& rng) {
  static const char* words[] = {"%E6%97%A5%E8%A8%98", "ramen", "%93%FA%8BL", "travel", "camera", "%83%8A%83%93%83N"};
  std::vector<std::string> refs;
  refs.reserve(n);
  refs.push_back("");  // typed in or bookmarked: "3#" alone
  for (size_t i = 1; i < n; ++i) {
    char text[256];
    switch (rng() % 4) {
      case 0:
        std::snprintf(text, sizeof(text), "http://www.google.co.jp/search?q=%s+%zu&hl=ja", words[rng() % 6], i);
        break;
      case 1:
        std::snprintf(text, sizeof(text), "https://search.yahoo.co.jp/search?p=%s&ei=UTF-8#r%zu", words[rng() % 6], i);
        break;
      case 2:
        std::snprintf(text, sizeof(text), "http://www%zu.example.ne.jp:8080/~user%zu/Index.html", i % 50, i);
        break;
      default:
        std::snprintf(text, sizeof(text), "http://homepage%zu.example.jp/link/page%zu.htm", i % 300, i);
        break;
    }
    refs.emplace_back(text);
  }
  return refs;
}

std::vector<std::string> MakePages(size_t n) {
  static const char* names[] = {"index", "diary", "link", "bbs", "profile", "photo", "日記", "旅行記"};
  std::vector<std::string> pages;
  for (size_t i = 0; i < n; ++i)
    pages.push_back(i < 8 ? names[i] : std::string(names[i % 8]) + std::to_string(i));
  return pages;
}

// "(1.2.3.4)" or "name(1.2.3.4)" → "1.2.3.4".
std::string AddressOf(const std::string& host) {
  size_t open = host.find('(');
  return host.substr(open + 1, host.size() - open - 2);
}

std::string PercentEncoded(const std::string& bytes) {
  static const char* hex = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : bytes) {
    if (c < 0x80 && c != '%' && c != ' ') {
      out.push_back(static_cast<char>(c));
    } else {
      out.push_back('%');
      out.push_back(hex[c >> 4]);
      out.push_back(hex[c & 15]);
    }
  }
  return out;
}

const char* kMonthNames[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

void AppendCombinedLine(std::string& log, const std::string& address, const char* stamp, const std::string& path,
                        int status, const std::string& referrer, const std::string& agent) {
  log += address;
  log += " - - [";
  log += stamp;
  log += " +0900] \"GET ";
  log += path;
  log += " HTTP/1.1\" ";
  log += std::to_string(status);
  log += " 5120 \"";
  log += referrer.empty() ? "-" : referrer;
  log += "\" \"";
  log += agent;
  log += "\"\n";
}

}  // namespace

std::string GenerateLog(const LogShape& shape) {
  std::mt19937_64 rng(shape.seed);
  auto hosts = MakeHosts(shape.hosts, shape.ipv6Share, rng);
  auto agents = shape.combined ? MakeServerAgents(shape.agents, rng) : MakeAgents(shape.agents, rng);
  auto refs = MakeReferrers(shape.referrers, rng);
  for (auto& ref : refs)
    if (!ref.empty() && ref.size() < shape.referrerBytes) ref += (ref.find('?') == std::string::npos ? "?q=" : "&pad=") + std::string(shape.referrerBytes - ref.size(), 'x');
  auto pages = MakePages(shape.pages);
  for (auto& p : pages) p = platform::Utf8ToCp932(p);
  Zipf hostRank(hosts.size()), agentRank(agents.size()), refRank(refs.size()), pageRank(pages.size());

  std::string log;
  log.reserve(shape.accesses * 260);
  // Accesses in time order over two years, most of them in the evening.
  static const double hourWeights[24] = {5, 3, 2, 1, 1, 1, 2, 4, 6, 7, 8, 8, 10, 9, 8, 8, 8, 9, 10, 12, 14, 16, 15, 10};
  std::discrete_distribution<int> hourOf(std::begin(hourWeights), std::end(hourWeights));
  static const int monthDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  for (size_t i = 0; i < shape.accesses; ++i) {
    auto day = static_cast<long>(2 * 365.0 * static_cast<double>(i) / static_cast<double>(shape.accesses));
    int year = shape.firstYear + static_cast<int>(day / 365);
    int dayOfYear = static_cast<int>(day % 365);
    int month = 0;
    while (dayOfYear >= monthDays[month]) dayOfYear -= monthDays[month++];
    char stamp[32];
    int hour = hourOf(rng), minute = static_cast<int>(rng() % 60), second = static_cast<int>(rng() % 60);
    if (shape.timeOrdered) {
      const auto ofDay = static_cast<long>(2 * 365.0 * 86400 * static_cast<double>(i) / static_cast<double>(shape.accesses)) % 86400;
      hour = static_cast<int>(ofDay / 3600), minute = static_cast<int>(ofDay / 60 % 60), second = static_cast<int>(ofDay % 60);
    }
    if (shape.combined) {
      std::snprintf(stamp, sizeof(stamp), "%02d/%s/%04d:%02d:%02d:%02d", dayOfYear + 1, kMonthNames[month], year, hour,
                    minute, second);
      const size_t host = shape.everyNameOnce && i < hosts.size() ? i : hostRank(rng);
      const std::string address = AddressOf(hosts[host]);
      const size_t ownAgent = (host * 2654435761u) % agents.size();
      const std::string& agent = agents[shape.agentFollowsHost && rng() % 10 != 0 ? ownAgent : agentRank(rng)];
      const std::string page = "/" + PercentEncoded(pages[pageRank(rng)]) + ".html";
      AppendCombinedLine(log, address, stamp, page, rng() % 10 == 0 ? 304 : 200,
                         refs[shape.everyNameOnce && i < refs.size() ? i : refRank(rng)], agent);
      // The page's images and style sheet, now and then.
      for (int asset = shape.pageViewsOnly ? 0 : static_cast<int>(rng() % 3); asset > 0; --asset)
        AppendCombinedLine(log, address, stamp, asset == 1 ? "/style.css" : "/img/photo" + std::to_string(rng() % 50) + ".jpg",
                           200, "http://www.example.jp" + page, agent);
      continue;
    }
    std::snprintf(stamp, sizeof(stamp), "%04d/%02d/%02d %02d:%02d:%02d", year, month + 1, dayOfYear + 1, hour, minute,
                  second);
    log += "1#(";
    log += pages[pageRank(rng)];
    log += ")";
    log += stamp;
    log += "\r\n2#";
    log += agents[agentRank(rng)];
    log += "\r\n3#";
    log += refs[shape.everyNameOnce && i < refs.size() ? i : refRank(rng)];
    log += "\r\n4#";
    log += hosts[shape.everyNameOnce && i < hosts.size() ? i : hostRank(rng)];
    log += "\r\n";
  }
  return log;
}

std::string GeneratedLog(const LogShape& shape, const std::string& path) {
  if (!std::ifstream(path)) {
    std::ofstream(path + ".part", std::ios::binary) << GenerateLog(shape);
    std::rename((path + ".part").c_str(), path.c_str());
  }
  return path;
}

}  // namespace vorel::bench
