#pragma once

#include <cstdint>
#include <string>

#include "core/color_table.h"

// "[red，green，blue]" with full-width commas (U+FF0C), UTF-8. The parts
// come from signed arithmetic, as Jw_cad users have always seen them:
// -1 shows "[-1，0，0]" and -256 "[0，-1，0]". The top byte takes no part.
[[nodiscard]] std::string NumbersText(ColorValue color);

// The screen colour (a COLORREF) for a colour value: a negative value names
// the system colour of its low byte; any other value is passed on unchanged,
// top byte included.
using SystemColorLookup = std::uint32_t (*)(int index);
[[nodiscard]] std::uint32_t ScreenColor(ColorValue color, SystemColorLookup system_color);
