// Realistic access logs for benchmarks and the bundled sample: Zipf-like
// popularity of hosts, agents, referrers and pages over two years of stamps.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vorel::bench {

struct LogShape {
  size_t accesses = 1000000;
  size_t hosts = 20000;
  size_t agents = 2000;
  size_t referrers = 3000;
  size_t pages = 200;
  int firstYear = 2024;  // stamps spread over this year and the next
  uint64_t seed = 20011205;
  // A web server's combined log instead of records: each page view is one
  // line, and about two in five lines are requests for images, style sheets
  // and the like, which are no page views. Its agents are those a server
  // sees: people's browsers and, among the most frequent, robots (search
  // engines, AI crawlers, feed readers, link previews, monitors, tools).
  bool combined = false;
  // Share of hosts that are IPv6 addresses, each in a /48 of its own.
  double ipv6Share = 0;
  // The first accesses use every host and referrer once, so that the log
  // holds all of them however popular each is.
  bool everyNameOnce = false;
  // Stamps rising evenly through the two years, as a server writes them
  // (otherwise each access's hour of the day is drawn at random).
  bool timeOrdered = false;
  // Each host keeps one browser for nine in ten of its accesses, as a
  // visitor does (otherwise host and agent are drawn apart). Combined logs only.
  bool agentFollowsHost = false;
  // A combined log without the image and style sheet lines: every line a
  // page view.
  bool pageViewsOnly = false;
  // Referrers padded to at least this many bytes (a long query string).
  size_t referrerBytes = 0;
};

// The log as CP932 bytes with CR LF line ends, one record per line; or, for
// a combined log, ASCII lines ending in LF.
std::string GenerateLog(const LogShape& shape);

// The log of `shape` at `path`, generated the first time and kept, so that a
// later run measures its work alone.
std::string GeneratedLog(const LogShape& shape, const std::string& path);

}  // namespace vorel::bench
