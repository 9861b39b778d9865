#include "core/color_table.h"

#include <gtest/gtest.h>

#include <climits>
#include <set>
#include <stdexcept>
#include <string>

#include "fakes/printers.h"

namespace {

TEST(ColorTable, StartsAtZeroAndKeepsEachSlotApart) {
  ColorTable table;
  for (int i = 1; i <= kSlotCount; ++i) EXPECT_EQ(table.Get(i), 0) << "slot " << i;
  for (int i = 1; i <= kSlotCount; ++i) table.Set(i, 1000 + i);
  for (int i = 1; i <= kSlotCount; ++i) EXPECT_EQ(table.Get(i), 1000 + i) << "slot " << i;
  EXPECT_NE(table, ColorTable{});
}

TEST(ColorTable, IndexOutsideOneToTwentyFourThrows) {
  ColorTable table;
  for (int index : {0, -1, kSlotCount + 1, INT_MIN, INT_MAX}) {
    SCOPED_TRACE(index);
    EXPECT_THROW((void)table.Get(index), std::out_of_range);
    EXPECT_THROW(table.Set(index, 1), std::out_of_range);
  }
  EXPECT_EQ(table, ColorTable{});
}

TEST(ValueNames, EachRow) {
  struct Case {
    int row;
    const char* screen;
    const char* printer;
  };
  const Case cases[] = {
      {1, "Color01", "PrCol01"},  {2, "Color02", "PrCol02"},  {3, "Color03", "PrCol03"},
      {4, "Color04", "PrCol04"},  {5, "Color05", "PrCol05"},  {6, "Color06", "PrCol06"},
      {7, "Color07", "PrCol07"},  {8, "Color08", "PrCol08"},  {9, "Color09", "Color00"},
      {10, "Color10", "ColorZl"}, {11, "Color11", "ColorZm"}, {12, "Color12", "PrCol12"},
  };
  std::set<std::string> all;
  for (const Case& c : cases) {
    SCOPED_TRACE("row " + std::to_string(c.row));
    EXPECT_EQ(ScreenValueName(c.row), c.screen);
    EXPECT_EQ(PrinterValueName(c.row), c.printer);
    all.insert({ScreenValueName(c.row), PrinterValueName(c.row)});
  }
  EXPECT_EQ(all.size(), static_cast<std::size_t>(kSlotCount));  // no name serves two slots
  for (const char* never : {"PrCol09", "PrCol10", "PrCol11"}) EXPECT_EQ(all.count(never), 0u) << never;
}

}  // namespace
