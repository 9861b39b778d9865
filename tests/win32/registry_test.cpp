#include "win32/win32_registry.h"

#include <gtest/gtest.h>
#include <sddl.h>
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <map>
#include <ostream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "core/read_pass.h"
#include "win32/unique_handle.h"
#include "win32/wide.h"

// Found by argument-dependent lookup, so failures show names, not numbers.
static void PrintTo(ValueStatus status, std::ostream* out) {
  switch (status) {
    case ValueStatus::kText: *out << "kText"; return;
    case ValueStatus::kMissing: *out << "kMissing"; return;
    case ValueStatus::kNotString: *out << "kNotString"; return;
    case ValueStatus::kUnreadable: *out << "kUnreadable"; return;
  }
  *out << static_cast<int>(status);
}

static void PrintTo(const ColorTable& table, std::ostream* out) {
  for (int slot = 1; slot <= kSlotCount; ++slot) *out << (slot == 1 ? "{" : ", ") << table.Get(slot);
  *out << "}";
}

namespace {

using namespace std::literals;
using win32::UniqueKey;

// Every test's HKEY_CURRENT_USER is a fresh key below this one.
constexpr const wchar_t* kScratchParent = L"Software\\TintwiseTests";

constexpr const wchar_t* kJwWin = L"SOFTWARE\\Jw_cad\\jw_win";
constexpr const wchar_t* kPen = L"SOFTWARE\\Jw_cad\\jw_win\\Pen";

// Value name of slot 1-24, written out here rather than taken from the code
// under test.
const wchar_t* const kNameOfSlot[kSlotCount] = {
    L"Color01", L"Color02", L"Color03", L"Color04", L"Color05", L"Color06",
    L"Color07", L"Color08", L"Color09", L"Color10", L"Color11", L"Color12",
    L"PrCol01", L"PrCol02", L"PrCol03", L"PrCol04", L"PrCol05", L"PrCol06",
    L"PrCol07", L"PrCol08", L"Color00", L"ColorZl", L"ColorZm", L"PrCol12"};

// Distinct per slot, every byte in use, slot 24 a system colour.
ColorValue PaletteValue(int slot) {
  return slot == kSlotCount ? static_cast<ColorValue>(0x8000000Fu) : slot * 0x0A0B0C;
}

ColorTable Filled(ColorValue (*value)(int slot)) {
  ColorTable table;
  for (int slot = 1; slot <= kSlotCount; ++slot) table.Set(slot, value(slot));
  return table;
}

// Any slot the pass forgets keeps one of these.
ColorValue OldValue(int slot) { return -100 - slot; }

std::wstring Hex(ColorValue value) {
  char text[16];
  std::snprintf(text, sizeof text, "%06X", static_cast<unsigned>(value));
  return {text, text + std::char_traits<char>::length(text)};
}

// The exact bytes of a wide text, as the registry holds REG_SZ data.
std::string Utf16(std::wstring_view text) {
  return {reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t)};
}

// Every key below a root ("" is the root itself) with its values by name:
// type and raw bytes.
using Values = std::map<std::wstring, std::pair<DWORD, std::string>>;
using Tree = std::map<std::wstring, Values>;

void SnapshotInto(HKEY key, const std::wstring& path, Tree& tree) {
  DWORD subkeys = 0, max_subkey = 0, values = 0, max_name = 0, max_data = 0;
  ASSERT_EQ(RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkeys, &max_subkey, nullptr,
                             &values, &max_name, &max_data, nullptr, nullptr),
            ERROR_SUCCESS)
      << "at \"" << win32::Narrow(path) << "\"";
  Values& out = tree[path];
  for (DWORD i = 0; i < values; ++i) {
    std::wstring name(max_name + 1, L'\0');
    std::string data(max_data, '\0');
    DWORD name_length = max_name + 1, size = max_data, type = 0;
    ASSERT_EQ(RegEnumValueW(key, i, name.data(), &name_length, nullptr, &type,
                            reinterpret_cast<BYTE*>(data.data()), &size),
              ERROR_SUCCESS);
    name.resize(name_length);
    data.resize(size);
    out[name] = {type, data};
  }
  for (DWORD i = 0; i < subkeys; ++i) {
    std::wstring name(max_subkey + 1, L'\0');
    DWORD name_length = max_subkey + 1;
    ASSERT_EQ(RegEnumKeyExW(key, i, name.data(), &name_length, nullptr, nullptr, nullptr, nullptr),
              ERROR_SUCCESS);
    name.resize(name_length);
    UniqueKey subkey;
    ASSERT_EQ(RegOpenKeyExW(key, name.c_str(), 0, KEY_READ, subkey.put()), ERROR_SUCCESS);
    SnapshotInto(subkey.get(), path.empty() ? name : path + L"\\" + name, tree);
  }
}

void SetDacl(HKEY key, const wchar_t* sddl) {
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1,
                                                                   &descriptor, nullptr))
      << GetLastError();
  const LONG status = RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor);
  LocalFree(descriptor);
  ASSERT_EQ(status, ERROR_SUCCESS);
}

// Redirects HKEY_CURRENT_USER to an empty scratch key for the whole test, so
// nothing here can reach a real user's settings, and removes the scratch key
// afterwards whatever happened.
class ScratchRegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    LARGE_INTEGER now{};
    QueryPerformanceCounter(&now);
    for (int attempt = 0; attempt < 8 && !root_; ++attempt) {
      const std::wstring path = kScratchParent + L"\\"s + std::to_wstring(GetCurrentProcessId()) +
                                L"-" + std::to_wstring(now.QuadPart + attempt);
      UniqueKey key;
      DWORD disposition = 0;
      ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr,
                                REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, key.put(),
                                &disposition),
                ERROR_SUCCESS);
      // Someone else's tree: leave it alone.
      if (disposition != REG_CREATED_NEW_KEY) continue;
      root_ = std::move(key);
      scratch_path_ = path;
    }
    ASSERT_TRUE(root_) << "no fresh scratch key";
    ASSERT_EQ(RegOverridePredefKey(HKEY_CURRENT_USER, root_.get()), ERROR_SUCCESS);
    overridden_ = true;

    // Proves the redirection before anything runs through HKEY_CURRENT_USER.
    const DWORD marker = GetCurrentProcessId() ^ static_cast<DWORD>(now.QuadPart);
    ASSERT_EQ(RegSetValueExW(root_.get(), L"TintwiseMarker", 0, REG_DWORD,
                             reinterpret_cast<const BYTE*>(&marker), sizeof marker),
              ERROR_SUCCESS);
    DWORD seen = ~marker, size = sizeof seen;
    ASSERT_EQ(RegQueryValueExW(HKEY_CURRENT_USER, L"TintwiseMarker", nullptr, nullptr,
                               reinterpret_cast<BYTE*>(&seen), &size),
              ERROR_SUCCESS)
        << "HKEY_CURRENT_USER is not redirected";
    ASSERT_EQ(seen, marker) << "HKEY_CURRENT_USER is not redirected";
    ASSERT_EQ(RegDeleteValueW(HKEY_CURRENT_USER, L"TintwiseMarker"), ERROR_SUCCESS);
  }

  void TearDown() override {
    ClearRoot();
    root_.reset();
    if (overridden_) {
      EXPECT_EQ(RegOverridePredefKey(HKEY_CURRENT_USER, nullptr), ERROR_SUCCESS);
    }
    // The parent stays: another run may be creating its own key under it.
    if (!scratch_path_.empty()) {
      EXPECT_EQ(RegDeleteTreeW(HKEY_CURRENT_USER, scratch_path_.c_str()), ERROR_SUCCESS);
    }
  }

  // Empties the redirected root, read-only keys included.
  void ClearRoot() {
    for (UniqueKey& key : restricted_) SetDacl(key.get(), L"D:(A;;KA;;;WD)");
    restricted_.clear();
    if (root_) {
      EXPECT_EQ(RegDeleteTreeW(root_.get(), nullptr), ERROR_SUCCESS);
    }
  }

  // Creates `path` below the redirected root, with any keys above it.
  UniqueKey CreateKey(const std::wstring& path, DWORD options = REG_OPTION_NON_VOLATILE) {
    UniqueKey key;
    EXPECT_EQ(RegCreateKeyExW(root_.get(), path.c_str(), 0, nullptr, options, KEY_ALL_ACCESS,
                              nullptr, key.put(), nullptr),
              ERROR_SUCCESS)
        << win32::Narrow(path);
    return key;
  }

  // Stores exactly `bytes`, with no terminator added by the registry.
  static void StoreExact(HKEY key, const wchar_t* name, DWORD type, const std::string& bytes) {
    // A NUL right after the counted data makes RegSetValueExW count it in.
    const std::string padded = bytes + "\xFF\xFF\xFF\xFF";
    ASSERT_EQ(RegSetValueExW(key, name, 0, type, reinterpret_cast<const BYTE*>(padded.data()),
                             static_cast<DWORD>(bytes.size())),
              ERROR_SUCCESS);
    DWORD stored = 0;
    ASSERT_EQ(RegQueryValueExW(key, name, nullptr, nullptr, nullptr, &stored), ERROR_SUCCESS);
    ASSERT_EQ(stored, bytes.size()) << "the registry changed the stored length";
  }

  // The 24 colours of PaletteValue as Jw_cad writes them, in `path`.
  void StorePalette(const std::wstring& path, DWORD options = REG_OPTION_NON_VOLATILE) {
    const UniqueKey key = CreateKey(path, options);
    for (int slot = 1; slot <= kSlotCount; ++slot) {
      StoreExact(key.get(), kNameOfSlot[slot - 1], REG_SZ, Utf16(Hex(PaletteValue(slot)) + L'\0'));
    }
  }

  // Leaves `path` readable only; ClearRoot lifts it again.
  void RestrictToRead(const std::wstring& path) {
    UniqueKey key;
    ASSERT_EQ(RegOpenKeyExW(root_.get(), path.c_str(), 0, KEY_ALL_ACCESS, key.put()),
              ERROR_SUCCESS);
    restricted_.push_back(std::move(key));
    SetDacl(restricted_.back().get(), L"D:P(A;;KR;;;WD)");
  }

  Tree Snapshot() {
    Tree tree;
    SnapshotInto(root_.get(), L"", tree);
    return tree;
  }

 private:
  UniqueKey root_;
  std::wstring scratch_path_;
  bool overridden_ = false;
  std::vector<UniqueKey> restricted_;  // held open with WRITE_DAC to undo
};

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
