#include "core/Func_.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

struct Case {
  std::string text;
  std::int32_t expected;
};

void ExpectAll(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    SCOPED_TRACE("text \"" + c.text + "\"");
    EXPECT_EQ(StrToIntOrZero(c.text), c.expected);
  }
}

TEST(StrToIntOrZero, Hexadecimal) {
  ExpectAll({
      {"$", 0},  // an empty registry text
      {"$0", 0},
      {"$FF", 255},
      {"$ff", 255},
      {"$aBcDeF", 0xABCDEF},
      {"$00FF00", 65280},
      {"$FF0000", 16711680},
      {"$ffffff", 16777215},
      {"$7FFFFFFF", INT32_MAX},
      {"$80000000", INT32_MIN},
      {"$FFFFFFFF", -1},
      {"$000000000FF", 255},        // leading zeros are free
      {"$100000000", 0},            // nine significant digits
      {"$0FFFFFFF0", -16},          // accumulator exactly 0x0FFFFFFF may take one more
      {"$1FFFFFFF0", 0},
      // Neighbours of each digit range.
      {"$/", 0}, {"$:", 0}, {"$@", 0}, {"$G", 0}, {"$`", 0}, {"$g", 0},
      {"$12G", 0},
      {"$ 12", 0},
      {"$12 ", 0},
      {"$x12", 0},
      {"$0x12", 0},
      {"$-1", 0},
      {"$+1", 0},
      {"$$1", 0},
  });
}

TEST(StrToIntOrZero, Decimal) {
  ExpectAll({
      {"", 0},
      {"0", 0},
      {"123", 123},
      {"-123", -123},
      {"+7", 7},
      {"007", 7},
      {"2147483647", INT32_MAX},
      {"-2147483648", INT32_MIN},
      {"2147483648", 0},
      {"-2147483649", 0},
      {"99999999999999999999999", 0},
      {"1 2", 0},
      {"-", 0},
      {"+", 0},
      {"--1", 0},
      {"12a", 0},
      {"  1", 0},
      {"1/", 0},
      {"1:", 0},
      {"0x1F", 0},
  });
}

TEST(StrToIntOrZero, StopsAtTheEndOfTheView) {
  // Exact-size heap buffers: a read past the view is also a sanitizer error.
  const std::vector<char> hex{'$', 'F', 'F', '1'};
  EXPECT_EQ(StrToIntOrZero(std::string_view(hex.data(), 3)), 255);
  const std::vector<char> decimal{'-', '1', '2', 'x'};
  EXPECT_EQ(StrToIntOrZero(std::string_view(decimal.data(), 3)), -12);
  EXPECT_EQ(StrToIntOrZero(std::string_view(hex.data(), 0)), 0);  // NOLINT(bugprone-string-constructor): empty on purpose
}

}  // namespace
