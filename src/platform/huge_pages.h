// Memory for the large arrays that a pass reads at random (hash indexes,
// entry arrays): backed by huge pages where the system allows, since a
// lookup in a table of hundreds of thousands of names otherwise costs a
// page-table walk as well as a cache miss.
#pragma once

#include <cstddef>
#include <memory>
#include <new>

namespace vorel::platform {

// Below this size memory comes from the ordinary heap.
inline constexpr size_t kHugePageBytes = size_t{2} << 20;

// `bytes` (a multiple of kHugePageBytes) aligned to a huge page and marked
// for huge pages; nullptr when out of memory.
void* AllocateHugePages(size_t bytes) noexcept;
void FreeHugePages(void* p, size_t bytes) noexcept;

template <class T>
struct HugePageAllocator {
  using value_type = T;
  HugePageAllocator() = default;
  template <class U>
  HugePageAllocator(const HugePageAllocator<U>&) noexcept {}

  T* allocate(size_t n) {
    const size_t bytes = n * sizeof(T);
    if (bytes < kHugePageBytes) return std::allocator<T>().allocate(n);
    void* p = AllocateHugePages(Rounded(bytes));
    if (!p) throw std::bad_alloc();
    return static_cast<T*>(p);
  }
  void deallocate(T* p, size_t n) noexcept {
    const size_t bytes = n * sizeof(T);
    if (bytes < kHugePageBytes) std::allocator<T>().deallocate(p, n);
    else FreeHugePages(p, Rounded(bytes));
  }
  template <class U>
  bool operator==(const HugePageAllocator<U>&) const noexcept { return true; }

 private:
  static size_t Rounded(size_t bytes) { return (bytes + kHugePageBytes - 1) / kHugePageBytes * kHugePageBytes; }
};

}  // namespace vorel::platform
