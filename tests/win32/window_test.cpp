// The main window inside this process: what only the process itself can
// see (fonts, brushes, icons, GDI objects, messages), over a registry
// that lives in memory.
#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "app/Unit1.h"
#include "core/color_display.h"
#include "gdi_objects.h"
#include "res/resource.h"
#include "win32/form_window.h"
#include "win32/wide.h"

namespace {

// Answers every read of the "Pen" section from a map of value texts.
class TextRegistry final : public Registry {
 public:
  std::map<std::string, std::string> values;
  int passes = 0;

  std::unique_ptr<RegistryReader> OpenCurrentUserKey(std::string_view) override {
    ++passes;
    return std::make_unique<Reader>(values);
  }

 private:
  class Reader final : public RegistryReader {
   public:
    explicit Reader(const std::map<std::string, std::string>& values) : values_(values) {}
    ValueRead ReadString(std::string_view, std::string_view name) override {
      const auto found = values_.find(std::string(name));
      if (found == values_.end()) return {};
      return {ValueStatus::kText, found->second};
    }

   private:
    const std::map<std::string, std::string>& values_;
  };
};

// Counts messages sent to the window and its children while it lives.
class MessageCounter {
 public:
  MessageCounter() : hook_(SetWindowsHookExW(WH_CALLWNDPROC, Hook, nullptr, GetCurrentThreadId())) {
    instance_ = this;
  }
  ~MessageCounter() {
    UnhookWindowsHookEx(hook_);
    instance_ = nullptr;
  }
  int Count(UINT message) const {
    const auto found = counts_.find(message);
    return found == counts_.end() ? 0 : found->second;
  }

 private:
  static LRESULT CALLBACK Hook(int code, WPARAM wparam, LPARAM lparam) {
    if (code == HC_ACTION && instance_) ++instance_->counts_[reinterpret_cast<CWPSTRUCT*>(lparam)->message];
    return CallNextHookEx(nullptr, code, wparam, lparam);
  }
  static inline MessageCounter* instance_ = nullptr;
  HHOOK hook_;
  std::map<UINT, int> counts_;
};

void PumpMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

std::uint32_t SystemColor(int index) { return GetSysColor(index); }

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    registry_.values = {{"Color01", "0000FF"}, {"Color02", "00804020"}, {"PrCol12", "FFFFFFFF"}};
    MakeWindow();
  }

  void MakeWindow() {
    window_.reset();  // it still points at the old form
    form_ = std::make_unique<TForm1>(registry_);
    window_ = std::make_unique<win32::FormWindow>(*form_, GetModuleHandleW(nullptr), IDI_TINTWISE);
    ASSERT_NE(window_->Handle(), nullptr);
  }

  void ShowForm() {
    form_->Show();
    PumpMessages();
  }

  HWND Child(const char* name) const { return window_->ControlHandle(*form_->FindComponent(name)); }

  std::string WindowText(const char* name) const {
    wchar_t text[256];
    GetWindowTextW(Child(name), text, 256);
    return win32::Narrow(text);
  }

  // What the window answers when the child asks for its colours.
  COLORREF BrushColorOf(const char* name) const {
    HDC dc = GetDC(Child(name));
    const auto brush = reinterpret_cast<HBRUSH>(
        SendMessageW(window_->Handle(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                     reinterpret_cast<LPARAM>(Child(name))));
    ReleaseDC(Child(name), dc);
    LOGBRUSH logbrush{};
    GetObjectW(brush, sizeof logbrush, &logbrush);
    return logbrush.lbColor;
  }

  TextRegistry registry_;
  std::unique_ptr<TForm1> form_;
  std::unique_ptr<win32::FormWindow> window_;
};

TEST_F(WindowTest, EveryControlUsesTheFormFont) {
  LOGFONTW font{};
  ASSERT_EQ(GetObjectW(window_->Font(), sizeof font, &font), static_cast<int>(sizeof font));
  EXPECT_EQ(win32::Narrow(font.lfFaceName), "ＭＳ ゴシック");
  EXPECT_EQ(font.lfCharSet, SHIFTJIS_CHARSET);
  EXPECT_EQ(font.lfHeight, -13);
  EXPECT_EQ(font.lfWeight, FW_NORMAL);
  EXPECT_FALSE(font.lfItalic || font.lfUnderline || font.lfStrikeOut);
  for (const auto& control : form_->Components()) {
    SCOPED_TRACE(control->Name());
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(window_->ControlHandle(*control), WM_GETFONT, 0, 0)),
              window_->Font());
  }
}

TEST_F(WindowTest, ShowDrawsTheRegistryColoursBeforeTheWindowIsVisible) {
  bool visible_during_show = true;
  form_->on_show = [&] {
    visible_during_show = IsWindowVisible(window_->Handle()) != FALSE;
    form_->FormShow();
  };
  ShowForm();
  EXPECT_FALSE(visible_during_show);
  EXPECT_TRUE(IsWindowVisible(window_->Handle()));
  EXPECT_EQ(registry_.passes, 1);

  EXPECT_EQ(WindowText("LabelC1"), "[255，0，0]");
  EXPECT_EQ(WindowText("LabelC2"), "[32，64，128]");
  EXPECT_EQ(WindowText("LabelF12"), "[-1，0，0]");

  EXPECT_EQ(BrushColorOf("LabelB1"), RGB(255, 0, 0));
  EXPECT_EQ(BrushColorOf("LabelB2"), RGB(32, 64, 128));
  EXPECT_EQ(BrushColorOf("LabelE1"), RGB(0, 0, 0));
  EXPECT_EQ(BrushColorOf("LabelE12"), ScreenColor(-1, SystemColor));
  // Labels that follow the window keep its button-face colour.
  EXPECT_EQ(BrushColorOf("LabelA1"), GetSysColor(COLOR_BTNFACE));
}

TEST_F(WindowTest, NumbersLabelsFitTheirTextInTheFormFont) {
  ShowForm();
  HDC dc = GetDC(window_->Handle());
  SelectObject(dc, window_->Font());
  for (const char* name : {"LabelC1", "LabelC2", "LabelF12"}) {
    SCOPED_TRACE(name);
    const std::wstring text = win32::Wide(form_->FindComponent(name)->Text());
    SIZE extent{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    RECT rect{};
    GetWindowRect(Child(name), &rect);
    MapWindowPoints(nullptr, window_->Handle(), reinterpret_cast<POINT*>(&rect), 2);
    const ui::Rect& laid_out = form_->FindComponent(name)->Bounds();
    EXPECT_EQ(rect.left, laid_out.left);
    EXPECT_EQ(rect.top, laid_out.top);
    EXPECT_EQ(rect.right - rect.left, extent.cx);
    EXPECT_EQ(rect.bottom - rect.top, extent.cy);
  }
  ReleaseDC(window_->Handle(), dc);
}

TEST_F(WindowTest, ARefreshThatFindsNothingNewRepaintsNothing) {
  ShowForm();
  MessageCounter counter;
  form_->ShowRegistryColors();
  PumpMessages();
  EXPECT_EQ(registry_.passes, 2);
  EXPECT_EQ(counter.Count(WM_SETTEXT), 0);
  EXPECT_EQ(counter.Count(WM_CTLCOLORSTATIC), 0);
  EXPECT_EQ(counter.Count(WM_PAINT), 0);
}

TEST_F(WindowTest, ARefreshRepaintsOnlyWhatChanged) {
  ShowForm();
  registry_.values["Color01"] = "00FF00";
  MessageCounter counter;
  form_->ShowRegistryColors();
  PumpMessages();
  EXPECT_EQ(counter.Count(WM_SETTEXT), 1);
  EXPECT_EQ(BrushColorOf("LabelB1"), RGB(0, 255, 0));
}

TEST_F(WindowTest, ColourChangesLeakNoGdiObjects) {
  ShowForm();
  auto& swatch = dynamic_cast<ui::Label&>(*form_->FindComponent("LabelB1"));
  swatch.SetColor(1);
  const std::size_t brushes = testing_gdi::CountGdiObjects(testing_gdi::GdiType::kBrush);
  const std::size_t objects = testing_gdi::CountGdiObjects();
  ASSERT_GT(objects, 0u) << "cannot count GDI objects here";
  for (int i = 0; i < 100000; ++i) swatch.SetColor(i % 2 == 0 ? 0x00FF00 : 0x0000FF);
  PumpMessages();
  EXPECT_EQ(testing_gdi::CountGdiObjects(testing_gdi::GdiType::kBrush), brushes);
  EXPECT_EQ(testing_gdi::CountGdiObjects(), objects);
}

TEST_F(WindowTest, ClosingFromTheButtonOrTheTitleBarTakesTheSamePath) {
  for (const bool from_button : {true, false}) {
    SCOPED_TRACE(from_button ? "閉じる" : "WM_CLOSE");
    MakeWindow();
    int closes = 0;
    int destroyed = 0;
    form_->on_close = [&] { ++closes; };
    window_->on_destroyed = [&] { ++destroyed; };
    ShowForm();
    if (from_button) {
      SendMessageW(Child("Button2"), BM_CLICK, 0, 0);
    } else {
      SendMessageW(window_->Handle(), WM_CLOSE, 0, 0);
    }
    PumpMessages();
    EXPECT_EQ(closes, 1);
    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(window_->Handle(), nullptr);
  }
}

TEST_F(WindowTest, WindowIconsShowTheEightBlocks) {
  for (const WPARAM which : {WPARAM{ICON_SMALL}, WPARAM{ICON_BIG}}) {
    SCOPED_TRACE(which == ICON_SMALL ? "small" : "big");
    const auto icon = reinterpret_cast<HICON>(SendMessageW(window_->Handle(), WM_GETICON, which, 0));
    ASSERT_NE(icon, nullptr);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP bitmap{};
    GetObjectW(info.hbmColor, sizeof bitmap, &bitmap);
    const int size = bitmap.bmWidth;
    BITMAPINFO format{};
    format.bmiHeader = {sizeof(BITMAPINFOHEADER), size, -size, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(size * size));
    HDC dc = GetDC(nullptr);
    GetDIBits(dc, info.hbmColor, 0, static_cast<UINT>(size), pixels.data(), &format, DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    // Block centres, as 0xRRGGBB: red | blue, lime | cyan, yellow | magenta, black | white.
    const std::uint32_t expected[4][2] = {{0xFF0000, 0x0000FF}, {0x00FF00, 0x00FFFF},
                                          {0xFFFF00, 0xFF00FF}, {0x000000, 0xFFFFFF}};
    for (int row = 0; row < 4; ++row) {
      for (int column = 0; column < 2; ++column) {
        const int x = (column * 8 + 4) * size / 16;
        const int y = (row * 4 + 2) * size / 16;
        EXPECT_EQ(pixels[static_cast<std::size_t>(y * size + x)] & 0xFFFFFF, expected[row][column])
            << "block " << row << "," << column;
      }
    }
  }
}

}  // namespace
