// Writes a generated access log:
//   vorel-genlog [--combined] [--page-views-only] [--every-name-once] [--referrers N]
//                [--referrer-bytes N] ACCESSES OUTFILE [SEED]
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "log_generator.h"

int main(int argc, char** argv) {
  vorel::bench::LogShape shape;
  size_t referrers = 0;
  while (argc > 1 && std::string(argv[1]).rfind("--", 0) == 0) {
    const std::string option = argv[1];
    if (option == "--combined") shape.combined = true;
    else if (option == "--page-views-only") shape.pageViewsOnly = shape.combined = true;
    else if (option == "--every-name-once") shape.everyNameOnce = true;
    else if ((option == "--referrers" || option == "--referrer-bytes") && argc > 2) {
      (option == "--referrers" ? referrers : shape.referrerBytes) = std::strtoul(argv[2], nullptr, 10);
      ++argv;
      --argc;
    } else {
      argc = 0;
      break;
    }
    ++argv;
    --argc;
  }
  if (argc < 3) {
    std::fprintf(stderr,
                 "usage: vorel-genlog [--combined] [--page-views-only] [--every-name-once] [--referrers N] "
                 "[--referrer-bytes N] ACCESSES OUTFILE [SEED]\n");
    return 2;
  }
  shape.accesses = std::strtoul(argv[1], nullptr, 10);
  if (shape.accesses < 10000) {
    // A small log keeps its tables small too.
    shape.hosts = shape.accesses / 3 + 1;
    shape.agents = shape.accesses / 10 + 1;
    shape.referrers = shape.accesses / 5 + 1;
    shape.pages = 12;
  }
  if (referrers > 0) shape.referrers = referrers;
  if (argc > 3) shape.seed = std::strtoull(argv[3], nullptr, 10);
  std::ofstream out(argv[2], std::ios::binary);
  out << vorel::bench::GenerateLog(shape);
  return out ? 0 : 1;
}
