#pragma once

#include <string_view>

#include "core/color_table.h"
#include "core/registry.h"

// Where Jw_cad keeps its line colours, below HKEY_CURRENT_USER.
inline constexpr std::string_view kJwCadKeyPath = "SOFTWARE\\Jw_cad\\jw_win\\";
inline constexpr std::string_view kPenSection = "Pen";

// Fills all 24 slots from the registry, row by row, screen value before
// printer value. A missing, empty, malformed or non-string value stores 0 in
// its own slot and the pass goes on. The key is created when missing and
// nothing else is ever written. Reports nothing and throws nothing: should
// something unexpected happen, the slots not yet reached keep their values.
void ReadRegistryColors(Registry& registry, ColorTable& table) noexcept;
