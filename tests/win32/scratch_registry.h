#pragma once

// Registry fixtures shared by the tests that run against the real registry:
// exact-byte writes, whole-tree snapshots, DACLs, and a test whose
// HKEY_CURRENT_USER is a fresh scratch key.

#include <gtest/gtest.h>
#include <sddl.h>
#include <windows.h>

#include <cstdio>
#include <map>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/color_table.h"
#include "core/registry.h"
#include "win32/unique_handle.h"
#include "win32/wide.h"

// Found by argument-dependent lookup, so failures show names, not numbers.
inline void PrintTo(ValueStatus status, std::ostream* out) {
  switch (status) {
    case ValueStatus::kText: *out << "kText"; return;
    case ValueStatus::kMissing: *out << "kMissing"; return;
    case ValueStatus::kNotString: *out << "kNotString"; return;
    case ValueStatus::kUnreadable: *out << "kUnreadable"; return;
  }
  *out << static_cast<int>(status);
}

inline void PrintTo(const ColorTable& table, std::ostream* out) {
  for (int slot = 1; slot <= kSlotCount; ++slot) *out << (slot == 1 ? "{" : ", ") << table.Get(slot);
  *out << "}";
}

namespace scratch_registry {

using win32::UniqueKey;

constexpr const wchar_t* kJwCad = L"SOFTWARE\\Jw_cad";
constexpr const wchar_t* kJwWin = L"SOFTWARE\\Jw_cad\\jw_win";
constexpr const wchar_t* kPen = L"SOFTWARE\\Jw_cad\\jw_win\\Pen";

// Value name of slot 1-24, written out here rather than taken from the code
// under test.
inline const wchar_t* const kNameOfSlot[kSlotCount] = {
    L"Color01", L"Color02", L"Color03", L"Color04", L"Color05", L"Color06",
    L"Color07", L"Color08", L"Color09", L"Color10", L"Color11", L"Color12",
    L"PrCol01", L"PrCol02", L"PrCol03", L"PrCol04", L"PrCol05", L"PrCol06",
    L"PrCol07", L"PrCol08", L"Color00", L"ColorZl", L"ColorZm", L"PrCol12"};

// Distinct per slot, every byte in use, slot 24 a system colour.
inline ColorValue PaletteValue(int slot) {
  return slot == kSlotCount ? static_cast<ColorValue>(0x8000000Fu) : slot * 0x0A0B0C;
}

inline ColorTable Filled(ColorValue (*value)(int slot)) {
  ColorTable table;
  for (int slot = 1; slot <= kSlotCount; ++slot) table.Set(slot, value(slot));
  return table;
}

inline std::wstring Hex(ColorValue value) {
  char text[16];
  std::snprintf(text, sizeof text, "%06X", static_cast<unsigned>(value));
  return {text, text + std::char_traits<char>::length(text)};
}

// The exact bytes of a wide text, as the registry holds REG_SZ data.
inline std::string Utf16(std::wstring_view text) {
  return {reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t)};
}

// Every key below a root ("" is the root itself) with its values by name:
// type and raw bytes.
using Values = std::map<std::wstring, std::pair<DWORD, std::string>>;
using Tree = std::map<std::wstring, Values>;

inline void SnapshotInto(HKEY key, const std::wstring& path, Tree& tree) {
  DWORD subkeys = 0, max_subkey = 0, values = 0, max_name = 0, max_data = 0;
  ASSERT_EQ(RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkeys, &max_subkey, nullptr,
                             &values, &max_name, &max_data, nullptr, nullptr),
            ERROR_SUCCESS)
      << "at \"" << win32::Narrow(path) << "\"";
  Values& out = tree[path];
  // One buffer for all: values may be many megabytes each.
  std::string data(max_data, '\0');
  for (DWORD i = 0; i < values; ++i) {
    std::wstring name(max_name + 1, L'\0');
    DWORD name_length = max_name + 1, size = max_data, type = 0;
    ASSERT_EQ(RegEnumValueW(key, i, name.data(), &name_length, nullptr, &type,
                            reinterpret_cast<BYTE*>(data.data()), &size),
              ERROR_SUCCESS);
    name.resize(name_length);
    out[name] = {type, data.substr(0, size)};
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

inline void SetDacl(HKEY key, const wchar_t* sddl) {
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1,
                                                                   &descriptor, nullptr))
      << GetLastError();
  const LONG status = RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor);
  LocalFree(descriptor);
  ASSERT_EQ(status, ERROR_SUCCESS);
}

// Stores exactly `bytes`, with no terminator added by the registry.
inline void StoreExact(HKEY key, const wchar_t* name, DWORD type, const std::string& bytes) {
  // A NUL right after the counted data makes RegSetValueExW count it in.
  const std::string padded = bytes + "\xFF\xFF\xFF\xFF";
  ASSERT_EQ(RegSetValueExW(key, name, 0, type, reinterpret_cast<const BYTE*>(padded.data()),
                           static_cast<DWORD>(bytes.size())),
            ERROR_SUCCESS);
  DWORD stored = 0;
  ASSERT_EQ(RegQueryValueExW(key, name, nullptr, nullptr, nullptr, &stored), ERROR_SUCCESS);
  ASSERT_EQ(stored, bytes.size()) << "the registry changed the stored length";
}

// A subtree that a test may fill, restrict and empty: keys below `root`.
class KeyArea {
 public:
  KeyArea() = default;
  explicit KeyArea(UniqueKey root) : root_(std::move(root)) {}
  KeyArea(KeyArea&&) = default;
  KeyArea& operator=(KeyArea&&) = default;
  ~KeyArea() { LiftRestrictions(); }

  [[nodiscard]] HKEY Root() const { return root_.get(); }
  explicit operator bool() const { return static_cast<bool>(root_); }

  // Creates `path` below the root, with any keys above it.
  UniqueKey CreateKey(const std::wstring& path, DWORD options = REG_OPTION_NON_VOLATILE) const {
    UniqueKey key;
    EXPECT_EQ(RegCreateKeyExW(root_.get(), path.c_str(), 0, nullptr, options, KEY_ALL_ACCESS,
                              nullptr, key.put(), nullptr),
              ERROR_SUCCESS)
        << win32::Narrow(path);
    return key;
  }

  // The 24 colours of PaletteValue as Jw_cad writes them, in `path`.
  void StorePalette(const std::wstring& path, DWORD options = REG_OPTION_NON_VOLATILE) const {
    const UniqueKey key = CreateKey(path, options);
    for (int slot = 1; slot <= kSlotCount; ++slot) {
      StoreExact(key.get(), kNameOfSlot[slot - 1], REG_SZ, Utf16(Hex(PaletteValue(slot)) + L'\0'));
    }
  }

  // Leaves `path` readable only, until LiftRestrictions.
  void RestrictToRead(const std::wstring& path) {
    UniqueKey key;
    ASSERT_EQ(RegOpenKeyExW(root_.get(), path.c_str(), 0, KEY_ALL_ACCESS, key.put()),
              ERROR_SUCCESS);
    restricted_.push_back(std::move(key));
    SetDacl(restricted_.back().get(), L"D:P(A;;KR;;;WD)");
  }

  void LiftRestrictions() {
    for (UniqueKey& key : restricted_) SetDacl(key.get(), L"D:(A;;KA;;;WD)");
    restricted_.clear();
  }

  // Deletes the key `path` below the root, or with nullptr everything
  // below the root, lifting restrictions first.
  void Delete(const wchar_t* path) {
    LiftRestrictions();
    if (!root_) return;
    const LONG status = RegDeleteTreeW(root_.get(), path);
    EXPECT_TRUE(status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND) << status;
  }

  // `path` and everything below it, keyed by path relative to the root;
  // empty when `path` does not exist.
  [[nodiscard]] Tree Snapshot(const std::wstring& path = L"") const {
    Tree tree;
    UniqueKey key;
    if (RegOpenKeyExW(root_.get(), path.c_str(), 0, KEY_READ, key.put()) == ERROR_SUCCESS) {
      SnapshotInto(key.get(), path, tree);
    }
    return tree;
  }

 private:
  UniqueKey root_;
  std::vector<UniqueKey> restricted_;  // held open with WRITE_DAC to undo
};

// Redirects HKEY_CURRENT_USER to an empty scratch key for the whole test, so
// nothing here can reach a real user's settings, and removes the scratch key
// afterwards whatever happened.
class ScratchRegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    using namespace std::literals;
    // Every test's HKEY_CURRENT_USER is a fresh key below this one.
    constexpr const wchar_t* kScratchParent = L"Software\\TintwiseTests";
    LARGE_INTEGER now{};
    QueryPerformanceCounter(&now);
    for (int attempt = 0; attempt < 8 && !area_; ++attempt) {
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
      area_ = KeyArea(std::move(key));
      scratch_path_ = path;
    }
    ASSERT_TRUE(area_) << "no fresh scratch key";
    ASSERT_EQ(RegOverridePredefKey(HKEY_CURRENT_USER, area_.Root()), ERROR_SUCCESS);
    overridden_ = true;

    // Proves the redirection before anything runs through HKEY_CURRENT_USER.
    const DWORD marker = GetCurrentProcessId() ^ static_cast<DWORD>(now.QuadPart);
    ASSERT_EQ(RegSetValueExW(area_.Root(), L"TintwiseMarker", 0, REG_DWORD,
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
    area_ = KeyArea();
    if (overridden_) {
      EXPECT_EQ(RegOverridePredefKey(HKEY_CURRENT_USER, nullptr), ERROR_SUCCESS);
    }
    // The parent stays: another run may be creating its own key under it.
    if (!scratch_path_.empty()) {
      EXPECT_EQ(RegDeleteTreeW(HKEY_CURRENT_USER, scratch_path_.c_str()), ERROR_SUCCESS);
    }
  }

  // Empties the redirected root, read-only keys included.
  void ClearRoot() { area_.Delete(nullptr); }

  UniqueKey CreateKey(const std::wstring& path, DWORD options = REG_OPTION_NON_VOLATILE) {
    return area_.CreateKey(path, options);
  }
  void StorePalette(const std::wstring& path, DWORD options = REG_OPTION_NON_VOLATILE) {
    area_.StorePalette(path, options);
  }
  void RestrictToRead(const std::wstring& path) { area_.RestrictToRead(path); }
  Tree Snapshot() { return area_.Snapshot(); }

 private:
  KeyArea area_;
  std::wstring scratch_path_;
  bool overridden_ = false;
};

}  // namespace scratch_registry
