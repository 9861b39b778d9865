#include "core/read_pass.h"

#include "core/Func_.h"

namespace {

ColorValue ColorFromValue(const ValueRead& value) {
  // A value of the wrong type is a bad colour, not the end of the pass.
  if (value.status != ValueStatus::kText) return 0;
  return StrToIntOrZero("$" + value.text);
}

}  // namespace

void ReadRegistryColors(Registry& registry, ColorTable& table) noexcept {
  try {
    const auto key = registry.OpenCurrentUserKey(kJwCadKeyPath);
    for (int row = 1; row <= kRowCount; ++row) {
      table.Set(row, ColorFromValue(key->ReadString(kPenSection, ScreenValueName(row))));
      table.Set(kRowCount + row, ColorFromValue(key->ReadString(kPenSection, PrinterValueName(row))));
    }
  } catch (...) {
    // Out of memory on a huge value and the like: keep what was read.
  }
}
