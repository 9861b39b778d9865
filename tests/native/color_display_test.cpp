#include "core/color_display.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>

namespace {

TEST(NumbersText, RedGreenBlueFromTheLowestByte) {
  struct Case {
    ColorValue color;
    const char* text;
  };
  const Case cases[] = {
      {0, "[0，0，0]"},
      {255, "[255，0，0]"},
      {0x00FF00, "[0，255，0]"},
      {255 * 65536, "[0，0，255]"},
      {0x00FF8040, "[64，128，255]"},
      {0x01FF0000, "[0，0，255]"},  // the top byte takes no part
      {INT32_MAX, "[255，255，255]"},
      {-1, "[-1，0，0]"},
      {-256, "[0，-1，0]"},
      {-65536, "[0，0，-1]"},
      {static_cast<ColorValue>(0x80000008u), "[-248，-255，-255]"},
      {INT32_MIN, "[0，0，0]"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("color " + std::to_string(c.color));
    EXPECT_EQ(NumbersText(c.color), c.text);
  }
}

int looked_up = -1;  // index of the last system colour asked for
std::uint32_t FakeSystemColor(int index) {
  looked_up = index;
  return 0x00ABCD00u + static_cast<std::uint32_t>(index);
}

TEST(ScreenColor, NegativeNamesTheSystemColourOfItsLowByte) {
  struct Case {
    ColorValue color;
    int index;
  };
  const Case cases[] = {
      {-1, 255}, {static_cast<ColorValue>(0x8000000Fu), 15}, {static_cast<ColorValue>(0x80000008u), 8},
      {INT32_MIN, 0}, {-256, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("color " + std::to_string(c.color));
    looked_up = -1;
    EXPECT_EQ(ScreenColor(c.color, FakeSystemColor), 0x00ABCD00u + static_cast<std::uint32_t>(c.index));
    EXPECT_EQ(looked_up, c.index);
  }
}

TEST(ScreenColor, OtherValuesPassUnchanged) {
  for (ColorValue color : {0, 255, 0x00804040, 0x01FF0000, 0x02000000, INT32_MAX}) {
    SCOPED_TRACE("color " + std::to_string(color));
    looked_up = -1;
    EXPECT_EQ(ScreenColor(color, FakeSystemColor), static_cast<std::uint32_t>(color));
    EXPECT_EQ(looked_up, -1);
  }
}

}  // namespace
