// Turns a referrer into the key of the referring-page table and a host record
// into the key of the host table, under the user's options. The host step also
// decides whether the access is accepted at all.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vorel::analysis {

// The switches that shape the keys, read from the settings.
struct NormalizeOptions {
  bool codeChange = true;
  bool ignoreIndex = true;
  bool ignoreQuestion = true;
  bool ignoreSharp = true;
  bool ignorePortNo = true;
  bool smallize = false;
  bool specifyHost = false;
  bool ignoreHost = false;
  bool ignoreIP = false;
  bool specifyClass = true;

  static NormalizeOptions FromParams();
};

// The referrer key; empty when the referrer is not counted in Ref.
std::string NormalizeRef(std::string_view text, const NormalizeOptions& options,
                         const std::vector<std::string>& indexNames);
// The host key of a "4#" record, or empty when the access is rejected.
std::string MakeHostKey(std::string_view record, const NormalizeOptions& options,
                        const std::vector<std::string>& hostFilter);
// The record unchanged when the host filter lets it pass, otherwise empty.
std::string FilterHostList(std::string_view record, bool ignoreHost, const std::vector<std::string>& hostFilter);

// The same, with the current settings and classification lists.
std::string NormalizeRef(std::string_view text);
std::string MakeHostKey(std::string_view record);
std::string FilterHostList(std::string_view record);

// A text read as a number the lenient way (leading digits, sign, fraction,
// exponent; nothing readable is 0) and written back in plain decimal.
std::string NumberTextOf(std::string_view text);

}  // namespace vorel::analysis
