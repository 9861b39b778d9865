#include "app/Unit1.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <memory>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/color_display.h"
#include "fakes/fake_peers.h"
#include "fakes/memory_registry.h"

namespace {

using Kind = ComponentLayout::Kind;
constexpr const char* kPen = "SOFTWARE\\Jw_cad\\jw_win\\Pen";

const auto& Entry(const std::string& name) {
  const auto it = std::find_if(kForm1Layout.begin(), kForm1Layout.end(),
                               [&](const auto& entry) { return entry.name == name; });
  if (it == kForm1Layout.end()) throw std::runtime_error("no component " + name);
  return *it;
}

std::size_t IndexOf(const std::string& name) { return static_cast<std::size_t>(&Entry(name) - kForm1Layout.data()); }

std::vector<std::string> Names(std::size_t from, std::size_t count) {
  std::vector<std::string> names;
  for (std::size_t i = from; i < from + count; ++i) names.push_back(kForm1Layout[i].name);
  return names;
}

TEST(Form1Layout, NamesAndKinds) {
  std::set<std::string> folded;  // lookup folds a-z, so uniqueness must hold folded
  int labels = 0, buttons = 0;
  for (const auto& entry : kForm1Layout) {
    std::string name = entry.name;
    for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    folded.insert(name);
    (entry.kind == Kind::kButton ? buttons : labels)++;
  }
  EXPECT_EQ(folded.size(), 82u);
  EXPECT_EQ(labels, 80);
  EXPECT_EQ(buttons, 2);
  EXPECT_EQ(Entry("Label1").kind, Kind::kBanner);
  for (int row = 1; row <= kRowCount; ++row) {
    const std::string n = std::to_string(row);
    SCOPED_TRACE("row " + n);
    EXPECT_EQ(Entry("LabelA" + n).kind, Kind::kText);
    EXPECT_EQ(Entry("LabelB" + n).kind, Kind::kSwatch);
    EXPECT_EQ(Entry("LabelC" + n).kind, Kind::kNumbers);
    EXPECT_EQ(Entry("LabelD" + n).kind, Kind::kText);
    EXPECT_EQ(Entry("LabelE" + n).kind, Kind::kSwatch);
    EXPECT_EQ(Entry("LabelF" + n).kind, Kind::kNumbers);
  }
}

TEST(Form1Layout, CreationOrder) {
  EXPECT_EQ(Names(0, 5), (std::vector<std::string>{"Label1", "LabelA1", "LabelB1", "LabelC1", "Label2"}));
  EXPECT_EQ(IndexOf("Label6"), IndexOf("LabelF1") + 1);
  EXPECT_EQ(Names(kForm1Layout.size() - 7, 7),
            (std::vector<std::string>{"Label3", "Label4", "Label5", "Label7", "Label8", "Button1", "Button2"}));
  // Each column's rows in screen order (12 sits above 9-11), the left column first.
  std::size_t previous = 0;
  for (const char* column : {"LabelA", "LabelD"}) {
    for (int row : {1, 2, 3, 4, 5, 6, 7, 8, 12, 9, 10, 11}) {
      const std::string name = column + std::to_string(row);
      EXPECT_GT(IndexOf(name), previous) << name;
      previous = IndexOf(name);
      for (std::size_t k = 1; k <= 2; ++k) {
        const std::string part = std::string("Label") + char(column[5] + static_cast<char>(k)) + std::to_string(row);
        EXPECT_EQ(IndexOf(part), previous + k) << part;
      }
    }
  }
}

TEST(Form1Layout, RowPlaces) {
  struct Row {
    int row, left_top, right_top;
  };
  const Row rows[] = {{1, 56, 56},   {2, 80, 80},   {3, 104, 104}, {4, 128, 128},
                      {5, 152, 152}, {6, 176, 176}, {7, 200, 200}, {8, 224, 224},
                      {12, 248, 248}, {9, 272, 296}, {10, 296, 320}, {11, 320, 344}};
  const std::map<char, int> lefts{{'A', 8}, {'B', 64}, {'C', 104}, {'D', 232}, {'E', 288}, {'F', 328}};
  for (const Row& r : rows) {
    for (const auto& [column, left] : lefts) {
      const std::string name = std::string("Label") + column + std::to_string(r.row);
      SCOPED_TRACE(name);
      EXPECT_EQ(Entry(name).left, left);
      EXPECT_EQ(Entry(name).top, column <= 'C' ? r.left_top : r.right_top);
    }
  }
  for (const auto& entry : kForm1Layout) {
    if (entry.left >= 232 && entry.left < 440) {
      EXPECT_NE(entry.top, 272) << entry.name;
    }
  }
}

TEST(Form1Layout, Captions) {
  EXPECT_STREQ(Entry("LabelD10").text, "ｽﾞｰﾑ色");  // half-width katakana
  EXPECT_STREQ(Entry("LabelA1").text, "線色１");    // full-width digit
  EXPECT_STREQ(Entry("LabelD1").text, "線色１");
  EXPECT_STREQ(Entry("LabelA12").text, "グレー");
  EXPECT_STREQ(Entry("LabelC1").text, "[0,0,0]");
  EXPECT_STREQ(Entry("Button1").text, "更新");
  EXPECT_STREQ(Entry("Button2").text, "閉じる");
}

// Each self-sizing label is laid out at the size its own text measures to.
TEST(Form1Layout, SizesMatchTheTexts) {
  const fakes::FakeFormPeer measure;
  for (const auto& entry : kForm1Layout) {
    if (entry.kind != Kind::kText && entry.kind != Kind::kNumbers) continue;
    const ui::Extent extent = measure.MeasureText(entry.text);
    EXPECT_EQ(entry.width, extent.width) << entry.name;
    EXPECT_EQ(entry.height, extent.height) << entry.name;
  }
}

// Slot i holds a distinct value; slot 1 is negative, slot 13 has a top byte.
ColorValue TestValue(int slot) {
  if (slot == 1) return -1;
  if (slot == kRowCount + 1) return 0x01FF0000;
  return slot * 0x0A0B0C;
}

std::vector<ui::Label*> NumbersLabels(const ui::Form& form) {
  std::vector<ui::Label*> labels;
  for (const auto& control : form.Components()) {
    const std::string& name = control->Name();
    if (name.rfind("LabelC", 0) == 0 || name.rfind("LabelF", 0) == 0) {
      labels.push_back(dynamic_cast<ui::Label*>(control.get()));
    }
  }
  return labels;
}

class TForm1Test : public ::testing::Test {
 protected:
  TForm1Test() { form.SetPeer(&peer); }
  ui::Button& ButtonNamed(const char* name) { return dynamic_cast<ui::Button&>(*form.FindComponent(name)); }
  const std::string& TextOf(const char* name) { return form.FindComponent(name)->Text(); }

  fakes::MemoryRegistry registry;
  fakes::FakeFormPeer peer;
  TForm1 form{registry};
};

TEST_F(TForm1Test, ConstructionReadsNothing) {
  EXPECT_TRUE(registry.Reads().empty());
  EXPECT_TRUE(registry.CreatedKeys().empty());
  EXPECT_EQ(form.Components().size(), kForm1Layout.size());
  for (const ui::Label* numbers : NumbersLabels(form)) EXPECT_EQ(numbers->Text(), "[0,0,0]") << numbers->Name();
}

TEST_F(TForm1Test, ShowReadsTheRegistryBeforeTheWindowAppears) {
  registry.SetString(kPen, "Color01", "0000FF");
  std::size_t reads_when_visible = 0;
  std::vector<std::string> texts_when_visible;
  peer.on_make_visible = [&] {
    reads_when_visible = registry.Reads().size();
    for (const ui::Label* numbers : NumbersLabels(form)) texts_when_visible.push_back(numbers->Text());
  };
  form.Show();
  EXPECT_EQ(reads_when_visible, 24u);
  ASSERT_EQ(texts_when_visible.size(), 24u);
  EXPECT_EQ(texts_when_visible[0], "[255，0，0]");  // LabelC1
  for (const std::string& text : texts_when_visible) EXPECT_NE(text.find("，"), std::string::npos) << text;
  EXPECT_EQ(peer.events, (std::vector<std::string>{"visible"}));
}

TEST_F(TForm1Test, Button1ReadsAgain) {
  form.Show();
  registry.SetString(kPen, "PrCol01", "FF0000");
  EXPECT_EQ(TextOf("LabelF1"), "[0，0，0]");
  ButtonNamed("Button1").Click();
  EXPECT_EQ(TextOf("LabelF1"), "[0，0，255]");
  EXPECT_EQ(form.ColorTable.Get(kRowCount + 1), 0xFF0000);
}

TEST_F(TForm1Test, Button2Closes) {
  ButtonNamed("Button2").Click();
  EXPECT_EQ(peer.events, (std::vector<std::string>{"destroy"}));
}

ui::Form::Properties SmallForm() {
  ui::Form::Properties props;
  props.name = "Small";
  props.client = {553, 362};
  return props;
}

// A form laid out like TForm1 but with LabelF12 missing and LabelC3 a button.
class ShowColorTableTest : public ::testing::Test {
 protected:
  ShowColorTableTest() {
    for (const auto& entry : kForm1Layout) {
      const std::string name = entry.name;
      const ui::Rect bounds{entry.left, entry.top, entry.width, entry.height};
      if (name == "LabelF12") continue;
      ui::Control* control = nullptr;
      if (entry.kind == Kind::kButton || name == "LabelC3") {
        control = &form.AddButton(name, bounds, entry.text, 0);
      } else {
        control = &form.AddLabel(name, bounds, entry.text, ui::LabelStyle{entry.kind != Kind::kSwatch});
      }
      control->SetPeer(&peer);
    }
    for (int slot = 1; slot <= kSlotCount; ++slot) table.Set(slot, TestValue(slot));
  }
  ui::Label& LabelNamed(const std::string& name) { return dynamic_cast<ui::Label&>(*form.FindComponent(name)); }

  ui::Form form{SmallForm()};
  fakes::RecordingControlPeer peer;
  ColorTable table;
};

TEST_F(ShowColorTableTest, UpdatesEveryLabelThatIsThere) {
  ASSERT_NO_THROW(ShowColorTable(table, form));
  for (int row = 1; row <= kRowCount; ++row) {
    const std::string n = std::to_string(row);
    SCOPED_TRACE("row " + n);
    EXPECT_EQ(LabelNamed("LabelB" + n).GetColor(), table.Get(row));
    EXPECT_EQ(LabelNamed("LabelE" + n).GetColor(), table.Get(kRowCount + row));
    if (row != 3) {
      EXPECT_EQ(LabelNamed("LabelC" + n).Text(), NumbersText(table.Get(row)));
    }
    if (row != 12) {
      EXPECT_EQ(LabelNamed("LabelF" + n).Text(), NumbersText(table.Get(kRowCount + row)));
    }
  }
  EXPECT_EQ(LabelNamed("LabelC1").Text(), "[-1，0，0]");
  EXPECT_EQ(LabelNamed("LabelE1").GetColor(), 0x01FF0000);  // top byte kept for the swatch
  EXPECT_EQ(LabelNamed("LabelF1").Text(), "[0，0，255]");
  EXPECT_EQ(form.FindComponent("LabelC3")->Text(), "[0,0,0]");  // a button is no label
}

TEST_F(ShowColorTableTest, UnchangedRefreshNotifiesNothing) {
  ShowColorTable(table, form);
  EXPECT_EQ(peer.events.size(), 24u + 22u);  // 24 swatches, 22 numbers labels
  peer.events.clear();
  ShowColorTable(table, form);
  EXPECT_TRUE(peer.events.empty()) << peer.events.front();
}

}  // namespace
