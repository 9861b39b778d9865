#pragma once

// Hostile registry data: every value type in every awkward shape, shared by
// the in-process table and the one that drives the real program.

#include <windows.h>

#include <string>
#include <string_view>

#include "core/color_table.h"
#include "scratch_registry.h"

namespace hostile {

struct ValueType {
  const char* name;
  DWORD type;
  bool is_string;  // read as text: REG_SZ and REG_EXPAND_SZ only
};

// 0x10001: a reader that keeps only the low 16 bits of the type would take
// it for REG_SZ.
inline constexpr ValueType kTypes[] = {
    {"REG_NONE", REG_NONE, false},
    {"REG_SZ", REG_SZ, true},
    {"REG_EXPAND_SZ", REG_EXPAND_SZ, true},
    {"REG_BINARY", REG_BINARY, false},
    {"REG_DWORD", REG_DWORD, false},
    {"REG_DWORD_BIG_ENDIAN", REG_DWORD_BIG_ENDIAN, false},
    {"REG_LINK", REG_LINK, false},
    {"REG_MULTI_SZ", REG_MULTI_SZ, false},
    {"REG_QWORD", REG_QWORD, false},
    {"type 0x10001", 0x10001, false},
};

struct Shape {
  const char* name;
  std::string bytes;
  // What a string read gives; every other type gives 0. Each shape's data
  // is hexadecimal UTF-16 text, so a reader that ignores the type shows a
  // colour where it must show 0.
  ColorValue as_string;
};

// Zeros are free in front of a hexadecimal text: a value that is read only
// in part shows 0 instead of its colour.
inline std::string PaddedHex(std::size_t bytes, std::wstring_view digits) {
  std::wstring text(bytes / 2 - digits.size(), L'0');
  text += digits;
  return scratch_registry::Utf16(text);
}

inline constexpr std::size_t kMebibyte = std::size_t{1} << 20;

inline const Shape* Shapes() {
  using namespace std::literals;
  using scratch_registry::Utf16;
  static const Shape shapes[] = {
      {"0 bytes", "", 0},
      {"1 byte", "7", 0},
      {"odd length", Utf16(L"12AB34") + "5", 0x12AB34},
      {"no terminating NUL", Utf16(L"56CD78"), 0x56CD78},
      {"embedded NUL", Utf16(L"9A\0BCDEF\0"sv), 0x9A},
      {"1 MiB", PaddedHex(kMebibyte, L"3C5A7E"), 0x3C5A7E},
      {"16 MiB", PaddedHex(16 * kMebibyte, L"7E5A3C"), 0x7E5A3C},
  };
  return shapes;
}
inline constexpr std::size_t kShapeCount = 7;
inline const Shape& Biggest() { return Shapes()[kShapeCount - 1]; }

inline ColorValue Expected(const ValueType& type, const Shape& shape) {
  return type.is_string ? shape.as_string : 0;
}

}  // namespace hostile
