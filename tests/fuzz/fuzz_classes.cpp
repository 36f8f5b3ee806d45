// The classification file with the matcher: the input is the file; each of
// its patterns is tried against agent texts in both modes. The input's first
// line is also tried as an agent against every pattern.
#include <cstdint>
#include <string>

#include "analysis/class_lists.h"
#include "fuzz_support.h"
#include "platform/codepage.h"

using namespace vorel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::InstallQuietPrompter();
  analysis::LoadClassListsFrom(fuzz::WriteScratch("vorel.dat", data, size));
  const std::string text = platform::Cp932ToUtf8(std::string_view(reinterpret_cast<const char*>(data), size));
  const std::string firstLine = text.substr(0, text.find('\n'));
  static const char* const agents[] = {
      "2#Mozilla/5.0 (Windows NT 10.0; Win64; x64) AppleWebKit/537.36 (KHTML, like Gecko) Chrome/126.0 Safari/537.36",
      "2#Mozilla/4.0 (compatible; MSIE 6.0; Windows 98)", "2#", "2#日記[*]?#"};
  const auto& lists = analysis::Classes();
  for (const auto* list : {&lists.os, &lists.browsers, &lists.robots}) {
    for (const auto& line : *list) {
      for (const char* agent : agents) {
        analysis::MatchesPattern(agent, line.pattern, false);
        analysis::MatchesPattern(agent, line.pattern, true);
      }
      analysis::MatchesPattern(firstLine, line.pattern, true);
    }
  }
  analysis::MatchesLike(firstLine, firstLine);
  for (bool like : {false, true}) analysis::RobotLineOf(lists, "2#" + firstLine, like);
  analysis::ClearClassLists();
  return 0;
}
