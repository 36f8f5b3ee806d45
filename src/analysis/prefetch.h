// Starting to fetch memory that a lookup a little later will read.
#pragma once

namespace vorel::analysis {

// Starts fetching the cache line that holds `p`. A function that does
// nothing but prefetch has, to the compiler, no effect at all: GCC then takes
// it for pure and drops every call to it. The empty volatile statement is
// an effect it must keep, and the prefetch with it.
inline void Prefetch(const void* p) {
  __builtin_prefetch(p);
  asm volatile("" : : "r"(p));
}

}  // namespace vorel::analysis
