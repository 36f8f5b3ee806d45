// Generated data for the history benchmarks, made once and kept under /tmp.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vorel::bench {

// A busy blog's web server log over two years, in time order: `pageViews`
// page views of 500 pages by 150,000 hosts with 5,000 agents and 20,000
// referrers, with the images and style sheets they pull in.
std::string BusyBlogLogPath(size_t pageViews);

// A history of `pageViews` page views, added from ten such logs.
std::string HistoryPath(int64_t pageViews);

}  // namespace vorel::bench
