#pragma once

#include <string>
#include <string_view>

#include "core/utf.h"

namespace win32 {

// wchar_t is UTF-16 on Windows; these just change the code unit type.
inline std::wstring Wide(std::string_view utf8) {
  const std::u16string text = Utf16FromUtf8(utf8);
  return {text.begin(), text.end()};
}

inline std::string Narrow(std::wstring_view text) {
  return Utf8FromUtf16(std::u16string(text.begin(), text.end()));
}

}  // namespace win32
