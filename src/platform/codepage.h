// Conversion between code page 932 (Shift_JIS, Microsoft variant) and UTF-8.
// Every file vorel reads or writes is CP932; inside the program all text is UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace vorel::platform {

// Decodes CP932 bytes that arrive in arbitrary pieces. A double-byte character
// split across two pieces decodes as the one character it is. Bytes that are
// not valid CP932 become U+FFFD; an ASCII byte is never swallowed by a broken
// lead byte, so line structure survives damaged text.
class Cp932Decoder {
 public:
  // Appends the UTF-8 text of `bytes` to `out`.
  void Decode(std::string_view bytes, std::string& out);
  // Ends the stream: a lead byte still waiting for its second byte becomes U+FFFD.
  void Finish(std::string& out);
  void Reset() { pendingLead_ = -1; }
  // A lead byte is waiting for its second byte.
  bool HasPendingLead() const { return pendingLead_ >= 0; }

 private:
  int pendingLead_ = -1;
};

// Whole-buffer conversions.
std::string Cp932ToUtf8(std::string_view bytes);
// Characters CP932 cannot represent (and malformed UTF-8 bytes) become "?".
std::string Utf8ToCp932(std::string_view utf8);

// True when the bytes are well-formed UTF-8 (no overlong forms, no
// surrogates, nothing past U+10FFFF). Plain ASCII is well-formed.
bool IsValidUtf8(std::string_view bytes);

// Appends one code point as UTF-8.
void AppendUtf8(char32_t codePoint, std::string& out);

// Reads one code point of UTF-8 text at `i` and advances past it; a
// malformed byte gives -1 and advances by one.
long NextCodePoint(std::string_view utf8, size_t& i);

// Number of characters in UTF-8 text (code points; malformed bytes count one each).
size_t Utf8Length(std::string_view utf8);

}  // namespace vorel::platform
