#include "core/Func_.h"

#include <cstdint>
#include <limits>

namespace {

int HexDigitValue(char c) noexcept {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::int32_t FromHex(std::string_view digits) noexcept {
  if (digits.empty()) return 0;
  std::uint32_t accumulator = 0;
  for (char c : digits) {
    const int digit = HexDigitValue(c);
    if (digit < 0 || accumulator > 0x0FFFFFFFu) return 0;
    accumulator = accumulator * 16u + static_cast<std::uint32_t>(digit);
  }
  // Eight-digit values from 80000000 up are meant as negative numbers.
  return static_cast<std::int32_t>(accumulator);
}

std::int32_t FromDecimal(std::string_view text) noexcept {
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return 0;
  // Accumulate the magnitude in 64 bits; the limit lets -2147483648 through.
  const std::int64_t limit =
      negative ? -static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::min())
               : std::numeric_limits<std::int32_t>::max();
  std::int64_t magnitude = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return 0;
    magnitude = magnitude * 10 + (c - '0');
    if (magnitude > limit) return 0;
  }
  return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

}  // namespace

std::int32_t StrToIntOrZero(std::string_view text) noexcept {
  if (text.empty()) return 0;
  if (text.front() == '$') return FromHex(text.substr(1));
  return FromDecimal(text);
}
