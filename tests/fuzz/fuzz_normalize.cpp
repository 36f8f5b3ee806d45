// Normalisation of referrers and host records, and the code page layer. The
// first byte chooses the options; the rest is a CP932 text. Decoding in two
// pieces must give what decoding in one gives, wherever the cut.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "analysis/normalize.h"
#include "fuzz_support.h"
#include "platform/codepage.h"

using namespace vorel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint8_t bits = data[0];
  const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);

  const std::string text = platform::Cp932ToUtf8(bytes);
  const size_t cut = bytes.empty() ? 0 : bits % (bytes.size() + 1);
  platform::Cp932Decoder decoder;
  std::string pieces;
  decoder.Decode(bytes.substr(0, cut), pieces);
  decoder.Decode(bytes.substr(cut), pieces);
  decoder.Finish(pieces);
  if (pieces != text) std::abort();
  platform::Utf8ToCp932(text);
  platform::Utf8ToCp932(bytes);  // not UTF-8 at all, most of the time
  platform::Utf8Length(bytes);

  analysis::NormalizeOptions o;
  o.codeChange = bits & 1;
  o.ignoreIndex = bits & 2;
  o.ignoreQuestion = bits & 4;
  o.ignoreSharp = bits & 8;
  o.ignorePortNo = bits & 16;
  o.smallize = bits & 32;
  o.specifyHost = bits & 64;
  o.ignoreHost = bits & 128;
  o.specifyClass = !(bits & 64);
  const std::vector<std::string> names = {"index.html", "default.htm"};
  const std::vector<std::string> hosts = {"ocn.ne.jp", "1.2."};
  analysis::NormalizeRef(text, o, names);
  analysis::MakeHostKey("4#" + text, o, hosts);
  analysis::MakeHostKey(text, o, hosts);
  analysis::NumberTextOf(text);
  return 0;
}
