#include "core/color_table.h"

std::string TwoDigitIndex(int row) {
  std::string text = std::to_string(row);
  if (row < 10) text.insert(0, "0");
  return text;
}

std::string ScreenValueName(int row) { return "Color" + TwoDigitIndex(row); }

std::string PrinterValueName(int row) {
  switch (row) {
    case 9: return "Color00";
    case 10: return "ColorZl";
    case 11: return "ColorZm";
    default: return "PrCol" + TwoDigitIndex(row);
  }
}
