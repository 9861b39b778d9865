#pragma once

#include <array>

#include "core/color_table.h"
#include "core/registry.h"
#include "ui/components.h"

// The one window: Jw_cad's 24 line colours in two columns, with a refresh
// and a close button.
class TForm1 : public ui::Form {
 public:
  explicit TForm1(Registry& registry);

  // Reads the colours again and shows them. Never throws for a bad registry.
  void ShowRegistryColors();

  void FormShow();
  void FormClose();
  void Button1Click();
  void Button2Click();

  ::ColorTable ColorTable;

 private:
  Registry& registry_;
};

// One component of the window, as laid out at 96 dpi.
struct ComponentLayout {
  enum class Kind {
    kText,     // fixed text or row caption, sized to its text
    kBanner,   // the top line, centred across the whole width
    kSwatch,   // a colour, filled edge to edge
    kNumbers,  // a colour's numbers, sized to its text
    kButton,
  };
  Kind kind;
  const char* name;
  int left, top, width, height;
  const char* text;  // UTF-8
  void (TForm1::*on_click)() = nullptr;
};

// All components in creation order, which is also the order in which a
// lookup by name meets them.
extern const std::array<ComponentLayout, 82> kForm1Layout;

// Shows every slot on its swatch and numbers label, found by name; a name
// that finds no label is skipped.
void ShowColorTable(const ColorTable& table, ui::Form& form);
