// Hostile registry data against the real Tintwise.exe: each value type at
// its biggest, and keys that are missing, misplaced, read-only or refuse
// children. The program must come up, show the expected numbers, refresh,
// close with 0, and leave the registry as it was, but for a key it may
// create.

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <iostream>
#include <string>
#include <vector>

#include "hostile_data.h"
#include "program.h"
#include "scratch_registry.h"

namespace {

using namespace scratch_registry;

// Below HKCU\SOFTWARE, where the area is rooted.
constexpr const wchar_t* kAreaJwCad = L"Jw_cad";
constexpr const wchar_t* kAreaJwWin = L"Jw_cad\\jw_win";
constexpr const wchar_t* kAreaPen = L"Jw_cad\\jw_win\\Pen";

struct Row {
  std::string name;
  std::function<void(KeyArea&)> arrange;  // starts with no Jw_cad key
  ColorTable expected;
  // Wine 8 lets a key with read access only take new subkeys.
  bool may_create_jw_win = false;
};

std::vector<Row> Rows() {
  std::vector<Row> rows;
  int type_index = 0;
  for (const hostile::ValueType& type : hostile::kTypes) {
    const int slot = (type_index++ * 7) % kSlotCount + 1;
    ColorTable expected = Filled(PaletteValue);
    expected.Set(slot, hostile::Expected(type, hostile::Biggest()));
    rows.push_back({std::string(type.name) + " of 16 MiB in slot " + std::to_string(slot),
                    [type, slot](KeyArea& area) {
                      area.StorePalette(kAreaPen);
                      StoreExact(area.CreateKey(kAreaPen).get(), kNameOfSlot[slot - 1], type.type,
                                 hostile::Biggest().bytes);
                    },
                    expected});
  }
  rows.push_back({"values replaced by subkeys of the same name",
                  [](KeyArea& area) {
                    area.StorePalette(kAreaPen);
                    const UniqueKey pen = area.CreateKey(kAreaPen);
                    for (const wchar_t* name : kNameOfSlot) {
                      ASSERT_EQ(RegDeleteValueW(pen.get(), name), ERROR_SUCCESS);
                      const UniqueKey subkey = area.CreateKey(std::wstring(kAreaPen) + L"\\" + name);
                      // A default value and a namesake, as decoys.
                      StoreExact(subkey.get(), nullptr, REG_SZ, Utf16(L"123456"));
                      StoreExact(subkey.get(), name, REG_SZ, Utf16(L"123456"));
                    }
                  },
                  ColorTable{}});
  rows.push_back({"Pen missing, palettes nearby",
                  [](KeyArea& area) {
                    area.StorePalette(kAreaJwWin);
                    area.StorePalette(std::wstring(kAreaJwWin) + L"\\Other");
                    area.StorePalette(std::wstring(kAreaJwCad) + L"\\Pen");
                  },
                  ColorTable{}});
  rows.push_back({"Pen readable, not writable",
                  [](KeyArea& area) {
                    area.StorePalette(kAreaPen);
                    area.RestrictToRead(kAreaPen);
                    UniqueKey key;
                    ASSERT_EQ(RegOpenKeyExW(area.Root(), kAreaPen, 0, KEY_ALL_ACCESS, key.put()),
                              ERROR_ACCESS_DENIED)
                        << "the ACL is not enforced: this row checks nothing";
                  },
                  Filled(PaletteValue)});
  rows.push_back({"jw_win missing, Jw_cad read-only",
                  [](KeyArea& area) {
                    area.StorePalette(std::wstring(kAreaJwCad) + L"\\Pen");
                    area.RestrictToRead(kAreaJwCad);
                    UniqueKey key;
                    ASSERT_EQ(RegOpenKeyExW(area.Root(), kAreaJwCad, 0, KEY_ALL_ACCESS, key.put()),
                              ERROR_ACCESS_DENIED)
                        << "the ACL is not enforced: this row checks nothing";
                  },
                  ColorTable{}, true});
  rows.push_back({"jw_win missing, Jw_cad volatile",
                  [](KeyArea& area) {
                    area.CreateKey(kAreaJwCad, REG_OPTION_VOLATILE);
                    area.StorePalette(std::wstring(kAreaJwCad) + L"\\Pen", REG_OPTION_VOLATILE);
                    UniqueKey probe;
                    ASSERT_EQ(RegCreateKeyExW(area.Root(), L"Jw_cad\\Probe", 0, nullptr,
                                              REG_OPTION_NON_VOLATILE, KEY_READ, nullptr,
                                              probe.put(), nullptr),
                              ERROR_CHILD_MUST_BE_VOLATILE);
                  },
                  ColorTable{}});
  return rows;
}

class HostileProgramTest : public testing::Test {
 protected:
  void SetUp() override {
    if (!program::InScratchRegistry()) {
      GTEST_SKIP() << "rewrites HKCU\\SOFTWARE\\Jw_cad: runs only under Wine with "
                      "TINTWISE_SCRATCH_REGISTRY=1";
    }
    UniqueKey software;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"SOFTWARE", 0, KEY_ALL_ACCESS, software.put()),
              ERROR_SUCCESS);
    area_ = KeyArea(std::move(software));
    area_.Delete(kAreaJwCad);
  }

  void TearDown() override { area_.Delete(kAreaJwCad); }

  KeyArea area_;
};

TEST_F(HostileProgramTest, ShowsWhatItCanAndChangesNothing) {
  for (const Row& row : Rows()) {
    SCOPED_TRACE(row.name);
    area_.Delete(kAreaJwCad);
    ASSERT_NO_FATAL_FAILURE(row.arrange(area_));
    const Tree before = area_.Snapshot(kAreaJwCad);
    const program::Texts expected = program::TextsOf(row.expected);

    program::Tintwise tintwise;
    ASSERT_NO_FATAL_FAILURE(tintwise.Start());
    EXPECT_EQ(tintwise.Numbers(), expected) << "at start";
    ASSERT_TRUE(tintwise.Refresh()) << "no answer to 更新";
    EXPECT_EQ(tintwise.Numbers(), expected) << "after 更新";
    ASSERT_NO_FATAL_FAILURE(tintwise.CloseNormally());

    Tree after = area_.Snapshot(kAreaJwCad);
    if (row.may_create_jw_win && after.count(kAreaJwWin)) {
      EXPECT_EQ(after.size(), before.size() + 1) << "more than jw_win was created";
      EXPECT_TRUE(after[kAreaJwWin].empty()) << "jw_win was created with values";
      after.erase(kAreaJwWin);
      std::cout << "note: " << row.name << ": the program created jw_win, as Wine allows\n";
    }
    EXPECT_TRUE(after == before) << "the program changed the registry";
  }
}

}  // namespace
