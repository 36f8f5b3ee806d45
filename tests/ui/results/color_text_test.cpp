// Colour settings RRRGGGBBB to colour values.
#include "ui/results/color_text.h"

#include <gtest/gtest.h>

#include "graph_test_support.h"

namespace vorel::ui::testing {
namespace {

using settings::SetParam;

TEST(ColorFromTextTest, GroupsAreRedGreenBlue) {
  EXPECT_EQ(ColorFromText("255128064"), 255u + 128u * 256 + 64u * 65536);
  EXPECT_EQ(ColorFromText("000032128"), 32u * 256 + 128u * 65536);
  EXPECT_EQ(ColorFromText("000000000"), 0u);
  EXPECT_EQ(ColorFromText("255255255"), 0xFFFFFFu);
}

TEST(ColorFromTextTest, GroupAbove255CountsAs255) {
  EXPECT_EQ(ColorFromText("300000999"), RgbColor(255, 0, 255));
  EXPECT_EQ(ColorFromText("256256256"), 0xFFFFFFu);
}

TEST(ColorFromTextTest, GroupThatIsNoNumberTakesTheFallbackComponent) {
  const uint32_t fallback = RgbColor(1, 2, 3);
  EXPECT_EQ(ColorFromText("abc100200", fallback), RgbColor(1, 100, 200));
  EXPECT_EQ(ColorFromText("1001x1200", fallback), RgbColor(100, 2, 200));
  EXPECT_EQ(ColorFromText("100200-12", fallback), RgbColor(100, 200, 3));
  EXPECT_EQ(ColorFromText("   100200", fallback), RgbColor(1, 100, 200));
  EXPECT_EQ(ColorFromText(" 12100200", fallback), RgbColor(12, 100, 200));
  // Short or empty texts: the missing groups fall back.
  EXPECT_EQ(ColorFromText("255", fallback), RgbColor(255, 2, 3));
  EXPECT_EQ(ColorFromText("", fallback), fallback);
  // Bytes of a double-byte character are not digits either.
  EXPECT_EQ(ColorFromText("２５５000000", fallback), RgbColor(1, 2, 3));
}

class ColorFromParamTest : public GraphTest {};

TEST_F(ColorFromParamTest, ReadsTheSettingAndFallsBackToItsDefault) {
  EXPECT_EQ(ColorFromParam("GraphDate"), RgbColor(235, 225, 115));
  SetParam("GraphDate", "010020030");
  EXPECT_EQ(ColorFromParam("GraphDate"), RgbColor(10, 20, 30));
  // A hand-edited setting of the right length but with letters.
  SetParam("GraphDate", "0x0020zzz");
  EXPECT_EQ(ColorFromParam("GraphDate"), RgbColor(235, 20, 115));
}

}  // namespace
}  // namespace vorel::ui::testing
