#pragma once

#include <windows.h>

#include <functional>
#include <vector>

#include "ui/components.h"
#include "win32/unique_handle.h"

namespace win32 {

// Puts a ui::Form on the screen: one fixed-size top-level window with a
// STATIC child per label and a BUTTON child per button, all drawn through
// the wide API, and keeps them in step with the form.
class FormWindow final : public ui::FormPeer, public ui::ControlPeer {
 public:
  // The window is created hidden; Form::Show shows it. icon_id names an
  // icon resource of `instance`, or 0 for none.
  FormWindow(ui::Form& form, HINSTANCE instance, int icon_id);
  ~FormWindow();
  FormWindow(const FormWindow&) = delete;
  FormWindow& operator=(const FormWindow&) = delete;

  [[nodiscard]] HWND Handle() const { return window_; }
  [[nodiscard]] HWND ControlHandle(const ui::Control& control) const;
  [[nodiscard]] HFONT Font() const { return font_.get(); }

  // Runs once the window is gone, whoever closed it.
  std::function<void()> on_destroyed;

  // ui::FormPeer
  void MakeVisible() override;
  void Destroy() override;
  [[nodiscard]] ui::Extent MeasureText(std::string_view text) const override;

  // ui::ControlPeer
  void TextChanged(const ui::Control& control) override;
  void BoundsChanged(const ui::Control& control) override;
  void ColorChanged(const ui::Label& label) override;

 private:
  struct Child {
    ui::Control* control;
    HWND window;
    UniqueBrush brush;  // the label's own colour, when it has one
  };

  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT ColorStatic(HDC dc, HWND child);
  void Command(int id, int notification);
  void CreateChildren(HINSTANCE instance);
  void SetIcons(HINSTANCE instance, int icon_id);
  [[nodiscard]] Child* ChildById(int id);
  [[nodiscard]] HWND FirstTabStop() const;
  // Where the user left it, or the first button.
  void RestoreFocus() const;

  ui::Form& form_;
  HWND window_ = nullptr;
  UniqueFont font_;
  UniqueMemoryDc measuring_dc_;  // font_ is selected in it: declared after, deleted first
  UniqueIcon big_icon_;
  UniqueIcon small_icon_;
  std::vector<Child> children_;
  HWND saved_focus_ = nullptr;
};

}  // namespace win32
