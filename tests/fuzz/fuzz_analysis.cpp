// The log reader with the analysis pass and the three reports. The first byte
// chooses the options; the rest is the log.
#include <cstdint>
#include <cstdio>

#include "analysis/analysis_pass.h"
#include "analysis/class_lists.h"
#include "analysis/result.h"
#include "export/csv_report.h"
#include "export/html_report.h"
#include "export/text_report.h"
#include "fuzz_support.h"
#include "platform/paths.h"
#include "settings/param_store.h"

using namespace vorel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::InstallQuietPrompter();
  static const bool loaded = [] {
    platform::SetProgramFolder(fuzz::ScratchFolder());
    analysis::LoadClassListsFrom(VOREL_SOURCE_DIR "/data/vorel.dat");
    return true;
  }();
  (void)loaded;
  const uint8_t options = size > 0 ? data[0] : 0;
  if (size > 0) {
    ++data;
    --size;
  }
  settings::ApplyDefaults();
  settings::SetParam("LogFile", fuzz::WriteScratch("access.log", data, size));
  settings::SetParam("SpecifyDate", (options & 1) != 0);
  settings::SetParam("SpecifyPage", (options & 2) != 0);
  settings::SetParam("SearchLike", (options & 4) != 0);
  settings::SetParam("SpecifyClass", (options & 8) == 0);
  settings::SetParam("Smallize", (options & 16) != 0);
  settings::SetParam("IgnoreIP", (options & 32) != 0);
  settings::SetParam("IgnorePage", (options & 64) != 0);
  settings::SetParam("CodeChange", (options & 128) == 0);
  if (analysis::AnalyzeLog(0) && (options & 1) == 0) analysis::AnalyzeLog(1);
  if (analysis::Result().Total > 0) {
    reports::WriteTextReport(fuzz::ScratchFile("report.txt"));
    reports::WriteCsvReport(fuzz::ScratchFile("report.csv"));
    reports::WriteHtmlReport(fuzz::ScratchFile("report.html"));
  }
  analysis::ResetResult();
  return 0;
}
