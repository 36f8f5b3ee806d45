// Colour settings are nine decimal digits RRRGGGBBB. These turn one into a
// colour value (red + 256 × green + 65536 × blue, as the prompter's colour
// chooser and the graph windows use it). Plain C++: the options dialog
// reuses it.
#pragma once

#include <cstdint>
#include <string_view>

namespace vorel::ui {

// Red from characters 1-3, green 4-6, blue 7-9; a group above 255 counts as
// 255. A group that is not a number (hand-edited settings, a short text)
// takes that component of `fallback` instead, so nothing ever stops here.
uint32_t ColorFromText(std::string_view text, uint32_t fallback = 0);

// The colour of a colour setting, falling back group by group to the
// setting's default.
uint32_t ColorFromParam(std::string_view key);

inline constexpr uint32_t RgbColor(int red, int green, int blue) {
  return static_cast<uint32_t>(red) | static_cast<uint32_t>(green) << 8 | static_cast<uint32_t>(blue) << 16;
}
inline constexpr int RedOf(uint32_t colour) { return static_cast<int>(colour & 0xFF); }
inline constexpr int GreenOf(uint32_t colour) { return static_cast<int>(colour >> 8 & 0xFF); }
inline constexpr int BlueOf(uint32_t colour) { return static_cast<int>(colour >> 16 & 0xFF); }

}  // namespace vorel::ui
