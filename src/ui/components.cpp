#include "ui/components.h"

#include <utility>

namespace ui {

namespace {

char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (UpperAscii(a[i]) != UpperAscii(b[i])) return false;
  }
  return true;
}

}  // namespace

Control::Control(Form& owner, std::string name, Rect bounds, std::string text)
    : owner_(owner), name_(std::move(name)), bounds_(bounds), text_(std::move(text)) {}

void Control::SetText(std::string text) {
  if (text == text_) return;
  text_ = std::move(text);
  if (peer_) peer_->TextChanged(*this);
  AfterTextChanged();
}

void Control::SetBounds(const Rect& bounds) {
  if (bounds == bounds_) return;
  bounds_ = bounds;
  if (peer_) peer_->BoundsChanged(*this);
}

Label::Label(Form& owner, std::string name, Rect bounds, std::string text, LabelStyle style)
    : Control(owner, std::move(name), bounds, std::move(text)),
      style_(style),
      color_(owner.Props().color) {}

void Label::SetColor(Color color) {
  if (color == color_) return;
  color_ = color;
  parent_color_ = false;
  if (Peer()) Peer()->ColorChanged(*this);
}

void Label::AdjustSize() {
  const FormPeer* form = Owner().Peer();
  if (!style_.auto_size || !form) return;
  const Extent extent = form->MeasureText(Text());
  Rect bounds = Bounds();
  bounds.height = extent.height;
  bounds.width = style_.stretch_across_top ? Owner().Props().client.width : extent.width;
  SetBounds(bounds);
}

Button::Button(Form& owner, std::string name, Rect bounds, std::string text, int tab_order)
    : Control(owner, std::move(name), bounds, std::move(text)), tab_order_(tab_order) {}

Form::Form(Properties properties) : properties_(std::move(properties)) {}

Label& Form::AddLabel(std::string name, Rect bounds, std::string text, LabelStyle style) {
  if (style.stretch_across_top) bounds = {0, 0, properties_.client.width, bounds.height};
  auto label = std::make_unique<Label>(*this, std::move(name), bounds, std::move(text), style);
  Label& added = *label;
  components_.push_back(std::move(label));
  return added;
}

Button& Form::AddButton(std::string name, Rect bounds, std::string text, int tab_order) {
  auto button = std::make_unique<Button>(*this, std::move(name), bounds, std::move(text), tab_order);
  Button& added = *button;
  components_.push_back(std::move(button));
  return added;
}

Control* Form::FindComponent(std::string_view name) const {
  for (const auto& component : components_) {
    if (SameName(component->Name(), name)) return component.get();
  }
  return nullptr;
}

void Form::Show() {
  if (on_show) on_show();
  if (peer_) peer_->MakeVisible();
}

void Form::Close() {
  if (on_close) on_close();
  if (peer_) peer_->Destroy();
}

}  // namespace ui
