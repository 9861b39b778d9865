#pragma once

// gtest printers for core types. Every test file comparing these must include
// this: a comparison instantiated without it prints raw bytes, and the linker
// may keep that copy for all files.

#include <ostream>

#include "core/color_table.h"

inline void PrintTo(const ColorTable& table, std::ostream* out) {
  for (int slot = 1; slot <= kSlotCount; ++slot) *out << (slot == 1 ? "{" : ", ") << table.Get(slot);
  *out << "}";
}
