#include "app/Unit1.h"

#include <string>

#include "core/color_display.h"
#include "core/read_pass.h"

namespace {

using Kind = ComponentLayout::Kind;

constexpr int kShiftJisCharset = 128;
constexpr const char* kSwatchText = "　　";  // two ideographic spaces: only the colour shows
constexpr const char* kNumbersText = "[0,0,0]";

ui::Form::Properties Form1Properties() {
  ui::Form::Properties form;
  form.name = "Form1";
  form.caption = "Tintwise";
  form.left = 85;
  form.top = 83;
  form.client = {553, 362};
  form.color = ui::kSystemButtonFace;
  form.font = {"ＭＳ ゴシック", kShiftJisCharset, -13, ui::kSystemWindowText};
  return form;
}

ui::LabelStyle StyleOf(Kind kind) {
  ui::LabelStyle style;
  style.auto_size = kind != Kind::kSwatch;
  if (kind == Kind::kBanner) {
    style.stretch_across_top = true;
    style.alignment = ui::TextAlignment::kCenter;
  }
  return style;
}

ui::Label* FindLabel(const ui::Form& form, const std::string& name) {
  return dynamic_cast<ui::Label*>(form.FindComponent(name));
}

}  // namespace

// clang-format off
const std::array<ComponentLayout, 82> kForm1Layout = {{
    {Kind::kBanner,  "Label1",   0,   0,   553, 13, "このツールは Jw_cad レジストリ情報の線色情報を読み取って表示するソフトです"},
    {Kind::kText,    "LabelA1",  8,   56,  39,  13, "線色１"},
    {Kind::kSwatch,  "LabelB1",  64,  56,  26,  13, kSwatchText},
    {Kind::kNumbers, "LabelC1",  104, 56,  49,  13, kNumbersText},
    {Kind::kText,    "Label2",   56,  32,  52,  13, "画面要素"},
    {Kind::kText,    "LabelA2",  8,   80,  39,  13, "線色２"},
    {Kind::kSwatch,  "LabelB2",  64,  80,  26,  13, kSwatchText},
    {Kind::kNumbers, "LabelC2",  104, 80,  49,  13, kNumbersText},
    {Kind::kText,    "LabelA3",  8,   104, 39,  13, "線色３"},
    {Kind::kSwatch,  "LabelB3",  64,  104, 26,  13, kSwatchText},
    {Kind::kNumbers, "LabelC3",  104, 104, 49,  13, kNumbersText},
    {Kind::kText,    "LabelA4",  8,   128, 39,  13, "線色４"},
    {Kind::kSwatch,  "LabelB4",  64,  128, 26,  13, kSwatchText},
    {Kind::kNumbers, "LabelC4",  104, 128, 49,  13, kNumbersText},
    {Kind::kText,    "LabelA5",  8,   152, 39,  13, "線色５"},
    {Kind::kSwatch,  "LabelB5",  64,  152, 26,  13, kSwatchText},
    {Kind::kNumbers, "LabelC5",  104, 152, 49,  13, kNumbersText},
    {Kind::kText,    "LabelA6",  8,   176, 39,  13, "線色６"},
    {Kind::kSwatch,  "LabelB6",  64,  176, 26,  13, kSwatchText},
    {Kind::kNumbers, "LabelC6",  104, 176, 49,  13, kNumbersText},
    {Kind::kText,    "LabelA7",  8,   200, 39,  13, "線色７"},
    {Kind::kSwatch,  "LabelB7",  64,  200, 26,  13, kSwatchText},
    {Kind::kNumbers, "LabelC7",  104, 200, 49,  13, kNumbersText},
    {Kind::kText,    "LabelA8",  8,   224, 39,  13, "線色８"},
    {Kind::kSwatch,  "LabelB8",  64,  224, 26,  13, kSwatchText},
    {Kind::kNumbers, "LabelC8",  104, 224, 49,  13, kNumbersText},
    {Kind::kText,    "LabelA12", 8,   248, 39,  13, "グレー"},
    {Kind::kSwatch,  "LabelB12", 64,  248, 26,  13, kSwatchText},
    {Kind::kNumbers, "LabelC12", 104, 248, 49,  13, kNumbersText},
    {Kind::kText,    "LabelA9",  8,   272, 39,  13, "補助線"},
    {Kind::kSwatch,  "LabelB9",  64,  272, 26,  13, kSwatchText},
    {Kind::kNumbers, "LabelC9",  104, 272, 49,  13, kNumbersText},
    {Kind::kText,    "LabelA10", 8,   296, 39,  13, "選択色"},
    {Kind::kSwatch,  "LabelB10", 64,  296, 26,  13, kSwatchText},
    {Kind::kNumbers, "LabelC10", 104, 296, 49,  13, kNumbersText},
    {Kind::kText,    "LabelA11", 8,   320, 39,  13, "仮表示"},
    {Kind::kSwatch,  "LabelB11", 64,  320, 26,  13, kSwatchText},
    {Kind::kNumbers, "LabelC11", 104, 320, 49,  13, kNumbersText},
    {Kind::kText,    "LabelD1",  232, 56,  39,  13, "線色１"},
    {Kind::kSwatch,  "LabelE1",  288, 56,  26,  13, kSwatchText},
    {Kind::kNumbers, "LabelF1",  328, 56,  49,  13, kNumbersText},
    {Kind::kText,    "Label6",   280, 32,  104, 13, "プリンタ出力要素"},
    {Kind::kText,    "LabelD2",  232, 80,  39,  13, "線色２"},
    {Kind::kSwatch,  "LabelE2",  288, 80,  26,  13, kSwatchText},
    {Kind::kNumbers, "LabelF2",  328, 80,  49,  13, kNumbersText},
    {Kind::kText,    "LabelD3",  232, 104, 39,  13, "線色３"},
    {Kind::kSwatch,  "LabelE3",  288, 104, 26,  13, kSwatchText},
    {Kind::kNumbers, "LabelF3",  328, 104, 49,  13, kNumbersText},
    {Kind::kText,    "LabelD4",  232, 128, 39,  13, "線色４"},
    {Kind::kSwatch,  "LabelE4",  288, 128, 26,  13, kSwatchText},
    {Kind::kNumbers, "LabelF4",  328, 128, 49,  13, kNumbersText},
    {Kind::kText,    "LabelD5",  232, 152, 39,  13, "線色５"},
    {Kind::kSwatch,  "LabelE5",  288, 152, 26,  13, kSwatchText},
    {Kind::kNumbers, "LabelF5",  328, 152, 49,  13, kNumbersText},
    {Kind::kText,    "LabelD6",  232, 176, 39,  13, "線色６"},
    {Kind::kSwatch,  "LabelE6",  288, 176, 26,  13, kSwatchText},
    {Kind::kNumbers, "LabelF6",  328, 176, 49,  13, kNumbersText},
    {Kind::kText,    "LabelD7",  232, 200, 39,  13, "線色７"},
    {Kind::kSwatch,  "LabelE7",  288, 200, 26,  13, kSwatchText},
    {Kind::kNumbers, "LabelF7",  328, 200, 49,  13, kNumbersText},
    {Kind::kText,    "LabelD8",  232, 224, 39,  13, "線色８"},
    {Kind::kSwatch,  "LabelE8",  288, 224, 26,  13, kSwatchText},
    {Kind::kNumbers, "LabelF8",  328, 224, 49,  13, kNumbersText},
    {Kind::kText,    "LabelD12", 232, 248, 39,  13, "グレー"},
    {Kind::kSwatch,  "LabelE12", 288, 248, 26,  13, kSwatchText},
    {Kind::kNumbers, "LabelF12", 328, 248, 49,  13, kNumbersText},
    {Kind::kText,    "LabelD9",  232, 296, 39,  13, "背景色"},
    {Kind::kSwatch,  "LabelE9",  288, 296, 26,  13, kSwatchText},
    {Kind::kNumbers, "LabelF9",  328, 296, 49,  13, kNumbersText},
    {Kind::kText,    "LabelD10", 232, 320, 41,  13, "ｽﾞｰﾑ色"},
    {Kind::kSwatch,  "LabelE10", 288, 320, 26,  13, kSwatchText},
    {Kind::kNumbers, "LabelF10", 328, 320, 49,  13, kNumbersText},
    {Kind::kText,    "LabelD11", 232, 344, 39,  13, "文字色"},
    {Kind::kSwatch,  "LabelE11", 288, 344, 26,  13, kSwatchText},
    {Kind::kNumbers, "LabelF11", 328, 344, 49,  13, kNumbersText},
    {Kind::kText,    "Label3",   440, 40,  94,  13, "Jw_cadでは終了"},
    {Kind::kText,    "Label4",   440, 56,  91,  13, "時にレジストリ"},
    {Kind::kText,    "Label5",   440, 72,  91,  13, "の更新が行われ"},
    {Kind::kText,    "Label7",   440, 88,  91,  13, "ますので御注意"},
    {Kind::kText,    "Label8",   440, 104, 52,  13, "下さい。"},
    {Kind::kButton,  "Button1",  448, 296, 97,  25, "更新", &TForm1::Button1Click},
    {Kind::kButton,  "Button2",  448, 336, 97,  25, "閉じる", &TForm1::Button2Click},
}};
// clang-format on

TForm1::TForm1(Registry& registry) : ui::Form(Form1Properties()), registry_(registry) {
  int tab_order = 0;
  for (const ComponentLayout& entry : kForm1Layout) {
    const ui::Rect bounds{entry.left, entry.top, entry.width, entry.height};
    if (entry.kind == Kind::kButton) {
      ui::Button& button = AddButton(entry.name, bounds, entry.text, tab_order++);
      button.on_click = [this, handler = entry.on_click] { (this->*handler)(); };
    } else {
      AddLabel(entry.name, bounds, entry.text, StyleOf(entry.kind));
    }
  }
  on_show = [this] { FormShow(); };
  on_close = [this] { FormClose(); };
}

void TForm1::ShowRegistryColors() {
  ReadRegistryColors(registry_, ColorTable);
  ShowColorTable(ColorTable, *this);
}

void TForm1::FormShow() { ShowRegistryColors(); }

void TForm1::FormClose() {}

void TForm1::Button1Click() { ShowRegistryColors(); }

void TForm1::Button2Click() { Close(); }

void ShowColorTable(const ColorTable& table, ui::Form& form) {
  for (int row = 1; row <= kRowCount; ++row) {
    const std::string number = std::to_string(row);
    if (auto* swatch = FindLabel(form, "LabelB" + number)) swatch->SetColor(table.Get(row));
    if (auto* numbers = FindLabel(form, "LabelC" + number)) numbers->SetText(NumbersText(table.Get(row)));
    const int printer_slot = kRowCount + row;
    if (auto* swatch = FindLabel(form, "LabelE" + number)) swatch->SetColor(table.Get(printer_slot));
    if (auto* numbers = FindLabel(form, "LabelF" + number)) numbers->SetText(NumbersText(table.Get(printer_slot)));
  }
}
