#include "platform/huge_pages.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace vorel::platform {
namespace {

// An array grows from heap memory into huge-page memory and back to nothing,
// keeping its content; the large blocks start on a huge-page boundary.
TEST(HugePageAllocator, ArraysGrowThroughBothKindsOfMemory) {
  std::vector<uint32_t, HugePageAllocator<uint32_t>> values;
  const size_t count = 3 * kHugePageBytes / sizeof(uint32_t);
  for (size_t i = 0; i < count; ++i) {
    values.push_back(static_cast<uint32_t>(i * 2654435761u));
    if (values.capacity() * sizeof(uint32_t) >= kHugePageBytes)
      ASSERT_EQ(reinterpret_cast<uintptr_t>(values.data()) % kHugePageBytes, 0u) << i;
  }
  for (size_t i = 0; i < count; ++i) ASSERT_EQ(values[i], static_cast<uint32_t>(i * 2654435761u)) << i;
  values.resize(10);
  values.shrink_to_fit();
  EXPECT_EQ(values.back(), static_cast<uint32_t>(9 * 2654435761u));
}

}  // namespace
}  // namespace vorel::platform
