// ValueFromRegistryData with any type and any data. Input: the type as 4
// little-endian bytes, then the data. ASan reports any read past the data;
// the rest is checked here.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "core/registry.h"

namespace {

[[noreturn]] void Fail(const char* what, std::uint32_t type, std::size_t size) {
  std::fprintf(stderr, "ValueFromRegistryData(type %#x, %zu bytes): %s\n", type, size, what);
  std::abort();
}

// The code points of well-formed UTF-8 (shortest forms only, no
// surrogates, nothing past U+10FFFF); nothing when it is not well-formed.
std::optional<std::u32string> DecodeUtf8(std::string_view text) {
  std::u32string out;
  std::size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t length = 0;
    char32_t c = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
      length = 1, c = lead;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2, c = lead & 0x1Fu, minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3, c = lead & 0x0Fu, minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4, c = lead & 0x07u, minimum = 0x10000;
    } else {
      return std::nullopt;
    }
    if (text.size() - i < length) return std::nullopt;
    for (std::size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) return std::nullopt;
      c = (c << 6) | (next & 0x3Fu);
    }
    if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return std::nullopt;
    out += c;
    i += length;
  }
  return out;
}

// The documented reading of string data, as code points: little-endian
// UTF-16 units up to the first NUL or the last whole unit; a surrogate
// without its partner becomes U+FFFD.
std::u32string ReferenceCodePoints(const std::uint8_t* data, std::size_t size) {
  std::u32string out;
  const std::size_t units = size / 2;
  const auto unit = [&](std::size_t i) -> char32_t { return data[2 * i] | (data[2 * i + 1] << 8); };
  for (std::size_t i = 0; i < units && unit(i) != 0; ++i) {
    const char32_t c = unit(i);
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < units && unit(i + 1) >= 0xDC00 && unit(i + 1) <= 0xDFFF) {
      out += 0x10000 + ((c - 0xD800) << 10) + (unit(i + 1) - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      out += 0xFFFD;
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* input, std::size_t input_size) {
  if (input_size < 4) return 0;
  const std::uint32_t type = input[0] | input[1] << 8 | input[2] << 16 |
                             static_cast<std::uint32_t>(input[3]) << 24;
  const std::uint8_t* data = input + 4;
  const std::size_t size = input_size - 4;
  const bool is_string = type == 1 || type == 2;  // REG_SZ, REG_EXPAND_SZ
  // Data of other types must never be touched: null makes a touch a crash.
  const ValueRead read = ValueFromRegistryData(type, is_string ? data : nullptr, size);

  if (size == 0 || is_string) {
    if (read.status != ValueStatus::kText) Fail("not kText", type, size);
  } else {
    if (read.status != ValueStatus::kNotString) Fail("not kNotString", type, size);
    if (!read.text.empty()) Fail("kNotString with text", type, size);
    return 0;
  }
  if (read.text.find('\0') != std::string::npos) Fail("text holds a NUL", type, size);
  const std::optional<std::u32string> decoded = DecodeUtf8(read.text);
  if (!decoded) Fail("text is not valid UTF-8", type, size);
  if (*decoded != (size == 0 ? std::u32string() : ReferenceCodePoints(data, size))) {
    Fail("text differs from the UTF-16 up to the first NUL", type, size);
  }
  return 0;
}
