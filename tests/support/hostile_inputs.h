// Inputs that a hostile visitor can write into a log to make a careless
// analyser slow: shared by the tests (which give them a time budget) and the
// benchmarks (which show that they cost what ordinary inputs cost).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace vorel::testing {

// `count` distinct 16-byte names that all share one value under an unkeyed
// word-wise multiply-xorshift hash (FNV-1a over 8-byte words), the kind of
// hash anyone can invert: each name's second word is solved for the target.
std::vector<std::string> NamesCollidingUnderPlainHash(size_t count);
// The same number of ordinary names of the same length.
std::vector<std::string> OrdinaryNames(size_t count);

// A referrer "http://x" followed by ":1/" `parts` times: every part is a
// port number that qualifies for removal.
std::string PortChainReferrer(size_t parts);

// An agent record of about `bytes` bytes: "2#" and "win9" repeated, which
// nearly matches "*win*95*" at every position.
std::string NearMissAgent(size_t bytes);

}  // namespace vorel::testing
