#include "core/color_display.h"

std::string NumbersText(ColorValue color) {
  // C++ division truncates toward zero and the remainder takes the
  // dividend's sign, which is exactly the arithmetic the text is defined by.
  const ColorValue red = color % 256;
  const ColorValue green = (color / 256) % 256;
  const ColorValue blue = (color / 65536) % 256;
  static constexpr const char* kComma = "，";  // full-width, U+FF0C
  return "[" + std::to_string(red) + kComma + std::to_string(green) + kComma +
         std::to_string(blue) + "]";
}

std::uint32_t ScreenColor(ColorValue color, SystemColorLookup system_color) {
  if (color < 0) return system_color(color & 0xFF);
  return static_cast<std::uint32_t>(color);
}
