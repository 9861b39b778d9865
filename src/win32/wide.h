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

// UTF-16 text for one wide call, NUL-terminated. Held as char16_t because
// libstdc++ keeps std::wstring's members in one object that a static link
// takes whole (about 24 KiB of Tintwise.exe); std::u16string's are
// instantiated here, only those used.
class WideText {
 public:
  explicit WideText(std::string_view utf8) : text_(Utf16FromUtf8(utf8)) {}
  [[nodiscard]] const wchar_t* c_str() const { return reinterpret_cast<const wchar_t*>(text_.c_str()); }
  [[nodiscard]] int size() const { return static_cast<int>(text_.size()); }

 private:
  static_assert(sizeof(wchar_t) == sizeof(char16_t), "wide calls take UTF-16");
  std::u16string text_;
};

}  // namespace win32
