// StrToIntOrZero against a reference written from the notation alone, in a
// different shape: significant digits are counted, not accumulated.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/Func_.h"

namespace {

bool IsDecimalDigit(char c) { return c >= '0' && c <= '9'; }

bool IsHexDigit(char c) {
  return IsDecimalDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

std::uint64_t Digit(char c) {
  const int value = IsDecimalDigit(c) ? c - '0' : c >= 'a' ? c - 'a' + 10 : c - 'A' + 10;
  return static_cast<std::uint64_t>(value);
}

std::string_view WithoutLeadingZeros(std::string_view digits) {
  const std::size_t first = digits.find_first_not_of('0');
  return first == std::string_view::npos ? std::string_view() : digits.substr(first);
}

// "$" and one or more hex digits. A digit arriving while the accumulator is
// above 0x0FFFFFFF is an error: the accumulator passes that bound only once
// it holds eight significant digits, so eight fit and a ninth does not. The
// 32 bits are then taken as signed.
std::int32_t ReferenceHex(std::string_view digits) {
  if (digits.empty()) return 0;
  for (const char c : digits) {
    if (!IsHexDigit(c)) return 0;
  }
  const std::string_view significant = WithoutLeadingZeros(digits);
  if (significant.size() > 8) return 0;
  std::uint64_t value = 0;
  for (const char c : significant) value = value * 16 + Digit(c);
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

// An optional sign, then one or more decimal digits, within 32 signed bits.
std::int32_t ReferenceDecimal(std::string_view text) {
  bool negative = false;
  if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return 0;
  for (const char c : text) {
    if (!IsDecimalDigit(c)) return 0;
  }
  const std::string_view significant = WithoutLeadingZeros(text);
  if (significant.size() > 10) return 0;  // past 2^31 whatever the digits
  std::int64_t value = 0;
  for (const char c : significant) value = value * 10 + static_cast<std::int64_t>(Digit(c));
  if (negative) value = -value;
  if (value < INT32_MIN || value > INT32_MAX) return 0;
  return static_cast<std::int32_t>(value);
}

std::int32_t Reference(std::string_view text) {
  if (!text.empty() && text[0] == '$') return ReferenceHex(text.substr(1));
  return ReferenceDecimal(text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // A view of exactly the input: reading past it is an ASan report.
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::int32_t got = StrToIntOrZero(text);
  const std::int32_t want = Reference(text);
  if (got != want) {
    std::fprintf(stderr, "StrToIntOrZero(\"%.*s\") = %d, reference %d\n",
                 static_cast<int>(size < 200 ? size : 200), text.data(), got, want);
    std::abort();
  }
  return 0;
}
