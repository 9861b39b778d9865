#pragma once

#include <array>
#include <cstdint>
#include <string>

// A colour as Jw_cad stores it: red in bits 0-7, green 8-15, blue 16-23,
// and the top byte kept as stored. Negative values name system colours.
using ColorValue = std::int32_t;

inline constexpr int kRowCount = 12;
inline constexpr int kSlotCount = 2 * kRowCount;

// The 24 colours on show. Slot k (1-12) is row k of the screen column, slot
// 12 + k row k of the printer column. Every slot starts at 0 and keeps its
// value until a read stores a new one.
class ColorTable {
 public:
  // index is 1-24; anything else throws std::out_of_range.
  [[nodiscard]] ColorValue Get(int index) const { return slots_.at(Offset(index)); }
  void Set(int index, ColorValue value) { slots_.at(Offset(index)) = value; }

  friend bool operator==(const ColorTable& a, const ColorTable& b) { return a.slots_ == b.slots_; }
  friend bool operator!=(const ColorTable& a, const ColorTable& b) { return !(a == b); }

 private:
  // Unsigned wrap-around sends every bad index, INT_MIN included, past the end.
  static std::size_t Offset(int index) { return static_cast<std::size_t>(index) - 1; }
  std::array<ColorValue, kSlotCount> slots_{};
};

// Row k (1-12) written with two digits: "01" ... "12".
[[nodiscard]] std::string TwoDigitIndex(int row);

// Registry value names of row k: "Color01" ... on the screen side; on the
// printer side "PrCol01" ..., except rows 9, 10, 11, which Jw_cad keeps as
// "Color00", "ColorZl", "ColorZm".
[[nodiscard]] std::string ScreenValueName(int row);
[[nodiscard]] std::string PrinterValueName(int row);
