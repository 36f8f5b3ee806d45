#include "platform/huge_pages.h"

#include <sys/mman.h>

#include <cstdlib>

namespace vorel::platform {

void* AllocateHugePages(size_t bytes) noexcept {
  void* p = std::aligned_alloc(kHugePageBytes, bytes);
  if (p) madvise(p, bytes, MADV_HUGEPAGE);  // a hint: without it the memory works as well
  return p;
}

void FreeHugePages(void* p, size_t) noexcept { std::free(p); }

}  // namespace vorel::platform
