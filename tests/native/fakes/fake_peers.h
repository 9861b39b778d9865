#pragma once

// Recording stand-ins for the platform side of ui components.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/utf.h"
#include "ui/components.h"

namespace fakes {

// Logs "text Name", "bounds Name", "color Name" for each notification.
class RecordingControlPeer final : public ui::ControlPeer {
 public:
  void TextChanged(const ui::Control& control) override { events.push_back("text " + control.Name()); }
  void BoundsChanged(const ui::Control& control) override { events.push_back("bounds " + control.Name()); }
  void ColorChanged(const ui::Label& label) override { events.push_back("color " + label.Name()); }

  std::vector<std::string> events;
};

// Measures as a Shift_JIS font might: 7 px for each character that is one
// byte there (ASCII, half-width katakana), 13 for any other; 13 high.
class FakeFormPeer final : public ui::FormPeer {
 public:
  void MakeVisible() override {
    if (on_make_visible) on_make_visible();
    events.push_back("visible");
  }
  void Destroy() override { events.push_back("destroy"); }
  ui::Extent MeasureText(std::string_view text) const override {
    int width = 0;
    for (char16_t c : Utf16FromUtf8(text)) {
      if (c >= 0xDC00 && c <= 0xDFFF) continue;  // second half of a pair
      width += (c < 0x80 || (c >= 0xFF61 && c <= 0xFF9F)) ? 7 : 13;
    }
    return {width, 13};
  }

  std::function<void()> on_make_visible;
  std::vector<std::string> events;
};

}  // namespace fakes
