#include "platform/terminal.h"

#include <iconv.h>
#include <langinfo.h>

#include <cerrno>
#include <clocale>
#include <cstring>
#include <string>

#include "platform/codepage.h"

namespace vorel::platform {

std::string ToTerminalEncoding(std::string_view utf8) {
  // The C locale is the default of a program until it asks for the user's.
  static const std::string codeset = [] {
    const char* saved = std::setlocale(LC_CTYPE, nullptr);
    std::string previous = saved ? saved : "C";
    std::setlocale(LC_CTYPE, "");
    std::string cs = nl_langinfo(CODESET);
    std::setlocale(LC_CTYPE, previous.c_str());
    return cs;
  }();
  if (codeset.empty() || codeset == "UTF-8" || codeset == "utf8" || codeset == "ANSI_X3.4-1968")
    return std::string(utf8);
  if (codeset == "SHIFT_JIS" || codeset == "CP932" || codeset == "SJIS") return Utf8ToCp932(utf8);
  iconv_t cd = iconv_open((codeset + "//TRANSLIT").c_str(), "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(utf8);
  std::string in(utf8);
  std::string out(in.size() * 4 + 16, '\0');
  char* inPtr = in.data();
  size_t inLeft = in.size();
  char* outPtr = out.data();
  size_t outLeft = out.size();
  while (inLeft > 0) {
    if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1)) {
      if (errno != EILSEQ || outLeft == 0) break;
      *outPtr++ = '?';
      --outLeft;
      ++inPtr;
      --inLeft;
    }
  }
  iconv_close(cd);
  out.resize(out.size() - outLeft);
  return out;
}

}  // namespace vorel::platform
