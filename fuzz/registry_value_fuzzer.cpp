// ValueFromRegistryData with any type and any data. Input: the type as 4
// little-endian bytes, then the data. ASan reports any read past the data;
// the rest is checked here.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/registry.h"

namespace {

[[noreturn]] void Fail(const char* what, std::uint32_t type, std::size_t size) {
  std::fprintf(stderr, "ValueFromRegistryData(type %#x, %zu bytes): %s\n", type, size, what);
  std::abort();
}

// Well-formed UTF-8: shortest forms only, no surrogates, nothing past
// U+10FFFF.
bool IsValidUtf8(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t length = 0;
    char32_t c = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
      ++i;
      continue;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2, c = lead & 0x1Fu, minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3, c = lead & 0x0Fu, minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4, c = lead & 0x07u, minimum = 0x10000;
    } else {
      return false;
    }
    if (text.size() - i < length) return false;
    for (std::size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      c = (c << 6) | (next & 0x3Fu);
    }
    if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return false;
    i += length;
  }
  return true;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// The documented reading of string data: little-endian UTF-16 units up to
// the first NUL or the last whole unit; a surrogate without its partner
// becomes U+FFFD.
std::string ReferenceText(const std::uint8_t* data, std::size_t size) {
  std::string out;
  const std::size_t units = size / 2;
  const auto unit = [&](std::size_t i) -> char32_t { return data[2 * i] | (data[2 * i + 1] << 8); };
  for (std::size_t i = 0; i < units && unit(i) != 0; ++i) {
    const char32_t c = unit(i);
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < units && unit(i + 1) >= 0xDC00 && unit(i + 1) <= 0xDFFF) {
      AppendUtf8(out, 0x10000 + ((c - 0xD800) << 10) + (unit(i + 1) - 0xDC00));
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      AppendUtf8(out, 0xFFFD);
    } else {
      AppendUtf8(out, c);
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
  if (!IsValidUtf8(read.text)) Fail("text is not valid UTF-8", type, size);
  if (read.text != (size == 0 ? std::string() : ReferenceText(data, size))) {
    Fail("text differs from the UTF-16 up to the first NUL", type, size);
  }
  return 0;
}
