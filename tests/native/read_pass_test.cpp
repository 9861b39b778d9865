#include "core/read_pass.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <functional>
#include <new>
#include <string>
#include <vector>

#include "fakes/memory_registry.h"
#include "fakes/printers.h"

namespace {

using namespace std::literals;
using fakes::MemoryRegistry;
using fakes::Terminator;

constexpr const char* kJwWin = "SOFTWARE\\Jw_cad\\jw_win";
constexpr const char* kPen = "SOFTWARE\\Jw_cad\\jw_win\\Pen";

// Value names in the order the pass reads them.
const char* const kReadOrder[kSlotCount] = {
    "Color01", "PrCol01", "Color02", "PrCol02", "Color03", "PrCol03", "Color04", "PrCol04",
    "Color05", "PrCol05", "Color06", "PrCol06", "Color07", "PrCol07", "Color08", "PrCol08",
    "Color09", "Color00", "Color10", "ColorZl", "Color11", "ColorZm", "Color12", "PrCol12"};

// The slot the k-th read (0-based) fills.
int SlotOfRead(int k) { return k / 2 + 1 + (k % 2) * kRowCount; }

// Distinct per slot; slot 24 a system colour.
ColorValue PaletteValue(int slot) {
  return slot == kSlotCount ? static_cast<ColorValue>(0x8000000Fu) : slot * 0x0A0B0C;
}

std::string Hex(ColorValue value) {
  char text[16];
  std::snprintf(text, sizeof text, "%06X", static_cast<unsigned>(value));
  return text;
}

ColorTable Filled(ColorValue (*value)(int slot)) {
  ColorTable table;
  for (int slot = 1; slot <= kSlotCount; ++slot) table.Set(slot, value(slot));
  return table;
}

ColorValue OldValue(int slot) { return -100 - slot; }

void StorePalette(MemoryRegistry& registry) {
  for (int k = 0; k < kSlotCount; ++k) {
    registry.SetString(kPen, kReadOrder[k], Hex(PaletteValue(SlotOfRead(k))));
  }
}

class ReadPassTest : public ::testing::Test {
 protected:
  MemoryRegistry registry;
  ColorTable table = Filled(OldValue);  // every slot must be overwritten
};

TEST_F(ReadPassTest, MissingKeyIsCreatedAndNothingElseWritten) {
  ReadRegistryColors(registry, table);
  EXPECT_EQ(registry.CreatedKeys(),
            (std::vector<std::string>{"SOFTWARE", "SOFTWARE\\Jw_cad", "SOFTWARE\\Jw_cad\\jw_win"}));
  MemoryRegistry expected;
  expected.CreateKey(kJwWin);
  EXPECT_EQ(registry.Snapshot(), expected.Snapshot());
  EXPECT_EQ(table, ColorTable{});
}

TEST_F(ReadPassTest, MissingPenSectionGivesZeros) {
  registry.SetString(kJwWin, "Color01", "FF");  // on the key, not in its section
  registry.SetString("SOFTWARE\\Jw_cad\\jw_win\\Other", "Color01", "FF");
  const fakes::Tree before = registry.Snapshot();
  ReadRegistryColors(registry, table);
  EXPECT_EQ(table, ColorTable{});
  EXPECT_TRUE(registry.CreatedKeys().empty());
  EXPECT_EQ(registry.Snapshot(), before);
}

TEST_F(ReadPassTest, FullPaletteFillsEachSlotInOrder) {
  StorePalette(registry);
  const fakes::Tree before = registry.Snapshot();
  ReadRegistryColors(registry, table);
  EXPECT_EQ(table, Filled(PaletteValue));
  EXPECT_EQ(table.Get(kSlotCount), static_cast<ColorValue>(0x8000000Fu));
  std::vector<std::string> expected_reads;
  for (const char* name : kReadOrder) expected_reads.push_back("Pen\\"s + name);
  EXPECT_EQ(registry.Reads(), expected_reads);
  EXPECT_TRUE(registry.CreatedKeys().empty());
  EXPECT_EQ(registry.Snapshot(), before);
}

// One value (Color05, slot 5) in some state; the rest of the palette must
// still arrive.
TEST(ReadPass, EachValueStateInItsOwnSlot) {
  struct Case {
    const char* name;
    std::function<void(MemoryRegistry&)> store;
    ColorValue expected;
  };
  auto text = [](std::string_view value, Terminator terminator = Terminator::kAppend) {
    return [=](MemoryRegistry& r) { r.SetString(kPen, "Color05", value, terminator); };
  };
  const Case cases[] = {
      {"plain", text("0000FF"), 255},
      {"lower case", text("00ff00"), 0xFF00},
      {"no terminator", text("FF", Terminator::kNone), 255},
      {"text after NUL", text("0000FF\0FF"sv), 255},
      {"top byte", text("FFFFFFFF"), -1},
      {"stored with $", text("$FF"), 0},
      {"nine digits", text("100000000"), 0},
      {"blank", text(" FF"), 0},
      {"full-width", text("ＦＦ"), 0},
      {"empty text", text(""), 0},
      {"zero-length sz", [](MemoryRegistry& r) { r.SetRaw(kPen, "Color05", kRegSz, {}); }, 0},
      {"expand_sz", [](MemoryRegistry& r) { r.SetString(kPen, "Color05", "FF", Terminator::kAppend, kRegExpandSz); }, 255},
      {"dword", [](MemoryRegistry& r) { r.SetDword(kPen, "Color05", 0xFF); }, 0},
      {"unreadable", [](MemoryRegistry& r) { r.SetFetchFails(kPen, "Color05"); }, 0},
      {"missing", [](MemoryRegistry& r) { r.DeleteValue(kPen, "Color05"); }, 0},
      {"other case", [](MemoryRegistry& r) { r.DeleteValue(kPen, "Color05"); r.SetString(kPen, "COLOR05", "FF"); }, 255},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MemoryRegistry registry;
    StorePalette(registry);
    c.store(registry);
    ColorTable table = Filled(OldValue);
    ReadRegistryColors(registry, table);
    ColorTable expected = Filled(PaletteValue);
    expected.Set(5, c.expected);
    EXPECT_EQ(table, expected);
    EXPECT_EQ(table.Get(5), c.expected);
    EXPECT_EQ(registry.Reads().size(), static_cast<std::size_t>(kSlotCount));
  }
}

TEST_F(ReadPassTest, EveryPassReadsAfresh) {
  StorePalette(registry);
  ReadRegistryColors(registry, table);
  const ColorTable first = table;
  ReadRegistryColors(registry, table);
  EXPECT_EQ(table, first);

  registry.SetString(kPen, "ColorZm", "123456");
  ReadRegistryColors(registry, table);
  ColorTable expected = first;
  expected.Set(kRowCount + 11, 0x123456);
  EXPECT_EQ(table, expected);
}

TEST_F(ReadPassTest, ThrowMidPassKeepsOldValuesOfSlotsNotReached) {
  StorePalette(registry);
  registry.ThrowOnRead(7, std::make_exception_ptr(std::bad_alloc()));  // Color04
  ReadRegistryColors(registry, table);
  EXPECT_EQ(registry.Reads().size(), 7u);  // the pass stops at the throw
  for (int k = 0; k < kSlotCount; ++k) {
    const int slot = SlotOfRead(k);
    EXPECT_EQ(table.Get(slot), k < 6 ? PaletteValue(slot) : OldValue(slot)) << kReadOrder[k];
  }
}

// When the key cannot be opened, values stored anywhere else must not leak in.
TEST(ReadPass, UnopenableKeyGivesZerosAndTouchesNothing) {
  struct Case {
    const char* name;
    std::function<void(MemoryRegistry&)> setup;
  };
  const Case cases[] = {
      {"SOFTWARE forbids creation", [](MemoryRegistry& r) {
         r.DeleteKey("SOFTWARE\\Jw_cad");
         r.ForbidCreateBelow("SOFTWARE");
       }},
      {"Jw_cad forbids creation", [](MemoryRegistry& r) { r.ForbidCreateBelow("SOFTWARE\\Jw_cad"); }},
      {"root forbids creation", [](MemoryRegistry& r) { r.DeleteKey("SOFTWARE"); r.ForbidCreateBelow(""); }},
      {"jw_win unreadable", [](MemoryRegistry& r) {
         r.SetString(kPen, "Color01", "FF");
         r.MakeUnreadable(kJwWin);
       }},
      {"Pen unreadable", [](MemoryRegistry& r) {
         r.SetString(kPen, "Color01", "FF");
         r.MakeUnreadable(kPen);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MemoryRegistry registry;
    for (const char* decoy : {"Pen", "SOFTWARE\\Pen", "SOFTWARE\\Jw_cad\\Pen"}) {
      for (const char* name : kReadOrder) registry.SetString(decoy, name, "FF");
    }
    c.setup(registry);
    const fakes::Tree before = registry.Snapshot();
    ColorTable table = Filled(OldValue);
    ReadRegistryColors(registry, table);
    EXPECT_EQ(table, ColorTable{});
    EXPECT_TRUE(registry.CreatedKeys().empty());
    EXPECT_EQ(registry.Snapshot(), before);
  }
}

}  // namespace
