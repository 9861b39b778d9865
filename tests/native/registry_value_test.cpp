#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "core/Func_.h"
#include "core/registry.h"
#include "core/utf.h"

namespace {

using namespace std::literals;

constexpr std::uint32_t kRegNone = 0, kRegBinary = 3, kRegDword = 4, kRegMultiSz = 7, kRegQword = 11;

std::vector<unsigned char> Utf16Bytes(std::u16string_view text) {
  std::vector<unsigned char> bytes;
  for (char16_t unit : text) {
    bytes.push_back(static_cast<unsigned char>(unit & 0xFF));
    bytes.push_back(static_cast<unsigned char>(unit >> 8));
  }
  return bytes;
}

// Hands the data over in an exact-size heap block, so reading past it is a
// sanitizer error.
ValueRead FromData(std::uint32_t type, const std::vector<unsigned char>& bytes) {
  const auto exact = std::make_unique<unsigned char[]>(bytes.size());
  std::copy(bytes.begin(), bytes.end(), exact.get());
  return ValueFromRegistryData(type, exact.get(), bytes.size());
}

const char* StatusName(ValueStatus status) {
  switch (status) {
    case ValueStatus::kText: return "kText";
    case ValueStatus::kMissing: return "kMissing";
    case ValueStatus::kNotString: return "kNotString";
    case ValueStatus::kUnreadable: return "kUnreadable";
  }
  return "?";
}

TEST(ValueFromRegistryData, Table) {
  using Bytes = std::vector<unsigned char>;
  auto with = [](Bytes bytes, std::initializer_list<unsigned char> more) {
    bytes.insert(bytes.end(), more);
    return bytes;
  };
  const std::u16string lone_high{u'A', char16_t(0xD800), u'B'};
  const std::u16string lone_low{char16_t(0xDC00)};
  struct Case {
    const char* name;
    std::uint32_t type;
    Bytes data;
    ValueStatus status;
    std::string text;
  };
  const Case cases[] = {
      {"sz with terminator", kRegSz, Utf16Bytes(u"00FF00\0"sv), ValueStatus::kText, "00FF00"},
      {"sz without terminator", kRegSz, Utf16Bytes(u"FF"sv), ValueStatus::kText, "FF"},
      {"sz cut at first NUL", kRegSz, Utf16Bytes(u"0000FF\0FF\0"sv), ValueStatus::kText, "0000FF"},
      {"sz starting with NUL", kRegSz, Utf16Bytes(u"\0FF"sv), ValueStatus::kText, ""},
      {"sz odd byte count", kRegSz, with(Utf16Bytes(u"AB"sv), {'C'}), ValueStatus::kText, "AB"},
      {"sz one byte", kRegSz, {'A'}, ValueStatus::kText, ""},
      {"sz little-endian", kRegSz, {0x41, 0x30}, ValueStatus::kText, "ぁ"},
      {"sz size 0", kRegSz, {}, ValueStatus::kText, ""},
      {"dword size 0", kRegDword, {}, ValueStatus::kText, ""},
      {"none size 0", kRegNone, {}, ValueStatus::kText, ""},
      {"expand_sz not expanded", kRegExpandSz, Utf16Bytes(u"%PATH%\0"sv), ValueStatus::kText, "%PATH%"},
      {"japanese", kRegSz, Utf16Bytes(u"線色１\0"sv), ValueStatus::kText, "線色１"},
      {"full-width digits", kRegSz, Utf16Bytes(u"ＦＦ\0"sv), ValueStatus::kText, "ＦＦ"},
      {"surrogate pair", kRegSz, Utf16Bytes(u"😀"sv), ValueStatus::kText, "😀"},
      {"lone high surrogate", kRegSz, Utf16Bytes(lone_high), ValueStatus::kText, "A\uFFFDB"},
      {"lone low surrogate", kRegSz, Utf16Bytes(lone_low), ValueStatus::kText, "\uFFFD"},
      {"dword", kRegDword, {0xFF, 0, 0, 0}, ValueStatus::kNotString, ""},
      {"binary", kRegBinary, Utf16Bytes(u"FF\0"sv), ValueStatus::kNotString, ""},
      {"multi_sz", kRegMultiSz, Utf16Bytes(u"FF\0\0"sv), ValueStatus::kNotString, ""},
      {"none with data", kRegNone, Utf16Bytes(u"FF\0"sv), ValueStatus::kNotString, ""},
      {"qword", kRegQword, {0xFF, 0, 0, 0, 0, 0, 0, 0}, ValueStatus::kNotString, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const ValueRead read = FromData(c.type, c.data);
    EXPECT_STREQ(StatusName(read.status), StatusName(c.status));
    EXPECT_EQ(read.text, c.text);
  }
}

TEST(ValueFromRegistryData, ReadsOnlyTheCountedBytes) {
  const std::vector<unsigned char> buffer = Utf16Bytes(u"FF1"sv);  // no NUL anywhere
  EXPECT_EQ(ValueFromRegistryData(kRegSz, buffer.data(), 4).text, "FF");
  EXPECT_EQ(ValueFromRegistryData(kRegSz, buffer.data(), 5).text, "FF");  // odd: '1' half-read
}

TEST(ValueFromRegistryData, NonAsciiTextNeverBecomesADigit) {
  for (const std::u16string& text : {std::u16string(u"ＦＦ"), std::u16string{char16_t(0xD800)},
                                     std::u16string(u"１２")}) {
    const ValueRead read = FromData(kRegSz, Utf16Bytes(text));
    ASSERT_EQ(read.status, ValueStatus::kText);
    EXPECT_EQ(StrToIntOrZero("$" + read.text), 0) << read.text;
  }
}

TEST(Utf, JapaneseRoundTrip) {
  const std::string utf8 = "Jw_cad 線色１ ｽﾞｰﾑ色 グレー 😀";
  const std::u16string utf16 = u"Jw_cad 線色１ ｽﾞｰﾑ色 グレー 😀";
  EXPECT_EQ(Utf16FromUtf8(utf8), utf16);
  EXPECT_EQ(Utf8FromUtf16(utf16), utf8);
}

// Runs of U+FFFD count as one: how many a broken sequence gives is a policy choice.
std::u16string CollapseReplacements(std::u16string text) {
  std::u16string out;
  for (char16_t c : text) {
    if (!(c == u'\uFFFD' && !out.empty() && out.back() == u'\uFFFD')) out += c;
  }
  return out;
}

TEST(Utf, IllFormedUtf8BecomesReplacementCharacters) {
  struct Case {
    const char* name;
    std::string utf8;
    std::u16string expected;
  };
  const Case cases[] = {
      {"lone continuation", "A\x80" "B", u"A\uFFFDB"},
      {"invalid lead", "\xFF" "1", u"\uFFFD1"},
      {"truncated at end", "A\xE7\xB7", u"A\uFFFD"},
      {"truncated before ASCII", "\xE7\xB7" "F", u"\uFFFDF"},
      {"overlong slash", "\xC0\xAF", u"\uFFFD"},
      {"encoded surrogate", "\xED\xA0\x80" "1", u"\uFFFD1"},
      {"above U+10FFFF", "\xF4\x90\x80\x80", u"\uFFFD"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(CollapseReplacements(Utf16FromUtf8(c.utf8)), c.expected);
  }
}

}  // namespace
