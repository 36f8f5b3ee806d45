#include "ui/results/color_text.h"

#include <algorithm>
#include <optional>
#include <string>

#include "settings/param_store.h"
#include "settings/text_util.h"

namespace vorel::ui {
namespace {

// One three-character group as a component 0..255, or nothing when it holds
// anything but digits (spaces around the digits are allowed).
std::optional<int> Component(std::string_view text, size_t start) {
  if (text.size() <= start) return std::nullopt;
  std::string_view group = settings::TrimSpaces(text.substr(start, 3));
  if (group.empty()) return std::nullopt;
  int value = 0;
  for (char c : group) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return std::min(value, 255);
}

}  // namespace

uint32_t ColorFromText(std::string_view text, uint32_t fallback) {
  const int red = Component(text, 0).value_or(RedOf(fallback));
  const int green = Component(text, 3).value_or(GreenOf(fallback));
  const int blue = Component(text, 6).value_or(BlueOf(fallback));
  return RgbColor(red, green, blue);
}

uint32_t ColorFromParam(std::string_view key) {
  const uint32_t standard = ColorFromText(settings::DefaultText(key));
  return ColorFromText(settings::ParamText(key), standard);
}

}  // namespace vorel::ui
