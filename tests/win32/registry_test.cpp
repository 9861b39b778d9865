#include "win32/win32_registry.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <string>
#include <thread>

#include "core/read_pass.h"
#include "scratch_registry.h"

namespace {

using namespace std::literals;
using namespace scratch_registry;

// Any slot the pass forgets keeps one of these.
ColorValue OldValue(int slot) { return -100 - slot; }

using ReadStringValueTest = ScratchRegistryTest;

TEST_F(ReadStringValueTest, EachTypeAndShape) {
  struct Case {
    const char* name;
    DWORD type;
    std::string bytes;
    ValueStatus status;
    std::string text;
  };
  // Non-string data is valid UTF-16 hex text, so a reader that ignores the
  // type would give text.
  const Case cases[] = {
      {"REG_SZ with terminator", REG_SZ, Utf16(L"0000FF\0"sv), ValueStatus::kText, "0000FF"},
      {"REG_SZ without terminator", REG_SZ, Utf16(L"0000FF"), ValueStatus::kText, "0000FF"},
      {"REG_SZ text after NUL", REG_SZ, Utf16(L"0000FF\0FF"sv), ValueStatus::kText, "0000FF"},
      {"REG_SZ odd byte count", REG_SZ, Utf16(L"0000FF") + "7", ValueStatus::kText, "0000FF"},
      {"REG_SZ zero length", REG_SZ, "", ValueStatus::kText, ""},
      {"REG_DWORD zero length", REG_DWORD, "", ValueStatus::kText, ""},
      {"REG_EXPAND_SZ not expanded", REG_EXPAND_SZ, Utf16(L"%PATH%\0"sv), ValueStatus::kText,
       "%PATH%"},
      {"REG_SZ full-width", REG_SZ, Utf16(L"ＦＦ\0"sv), ValueStatus::kText, "ＦＦ"},
      {"REG_DWORD", REG_DWORD, Utf16(L"FF"), ValueStatus::kNotString, ""},
      {"REG_QWORD", REG_QWORD, Utf16(L"00FF"), ValueStatus::kNotString, ""},
      {"REG_BINARY", REG_BINARY, Utf16(L"0000FF\0"sv), ValueStatus::kNotString, ""},
      {"REG_MULTI_SZ", REG_MULTI_SZ, Utf16(L"0000FF\0\0"sv), ValueStatus::kNotString, ""},
      {"REG_NONE", REG_NONE, Utf16(L"0000FF"), ValueStatus::kNotString, ""},
  };
  ASSERT_NE(GetEnvironmentVariableW(L"PATH", nullptr, 0), 0u) << "nothing to expand";
  const UniqueKey key = CreateKey(kPen);
  for (const Case& c : cases) {
    const std::wstring name = win32::Wide(c.name);
    StoreExact(key.get(), name.c_str(), c.type, c.bytes);
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const ValueRead read = win32::ReadStringValue(key.get(), win32::Wide(c.name).c_str());
    EXPECT_EQ(read.status, c.status);
    EXPECT_EQ(read.text, c.text);
  }
  {
    SCOPED_TRACE("missing value");
    const ValueRead read = win32::ReadStringValue(key.get(), L"Color01");
    EXPECT_EQ(read.status, ValueStatus::kMissing);
    EXPECT_EQ(read.text, "");
  }
}

TEST_F(ReadStringValueTest, MebibyteStringComesBackWhole) {
  std::wstring text(std::size_t{1} << 20, L'\0');
  for (std::size_t i = 0; i < text.size(); ++i) text[i] = L"0123456789ABCDEF"[(i + i / 16) % 16];
  const UniqueKey key = CreateKey(kPen);
  StoreExact(key.get(), L"Color01", REG_SZ, Utf16(text));  // no terminator

  const ValueRead read = win32::ReadStringValue(key.get(), L"Color01");
  EXPECT_EQ(read.status, ValueStatus::kText);
  ASSERT_EQ(read.text.size(), text.size());
  EXPECT_TRUE(read.text == win32::Narrow(text)) << "same length, different text";
}

// Another program may rewrite the value between the size query and the read:
// every read gives one whole text or the other.
TEST_F(ReadStringValueTest, ValueGrowingDuringReadsComesBackWhole) {
  const std::wstring short_text = L"0000FF";
  const std::wstring long_text = L"00FF00" + std::wstring(2000, L'0');
  const UniqueKey key = CreateKey(kPen);
  StoreExact(key.get(), L"Color01", REG_SZ, Utf16(short_text));

  std::atomic<bool> stop{false};
  std::thread writer([&] {
    for (bool grow = true; !stop; grow = !grow) {
      const std::string bytes = Utf16(grow ? long_text : short_text) + "\xFF\xFF";
      RegSetValueExW(key.get(), L"Color01", 0, REG_SZ, reinterpret_cast<const BYTE*>(bytes.data()),
                     static_cast<DWORD>(bytes.size() - 2));
    }
  });
  const std::string short_utf8 = win32::Narrow(short_text), long_utf8 = win32::Narrow(long_text);
  for (int i = 0; i < 3000; ++i) {
    const ValueRead read = win32::ReadStringValue(key.get(), L"Color01");
    if (read.status != ValueStatus::kText || (read.text != short_utf8 && read.text != long_utf8)) {
      ADD_FAILURE() << "read " << i << " gave " << ::testing::PrintToString(read.status) << " \""
                    << read.text.substr(0, 20) << "\" (" << read.text.size() << " bytes)";
      break;
    }
  }
  stop = true;
  writer.join();
}

class RegistryPassTest : public ScratchRegistryTest {
 protected:
  void Pass() { ReadRegistryColors(registry_, table); }

  ColorTable table = Filled(OldValue);

 private:
  win32::Win32Registry registry_;
};

TEST_F(RegistryPassTest, FullPaletteFillsEverySlotAndWritesNothing) {
  StorePalette(kPen);
  const Tree before = Snapshot();
  Pass();
  EXPECT_EQ(table, Filled(PaletteValue));
  EXPECT_EQ(Snapshot(), before);
}

TEST_F(RegistryPassTest, BadValuesGiveZeroInTheirOwnSlotOnly) {
  StorePalette(kPen);
  const UniqueKey pen = CreateKey(kPen);
  // Read as UTF-16, this DWORD would be the text "42".
  StoreExact(pen.get(), L"Color05", REG_DWORD, Utf16(L"42"));
  StoreExact(pen.get(), L"ColorZl", REG_SZ, Utf16(L"ＦＦ\0"sv));
  const Tree before = Snapshot();
  Pass();
  ColorTable expected = Filled(PaletteValue);
  expected.Set(5, 0);
  expected.Set(kRowCount + 10, 0);  // ColorZl
  EXPECT_EQ(table, expected);
  EXPECT_EQ(Snapshot(), before);
}

TEST_F(RegistryPassTest, MissingKeyIsCreatedEmptyAndGivesZeros) {
  const Tree before = Snapshot();
  ASSERT_EQ(before, (Tree{{L"", {}}}));
  Pass();
  EXPECT_EQ(table, ColorTable{});
  EXPECT_EQ(Snapshot(),
            (Tree{{L"", {}}, {L"SOFTWARE", {}}, {L"SOFTWARE\\Jw_cad", {}}, {kJwWin, {}}}));
}

TEST_F(RegistryPassTest, MissingPenGivesZerosFromNowhereElse) {
  // Where a reader that lost the section might look instead.
  StorePalette(kJwWin);
  StorePalette(L"Pen");
  StorePalette(L"SOFTWARE\\Jw_cad\\jw_win\\Other");
  const Tree before = Snapshot();
  Pass();
  EXPECT_EQ(table, ColorTable{});
  EXPECT_EQ(Snapshot(), before);
}

// A user who may only read Jw_cad's keys still sees the colours.
TEST_F(RegistryPassTest, ReadOnlyKeysAreStillRead) {
  StorePalette(kPen);
  const std::wstring read_only[] = {kPen, kJwWin, L"SOFTWARE\\Jw_cad", L"SOFTWARE"};
  for (const std::wstring& path : read_only) RestrictToRead(path);
  for (const std::wstring& path : read_only) {
    SCOPED_TRACE(win32::Narrow(path));
    UniqueKey key;
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_ALL_ACCESS, key.put()),
              ERROR_ACCESS_DENIED)
        << "the ACL is not enforced: this test checks nothing";
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, key.put()),
              ERROR_SUCCESS);
  }
  const Tree before = Snapshot();
  Pass();
  EXPECT_EQ(table, Filled(PaletteValue));
  EXPECT_EQ(Snapshot(), before);
}

// How the deepest existing key on the way to jw_win refuses new subkeys.
enum class Refusal { kReadOnly, kVolatile };

class UncreatableKeyTest : public RegistryPassTest {
 protected:
  // Makes `deepest` the last key that exists, refusing children, with decoy
  // palettes where a reader falling back might look. Returns what creating
  // a subkey of it through HKEY_CURRENT_USER gives.
  LONG Arrange(const std::wstring& deepest, Refusal refusal) {
    ClearRoot();
    table = Filled(OldValue);
    const DWORD options =
        refusal == Refusal::kVolatile ? REG_OPTION_VOLATILE : REG_OPTION_NON_VOLATILE;
    const std::size_t last = deepest.rfind(L'\\');
    if (last != std::wstring::npos) CreateKey(deepest.substr(0, last));
    CreateKey(deepest, options);
    StorePalette(L"Pen");
    StorePalette(deepest + L"\\Pen", options);
    if (refusal == Refusal::kReadOnly) RestrictToRead(deepest);

    UniqueKey probe;
    return RegCreateKeyExW(HKEY_CURRENT_USER, (deepest + L"\\Probe").c_str(), 0, nullptr,
                           REG_OPTION_NON_VOLATILE, KEY_READ, nullptr, probe.put(), nullptr);
  }

  void ExpectZerosAndNothingWritten() {
    const Tree before = Snapshot();
    Pass();
    EXPECT_EQ(table, ColorTable{});
    EXPECT_EQ(Snapshot(), before);
  }
};

const wchar_t* const kDeepestExisting[] = {L"SOFTWARE\\Jw_cad", L"SOFTWARE"};

TEST_F(UncreatableKeyTest, ReadOnlyParentGivesZerosAndCreatesNothing) {
  for (const wchar_t* deepest : kDeepestExisting) {
    SCOPED_TRACE(win32::Narrow(deepest));
    const LONG probe = Arrange(deepest, Refusal::kReadOnly);
    if (probe == ERROR_SUCCESS) {
      // Wine 8 checks no right on the parent when it creates a key.
      GTEST_SKIP() << "a key with DACL D:P(A;;KR;;;WD) accepted a new subkey here";
    }
    ASSERT_EQ(probe, ERROR_ACCESS_DENIED);
    ExpectZerosAndNothingWritten();
  }
}

// The same refusal on every platform, Wine included.
TEST_F(UncreatableKeyTest, VolatileParentGivesZerosAndCreatesNothing) {
  for (const wchar_t* deepest : kDeepestExisting) {
    SCOPED_TRACE(win32::Narrow(deepest));
    ASSERT_EQ(Arrange(deepest, Refusal::kVolatile), ERROR_CHILD_MUST_BE_VOLATILE);
    ExpectZerosAndNothingWritten();
  }
}

}  // namespace
