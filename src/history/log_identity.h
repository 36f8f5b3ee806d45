// A log's identity in the history: the SHA-256 of its first 4 KiB after
// decompression. A log that grew, and a rotated or compressed copy of it,
// keep the identity; the read position stored with it says how far the
// history has taken the log in.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vorel::history {

inline constexpr size_t kIdentityBytes = 4096;

// The 32-byte digest of `head` (at most kIdentityBytes of the log's start).
std::string LogIdentity(std::string_view head);

}  // namespace vorel::history
