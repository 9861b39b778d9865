#include "core/registry.h"
#include "core/utf.h"

ValueRead ValueFromRegistryData(std::uint32_t type, const unsigned char* data, std::size_t size) {
  if (size == 0) return {ValueStatus::kText, {}};
  if (!IsStringType(type)) return {ValueStatus::kNotString, {}};

  std::u16string text;
  const std::size_t units = size / 2;
  text.reserve(units);
  for (std::size_t i = 0; i < units; ++i) {
    const auto unit = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
    if (unit == u'\0') break;
    text += unit;
  }
  return {ValueStatus::kText, Utf8FromUtf16(text)};
}
