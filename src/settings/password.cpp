// The scrambled form of the FTP password: 60 decimal digits holding the
// length, sixteen slots and a check number, so that the password is never
// stored in clear and a damaged form is recognised.
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "platform/codepage.h"
#include "settings/settings_file.h"

namespace vorel::settings {
namespace {

// Only the first kSlots characters take part; the rest keeps the text at the
// length the stored format was designed around.
constexpr char kKeyText[] = "Palvern Company vorel access analyser.";
static_assert(sizeof(kKeyText) - 1 == 38);
constexpr int kSlots = 16;
constexpr size_t kStoredLength = 60;

struct PasswordRandom {
  std::mt19937 engine{std::random_device{}()};
};

PasswordRandom& Random() {
  static PasswordRandom random;
  return random;
}

int RandomBetween(int low, int high) {
  return std::uniform_int_distribution<int>(low, high)(Random().engine);
}

std::string ThreeDigits(int value) {
  std::string text = std::to_string(value);
  return std::string(3 - text.size(), '0') + text;
}

// The single-byte CP932 codes of a text; nothing when a character needs two
// bytes or has no code at all.
std::optional<std::vector<uint8_t>> SingleByteCodes(const std::string& utf8) {
  const std::string bytes = platform::Utf8ToCp932(utf8);
  if (platform::Cp932ToUtf8(bytes) != utf8 || bytes.size() != platform::Utf8Length(utf8)) return std::nullopt;
  return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

// The text of single-byte codes; nothing when a code is no character on its own.
std::optional<std::string> TextOfSingleByteCodes(const std::string& bytes) {
  const std::string utf8 = platform::Cp932ToUtf8(bytes);
  if (platform::Utf8ToCp932(utf8) != bytes || platform::Utf8Length(utf8) != bytes.size()) return std::nullopt;
  return utf8;
}

int NumberAt(const std::string& digits, size_t offset) {
  return (digits[offset] - '0') * 100 + (digits[offset + 1] - '0') * 10 + (digits[offset + 2] - '0');
}

}  // namespace

void SeedPasswordRandom(unsigned seed) { Random().engine.seed(seed); }

std::string ScramblePassword(const std::string& password) {
  auto codes = SingleByteCodes(password);
  if (!codes || codes->size() > kSlots) return {};
  const int n = static_cast<int>(codes->size());
  const int k = RandomBetween(100, 254);

  std::string stored = std::to_string(RandomBetween(10, 24)) + ThreeDigits(k) + std::to_string(RandomBetween(0, 9)) +
                       ThreeDigits(n % k);
  int sum = 0;
  for (int i = 0; i < kSlots; ++i) {
    int slot = i < n ? ((*codes)[static_cast<size_t>(i)] ^ static_cast<uint8_t>(kKeyText[i]) ^ k)
                     : (RandomBetween(100, 254) ^ k);
    stored += ThreeDigits(slot);
    sum += slot;
  }
  stored += ThreeDigits(sum % 255);
  return stored;
}

std::string UnscramblePassword(const std::string& stored) {
  if (stored.size() != kStoredLength) return {};
  for (char c : stored)
    if (c < '0' || c > '9') return {};
  const int k = NumberAt(stored, 2);
  const int n = NumberAt(stored, 6);
  if (n > kSlots) return {};

  std::string bytes;
  int sum = 0;
  for (int i = 1; i <= kSlots; ++i) {
    const int slot = NumberAt(stored, static_cast<size_t>(3 * i + 6));
    sum += slot;
    if (i > n) continue;
    const int code = slot ^ static_cast<uint8_t>(kKeyText[i - 1]) ^ k;
    if (code > 255) return {};
    bytes.push_back(static_cast<char>(code));
  }
  if (NumberAt(stored, 57) != sum % 255) return {};
  return TextOfSingleByteCodes(bytes).value_or(std::string());
}

}  // namespace vorel::settings
