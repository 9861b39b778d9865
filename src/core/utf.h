#pragma once

#include <string>
#include <string_view>

// UTF-8 inside the program, UTF-16 at the Windows boundary. Ill-formed
// input never fails: each broken sequence or lone surrogate becomes U+FFFD,
// which keeps it a non-digit for the colour conversion.
[[nodiscard]] std::string Utf8FromUtf16(std::u16string_view text);
[[nodiscard]] std::u16string Utf16FromUtf8(std::string_view text);
