// Hostile registry data through the real registry layer and read pass, with
// HKEY_CURRENT_USER redirected to a scratch key. Each case must leave every
// other slot alone and write nothing.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "core/read_pass.h"
#include "hostile_data.h"
#include "scratch_registry.h"
#include "win32/win32_registry.h"

namespace {

using namespace scratch_registry;

class HostileRegistryTest : public ScratchRegistryTest {
 protected:
  void SetUp() override {
    ScratchRegistryTest::SetUp();
    if (HasFatalFailure()) return;
    StorePalette(kPen);
    pen_ = CreateKey(kPen);
  }

  // A fresh pass over stale slots, so a slot the pass skips shows.
  ColorTable Pass() {
    ColorTable table;
    for (int slot = 1; slot <= kSlotCount; ++slot) table.Set(slot, -100 - slot);
    win32::Win32Registry registry;
    ReadRegistryColors(registry, table);
    return table;
  }

  UniqueKey pen_;
};

TEST_F(HostileRegistryTest, EveryTypeAndShapeGivesZeroOrItsTextInItsOwnSlot) {
  int row = 0;
  for (const hostile::ValueType& type : hostile::kTypes) {
    for (std::size_t s = 0; s < hostile::kShapeCount; ++s, ++row) {
      const hostile::Shape& shape = hostile::Shapes()[s];
      // Spread over all 24 names, screen and printer side.
      const int slot = row % kSlotCount + 1;
      SCOPED_TRACE(std::string(type.name) + ", " + shape.name + ", slot " + std::to_string(slot));
      ASSERT_NO_FATAL_FAILURE(StoreExact(pen_.get(), kNameOfSlot[slot - 1], type.type, shape.bytes));
      const Tree before = Snapshot();

      ColorTable expected = Filled(PaletteValue);
      expected.Set(slot, hostile::Expected(type, shape));
      EXPECT_EQ(Pass(), expected);
      EXPECT_TRUE(Snapshot() == before) << "the pass changed the registry";

      StoreExact(pen_.get(), kNameOfSlot[slot - 1], REG_SZ,
                 Utf16(Hex(PaletteValue(slot)) + L'\0'));
    }
  }
}

// A reader that opened a subkey named like the value, or read its default
// value, would find a colour there.
TEST_F(HostileRegistryTest, SubkeysNamedLikeTheValuesAreNotRead) {
  for (const bool keep_values : {false, true}) {
    SCOPED_TRACE(keep_values ? "subkeys beside the values" : "subkeys instead of the values");
    ClearRoot();
    StorePalette(kPen);
    const UniqueKey pen = CreateKey(kPen);
    for (int slot = 1; slot <= kSlotCount; ++slot) {
      const wchar_t* name = kNameOfSlot[slot - 1];
      if (!keep_values) {
        ASSERT_EQ(RegDeleteValueW(pen.get(), name), ERROR_SUCCESS);
      }
      const UniqueKey subkey = CreateKey(std::wstring(kPen) + L"\\" + name);
      const std::string decoy = Utf16(L"123456") + std::string(2, '\0');
      StoreExact(subkey.get(), nullptr, REG_SZ, decoy);
      StoreExact(subkey.get(), name, REG_SZ, decoy);
    }
    const Tree before = Snapshot();
    EXPECT_EQ(Pass(), keep_values ? Filled(PaletteValue) : ColorTable{});
    EXPECT_TRUE(Snapshot() == before) << "the pass changed the registry";
  }
}

}  // namespace
