#include "win32/form_window.h"

#include "core/color_display.h"
#include "win32/wide.h"

namespace win32 {

namespace {

constexpr wchar_t kWindowClass[] = L"TintwiseForm";
constexpr DWORD kFormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
// Control ids start above IDOK and IDCANCEL, which Enter and Escape send.
constexpr int kFirstControlId = 100;

std::uint32_t SystemColor(int index) { return GetSysColor(index); }

COLORREF ToColorRef(ui::Color color) { return ScreenColor(color, SystemColor); }

void RegisterWindowClass(HINSTANCE instance, WNDPROC procedure) {
  WNDCLASSEXW window_class{};
  if (GetClassInfoExW(instance, kWindowClass, &window_class)) return;
  window_class.cbSize = sizeof window_class;
  window_class.lpfnWndProc = procedure;
  window_class.hInstance = instance;
  window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  window_class.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  window_class.lpszClassName = kWindowClass;
  RegisterClassExW(&window_class);
}

DWORD StaticStyle(const ui::Label& label) {
  // Never wrap: a label that outgrows its box is clipped, not reflowed.
  const DWORD alignment =
      label.Style().alignment == ui::TextAlignment::kCenter ? SS_CENTER : SS_LEFTNOWORDWRAP;
  return WS_CHILD | WS_VISIBLE | SS_NOPREFIX | alignment;
}

}  // namespace

FormWindow::FormWindow(ui::Form& form, HINSTANCE instance, int icon_id) : form_(form) {
  RegisterWindowClass(instance, WindowProc);
  const ui::Form::Properties& props = form.Props();
  RECT outer{0, 0, props.client.width, props.client.height};
  AdjustWindowRectEx(&outer, kFormStyle, FALSE, 0);
  window_ = CreateWindowExW(0, kWindowClass, WideText(props.caption).c_str(), kFormStyle, props.left, props.top,
                  outer.right - outer.left, outer.bottom - outer.top, nullptr, nullptr, instance,
                  this);
  if (!window_) return;

  font_.reset(CreateFontW(props.font.height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                          static_cast<BYTE>(props.font.charset), OUT_DEFAULT_PRECIS,
                          CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                          WideText(props.font.face).c_str()));
  // Labels are measured here, with the same extents as in the window's DC
  // but no round trip to the window system per label.
  measuring_dc_.reset(CreateCompatibleDC(nullptr));
  if (measuring_dc_) SelectObject(measuring_dc_.get(), font_.get());
  SetIcons(instance, icon_id);
  form_.SetPeer(this);
  CreateChildren(instance);
}

FormWindow::~FormWindow() {
  form_.SetPeer(nullptr);
  for (Child& child : children_) child.control->SetPeer(nullptr);
  if (window_) DestroyWindow(window_);
}

void FormWindow::CreateChildren(HINSTANCE instance) {
  int id = kFirstControlId;
  children_.reserve(form_.Components().size());
  for (const auto& control : form_.Components()) {
    auto* label = dynamic_cast<ui::Label*>(control.get());
    // Sized before its window exists (the font does already): one resize
    // less per label at start-up.
    if (label) label->AdjustSize();
    const wchar_t* window_class = label ? L"STATIC" : L"BUTTON";
    // BS_NOTIFY: focus changes arrive, so the focused button can be the default one.
    const DWORD style = label ? StaticStyle(*label) : WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON | BS_NOTIFY;
    const ui::Rect& bounds = control->Bounds();
    HWND child = CreateWindowExW(0, window_class, WideText(control->Text()).c_str(), style, bounds.left,
                                 bounds.top, bounds.width, bounds.height, window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id++)),
                                 instance, nullptr);
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    children_.push_back({control.get(), child, {}});
    control->SetPeer(this);
  }
}

void FormWindow::SetIcons(HINSTANCE instance, int icon_id) {
  if (icon_id == 0) return;
  const auto load = [&](int metric_x, int metric_y) {
    return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(icon_id), IMAGE_ICON,
                                         GetSystemMetrics(metric_x), GetSystemMetrics(metric_y), 0));
  };
  big_icon_.reset(load(SM_CXICON, SM_CYICON));
  small_icon_.reset(load(SM_CXSMICON, SM_CYSMICON));
  SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big_icon_.get()));
  SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small_icon_.get()));
}

HWND FormWindow::ControlHandle(const ui::Control& control) const {
  for (const Child& child : children_) {
    if (child.control == &control) return child.window;
  }
  return nullptr;
}

FormWindow::Child* FormWindow::ChildById(int id) {
  const int index = id - kFirstControlId;
  if (index < 0 || index >= static_cast<int>(children_.size())) return nullptr;
  return &children_[static_cast<std::size_t>(index)];
}

HWND FormWindow::FirstTabStop() const {
  const Child* first = nullptr;
  for (const Child& child : children_) {
    const auto* button = dynamic_cast<const ui::Button*>(child.control);
    if (!button) continue;
    if (!first || button->TabOrder() < static_cast<const ui::Button*>(first->control)->TabOrder()) first = &child;
  }
  return first ? first->window : nullptr;
}

void FormWindow::RestoreFocus() const { SetFocus(saved_focus_ ? saved_focus_ : FirstTabStop()); }

void FormWindow::MakeVisible() {
  ShowWindow(window_, SW_SHOW);
  UpdateWindow(window_);
}

void FormWindow::Destroy() {
  if (window_) DestroyWindow(window_);
}

ui::Extent FormWindow::MeasureText(std::string_view text) const {
  // An empty label still takes one line's height.
  const WideText wide(text.empty() ? std::string_view(" ") : text);
  SIZE size{};
  GetTextExtentPoint32W(measuring_dc_.get(), wide.c_str(), wide.size(), &size);
  return {static_cast<int>(size.cx), static_cast<int>(size.cy)};
}

void FormWindow::TextChanged(const ui::Control& control) {
  SetWindowTextW(ControlHandle(control), WideText(control.Text()).c_str());
}

void FormWindow::BoundsChanged(const ui::Control& control) {
  const ui::Rect& b = control.Bounds();
  SetWindowPos(ControlHandle(control), nullptr, b.left, b.top, b.width, b.height,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormWindow::ColorChanged(const ui::Label& label) {
  for (Child& child : children_) {
    if (child.control != &label) continue;
    child.brush.reset(CreateSolidBrush(ToColorRef(label.GetColor())));
    InvalidateRect(child.window, nullptr, TRUE);
    return;
  }
}

LRESULT FormWindow::ColorStatic(HDC dc, HWND child_window) {
  const Child* child = ChildById(GetDlgCtrlID(child_window));
  const auto* label = child ? dynamic_cast<const ui::Label*>(child->control) : nullptr;
  if (!label) return DefWindowProcW(window_, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(child_window));
  SetTextColor(dc, ToColorRef(form_.Props().font.color));
  SetBkMode(dc, OPAQUE);
  if (label->TakesParentColor() || !child->brush) {
    SetBkColor(dc, ToColorRef(form_.Props().color));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
  }
  SetBkColor(dc, ToColorRef(label->GetColor()));
  return reinterpret_cast<LRESULT>(child->brush.get());
}

void FormWindow::Command(int id, int notification) {
  Child* child = ChildById(id);
  const auto* button = child ? dynamic_cast<const ui::Button*>(child->control) : nullptr;
  if (!button) return;  // IDOK and IDCANCEL from Enter and Escape land here too
  switch (notification) {
    case BN_CLICKED:
      button->Click();
      break;
    case BN_SETFOCUS:
    case BN_KILLFOCUS: {
      const DWORD style = notification == BN_SETFOCUS ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
      SendMessageW(child->window, BM_SETSTYLE, style | BS_NOTIFY, TRUE);
      break;
    }
    default:
      break;
  }
}

LRESULT CALLBACK FormWindow::WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<FormWindow*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    self->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<FormWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self) return DefWindowProcW(window, message, wparam, lparam);
  return self->HandleMessage(message, wparam, lparam);
}

LRESULT FormWindow::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CTLCOLORSTATIC:
      return ColorStatic(reinterpret_cast<HDC>(wparam), reinterpret_cast<HWND>(lparam));
    case WM_COMMAND:
      Command(LOWORD(wparam), HIWORD(wparam));
      return 0;
    case DM_GETDEFID: {
      // The focused button is the default one, so Enter presses it; the
      // dialog manager asks after every Tab.
      HWND focus = GetFocus();
      const int id = GetDlgCtrlID(focus);
      const Child* focused = ChildById(id);
      if (!focused || focused->window != focus || !dynamic_cast<const ui::Button*>(focused->control)) return 0;
      return MAKELRESULT(id, DC_HASDEFID);
    }
    case WM_ACTIVATE:
      // Keep the focus where the user left it, as a dialog does.
      if (LOWORD(wparam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(window_, focus)) saved_focus_ = focus;
      } else {
        RestoreFocus();
      }
      return 0;
    case WM_SETFOCUS:
      RestoreFocus();
      return 0;
    case WM_CLOSE:
      form_.Close();
      return 0;
    case WM_DESTROY:
      if (on_destroyed) on_destroyed();
      return 0;
    case WM_NCDESTROY: {
      const LRESULT result = DefWindowProcW(window_, message, wparam, lparam);
      SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
      window_ = nullptr;
      return result;
    }
    default:
      return DefWindowProcW(window_, message, wparam, lparam);
  }
}

}  // namespace win32
