#pragma once

// The window's components as plain objects: a form owning labels and
// buttons, each with a name, a place and a text. The platform layer
// realises them on screen and is told, through the peers, of each change
// that has to show. Nothing here knows about Windows.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace ui {

using Color = std::int32_t;
// System colours: high bit set, the system colour index in the low byte.
inline constexpr Color kSystemButtonFace = static_cast<Color>(0x8000000Fu);
inline constexpr Color kSystemWindowText = static_cast<Color>(0x80000008u);

struct Rect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  friend bool operator==(const Rect& a, const Rect& b) {
    return a.left == b.left && a.top == b.top && a.width == b.width && a.height == b.height;
  }
  friend bool operator!=(const Rect& a, const Rect& b) { return !(a == b); }
};

struct Extent {
  int width = 0;
  int height = 0;
};

struct Font {
  std::string face;  // UTF-8
  int charset = 0;
  int height = 0;  // negative: character height in pixels
  Color color = kSystemWindowText;
};

class Control;
class Label;
class Form;

// The platform side of a control.
class ControlPeer {
 public:
  virtual void TextChanged(const Control& control) = 0;
  virtual void BoundsChanged(const Control& control) = 0;
  virtual void ColorChanged(const Label& label) = 0;

 protected:
  ~ControlPeer() = default;
};

// The platform side of a form.
class FormPeer {
 public:
  virtual void MakeVisible() = 0;
  virtual void Destroy() = 0;
  // Extent of one line of text in the form's font.
  [[nodiscard]] virtual Extent MeasureText(std::string_view text) const = 0;

 protected:
  ~FormPeer() = default;
};

class Control {
 public:
  Control(Form& owner, std::string name, Rect bounds, std::string text);
  virtual ~Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  [[nodiscard]] Form& Owner() const { return owner_; }
  [[nodiscard]] const std::string& Name() const { return name_; }
  [[nodiscard]] const Rect& Bounds() const { return bounds_; }
  [[nodiscard]] const std::string& Text() const { return text_; }

  // Both leave the control alone, and its window unpainted, when nothing changes.
  void SetText(std::string text);
  void SetBounds(const Rect& bounds);

  void SetPeer(ControlPeer* peer) { peer_ = peer; }

 protected:
  [[nodiscard]] ControlPeer* Peer() const { return peer_; }
  virtual void AfterTextChanged() {}

 private:
  Form& owner_;
  std::string name_;
  Rect bounds_;
  std::string text_;
  ControlPeer* peer_ = nullptr;
};

enum class TextAlignment { kLeft, kCenter };

struct LabelStyle {
  bool auto_size = true;          // takes the extent of its text, left and top fixed
  bool stretch_across_top = false;  // pinned to the top edge, as wide as the form
  TextAlignment alignment = TextAlignment::kLeft;
};

class Label final : public Control {
 public:
  Label(Form& owner, std::string name, Rect bounds, std::string text, LabelStyle style);

  [[nodiscard]] const LabelStyle& Style() const { return style_; }
  [[nodiscard]] Color GetColor() const { return color_; }
  [[nodiscard]] bool TakesParentColor() const { return parent_color_; }

  // An equal colour changes nothing; any other is taken as it is, and the
  // label stops following its parent's colour.
  void SetColor(Color color);

  // Fits the label to its text when it sizes itself. Needs the form's peer.
  void AdjustSize();

 private:
  void AfterTextChanged() override { AdjustSize(); }

  LabelStyle style_;
  Color color_;
  bool parent_color_ = true;
};

class Button final : public Control {
 public:
  Button(Form& owner, std::string name, Rect bounds, std::string text, int tab_order);

  [[nodiscard]] int TabOrder() const { return tab_order_; }
  void Click() const {
    if (on_click) on_click();
  }

  std::function<void()> on_click;

 private:
  int tab_order_;
};

class Form {
 public:
  struct Properties {
    std::string name;
    std::string caption;
    int left = 0;  // outer top-left corner on the screen
    int top = 0;
    Extent client;
    Color color = kSystemButtonFace;
    Font font;
  };

  explicit Form(Properties properties);
  virtual ~Form() = default;
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  [[nodiscard]] const Properties& Props() const { return properties_; }

  Label& AddLabel(std::string name, Rect bounds, std::string text, LabelStyle style = {});
  Button& AddButton(std::string name, Rect bounds, std::string text, int tab_order);

  // Components in creation order.
  [[nodiscard]] const std::vector<std::unique_ptr<Control>>& Components() const {
    return components_;
  }

  // The first component, in creation order, whose name equals `name` with
  // only the letters a to z compared case-insensitively; null when none.
  [[nodiscard]] Control* FindComponent(std::string_view name) const;

  // Runs on_show while the window is still hidden, then shows it.
  void Show();
  // The one way out, whatever asked for it: on_close, then the window goes.
  void Close();

  void SetPeer(FormPeer* peer) { peer_ = peer; }
  [[nodiscard]] FormPeer* Peer() const { return peer_; }

  std::function<void()> on_show;
  std::function<void()> on_close;

 private:
  Properties properties_;
  std::vector<std::unique_ptr<Control>> components_;
  FormPeer* peer_ = nullptr;
};

}  // namespace ui
