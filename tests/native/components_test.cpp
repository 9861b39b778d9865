#include "ui/components.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/fake_peers.h"

namespace {

using fakes::FakeFormPeer;
using fakes::RecordingControlPeer;
using Events = std::vector<std::string>;

ui::Form::Properties TestForm() {
  ui::Form::Properties props;
  props.name = "Form1";
  props.client = {553, 362};
  return props;
}

TEST(FindComponent, FoldsOnlyAToZ) {
  ui::Form form(TestForm());
  const ui::Control& label1 = form.AddLabel("Label1", {}, "");
  const ui::Control& b1 = form.AddLabel("LabelB1", {}, "");
  const ui::Control& accented = form.AddLabel("Labelé", {}, "");
  const ui::Control& bracket = form.AddLabel("Label[", {}, "");
  const ui::Control& button = form.AddButton("Button1", {}, "", 0);
  struct Case {
    const char* query;
    const ui::Control* found;
  };
  const Case cases[] = {
      {"LabelB1", &b1},     {"labelb1", &b1},     {"LABELB1", &b1},   {"Label1", &label1},
      {"button1", &button}, {"LABELé", &accented}, {"Label[", &bracket},
      {"LabelÉ", nullptr},  // é and É differ by 0x20 in one byte
      {"Label{", nullptr},  // '[' and '{' likewise
      {"Label", nullptr},   {"LabelB", nullptr},  {"LabelB10", nullptr}, {"Label1 ", nullptr},
      {"", nullptr},        {"Missing", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("query \"") + c.query + "\"");
    EXPECT_EQ(form.FindComponent(c.query), c.found);
  }
}

TEST(FindComponent, FirstInCreationOrderWins) {
  ui::Form form(TestForm());
  const ui::Control& first = form.AddLabel("Twin", {}, "");
  form.AddButton("TWIN", {}, "", 0);
  form.AddLabel("twin", {}, "");
  EXPECT_EQ(form.FindComponent("tWiN"), &first);
}

class ComponentsTest : public ::testing::Test {
 protected:
  ComponentsTest() { form.SetPeer(&form_peer); }
  ui::Label& Add(ui::Rect bounds, ui::LabelStyle style) {
    ui::Label& label = form.AddLabel("L", bounds, "", style);
    label.SetPeer(&peer);
    return label;
  }

  ui::Form form{TestForm()};
  FakeFormPeer form_peer;
  RecordingControlPeer peer;
};

TEST_F(ComponentsTest, SetTextNotifiesOnlyARealChange) {
  ui::Button& button = form.AddButton("B", {1, 2, 3, 4}, "same", 0);
  button.SetPeer(&peer);
  button.SetText("same");
  EXPECT_TRUE(peer.events.empty());
  button.SetText("other");
  button.SetText("other");
  EXPECT_EQ(peer.events, (Events{"text B"}));
  EXPECT_EQ(button.Text(), "other");
}

TEST_F(ComponentsTest, SetColorNotifiesOnlyARealChangeAndLeavesTheParentColour) {
  ui::Label& label = Add({}, ui::LabelStyle{false});
  EXPECT_EQ(label.GetColor(), ui::kSystemButtonFace);
  label.SetColor(ui::kSystemButtonFace);  // equal to the inherited colour
  EXPECT_TRUE(label.TakesParentColor());
  EXPECT_TRUE(peer.events.empty());
  label.SetColor(0x01FF0000);
  label.SetColor(0x01FF0000);
  EXPECT_FALSE(label.TakesParentColor());
  EXPECT_EQ(label.GetColor(), 0x01FF0000);
  EXPECT_EQ(peer.events, (Events{"color L"}));
}

TEST_F(ComponentsTest, AutoSizeKeepsTheCornerAndTakesTheExtent) {
  ui::Label& label = Add({10, 20, 1, 1}, ui::LabelStyle{});
  label.SetText("ｽﾞｰﾑ色");
  EXPECT_EQ(label.Bounds(), (ui::Rect{10, 20, 4 * 7 + 13, 13}));
  label.SetText("[0，0，255]");
  EXPECT_EQ(label.Bounds(), (ui::Rect{10, 20, 7 * 7 + 2 * 13, 13}));
  EXPECT_EQ(peer.events, (Events{"text L", "bounds L", "text L", "bounds L"}));
}

TEST_F(ComponentsTest, FixedSizeLabelKeepsItsBounds) {
  ui::Label& swatch = Add({64, 56, 26, 13}, ui::LabelStyle{false});
  swatch.SetText("a much longer text");
  EXPECT_EQ(swatch.Bounds(), (ui::Rect{64, 56, 26, 13}));
  EXPECT_EQ(peer.events, (Events{"text L"}));
}

TEST_F(ComponentsTest, StretchedLabelKeepsTheFormsWidth) {
  ui::LabelStyle banner;
  banner.stretch_across_top = true;
  ui::Label& label = Add({5, 6, 10, 13}, banner);
  EXPECT_EQ(label.Bounds(), (ui::Rect{0, 0, 553, 13}));
  label.SetText("short");
  EXPECT_EQ(label.Bounds(), (ui::Rect{0, 0, 553, 13}));
}

TEST(Form, ShowRunsOnShowBeforeMakingVisibleAndCloseRunsOnCloseBeforeDestroy) {
  ui::Form form(TestForm());
  FakeFormPeer peer;
  form.SetPeer(&peer);
  form.on_show = [&] { peer.events.push_back("on_show"); };
  form.on_close = [&] { peer.events.push_back("on_close"); };
  form.Show();
  form.Close();
  EXPECT_EQ(peer.events, (Events{"on_show", "visible", "on_close", "destroy"}));
}

TEST(Form, WorksWithoutHandlersOrPeers) {
  ui::Form form(TestForm());
  ui::Label& label = form.AddLabel("L", {1, 2, 3, 4}, "a");
  EXPECT_NO_THROW({
    form.Show();
    form.Close();
    form.AddButton("B", {}, "", 0).Click();
    label.SetText("changed");
  });
  EXPECT_EQ(label.Bounds(), (ui::Rect{1, 2, 3, 4}));  // nothing to measure with
}

}  // namespace
