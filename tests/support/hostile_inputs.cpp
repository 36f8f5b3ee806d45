#include "support/hostile_inputs.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

namespace vorel::testing {
namespace {

constexpr uint64_t kBasis = 14695981039346656037ull;
constexpr uint64_t kPrime = 1099511628211ull;

uint64_t Step(uint64_t h, uint64_t word) {
  h = (h ^ word) * kPrime;
  return h ^ (h >> 29);
}

// Inverse of Step's mixing: x ^= x >> 29 undone, then the multiplication.
uint64_t Unmix(uint64_t y) {
  uint64_t x = y ^ (y >> 29) ^ (y >> 58);
  uint64_t inverse = kPrime;  // Newton's iteration for the inverse modulo 2^64
  for (int i = 0; i < 6; ++i) inverse *= 2 - kPrime * inverse;
  return x * inverse;
}

std::string FirstWord(size_t i) {
  char word[9];
  std::snprintf(word, sizeof(word), "h%07zu", i);
  return std::string(word, 8);
}

}  // namespace

std::vector<std::string> NamesCollidingUnderPlainHash(size_t count) {
  const uint64_t target = 0x5EED5EED5EED5EEDull;
  std::vector<std::string> names;
  names.reserve(count);
  for (size_t i = 0; i < count; ++i) {
    std::string name = FirstWord(i);
    uint64_t first;
    std::memcpy(&first, name.data(), 8);
    const uint64_t second = Unmix(target) ^ Step(kBasis, first);
    name.append(reinterpret_cast<const char*>(&second), 8);
    names.push_back(std::move(name));
  }
  return names;
}

std::vector<std::string> OrdinaryNames(size_t count) {
  std::vector<std::string> names;
  names.reserve(count);
  for (size_t i = 0; i < count; ++i) names.push_back(FirstWord(i) + FirstWord(count - i));
  return names;
}

std::string PortChainReferrer(size_t parts) {
  std::string text = "http://x";
  text.reserve(text.size() + 3 * parts);
  for (size_t i = 0; i < parts; ++i) text += ":1/";
  return text;
}

std::string NearMissAgent(size_t bytes) {
  std::string text = "2#";
  text.reserve(bytes + 4);
  while (text.size() < bytes) text += "win9";
  return text;
}

}  // namespace vorel::testing
