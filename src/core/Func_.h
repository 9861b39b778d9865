#pragma once

#include <cstdint>
#include <string_view>

// Converts an integer text to a 32-bit signed value. Never throws; every text
// it cannot convert gives 0, so a stored 0 and a bad text look the same.
//
// "$" followed by one or more hexadecimal digits (0-9, A-F, a-f) is read as
// hexadecimal: the digits accumulate into 32 unsigned bits, and a digit that
// arrives while the accumulator is above 0x0FFFFFFF is an error. So leading
// zeros are free, at most eight significant digits fit, and eight-digit
// texts from 80000000 up come out negative ("$FFFFFFFF" is -1). Blanks,
// signs and any second prefix after "$" are errors.
//
// Any other text is read as decimal with an optional "+" or "-", and must
// fit in 32 signed bits.
[[nodiscard]] std::int32_t StrToIntOrZero(std::string_view text) noexcept;
