// End-to-end tests: the real Tintwise.exe, driven from another process.
// They rewrite HKCU\SOFTWARE\Jw_cad, so they run only in a scratch Wine
// prefix, never against a real user's settings.

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/Unit1.h"
#include "probe.h"

namespace {

using Kind = ComponentLayout::Kind;

constexpr wchar_t kJwCad[] = L"SOFTWARE\\Jw_cad";
constexpr wchar_t kJwWin[] = L"SOFTWARE\\Jw_cad\\jw_win";
constexpr wchar_t kPen[] = L"SOFTWARE\\Jw_cad\\jw_win\\Pen";

// One colour slot: where it shows, where Jw_cad keeps it, and a distinct
// seeded value with what it must look like.
struct Seeded {
  const char* swatch;
  const char* numbers;
  const wchar_t* value_name;
  const wchar_t* stored;
  const char* text;
  COLORREF pixel;  // kNoPixel: a system colour, not checked
};
constexpr COLORREF kNoPixel = CLR_INVALID;

// clang-format off
const std::array<Seeded, 24> kPalette = {{
    {"LabelB1",  "LabelC1",  L"Color01", L"0000FF",   "[255，0，0]",     0x0000FF},
    {"LabelB2",  "LabelC2",  L"Color02", L"00FF00",   "[0，255，0]",     0x00FF00},
    {"LabelB3",  "LabelC3",  L"Color03", L"FF0000",   "[0，0，255]",     0xFF0000},
    {"LabelB4",  "LabelC4",  L"Color04", L"804020",   "[32，64，128]",   0x804020},
    {"LabelB5",  "LabelC5",  L"Color05", L"00ffff",   "[255，255，0]",   0x00FFFF},
    {"LabelB6",  "LabelC6",  L"Color06", L"FF00FF",   "[255，0，255]",   0xFF00FF},
    {"LabelB7",  "LabelC7",  L"Color07", L"FFFF00",   "[0，255，255]",   0xFFFF00},
    {"LabelB8",  "LabelC8",  L"Color08", L"C0C0C0",   "[192，192，192]", 0xC0C0C0},
    {"LabelB9",  "LabelC9",  L"Color09", L"102030",   "[48，32，16]",    0x102030},
    {"LabelB10", "LabelC10", L"Color10", L"FFFFFF",   "[255，255，255]", 0xFFFFFF},
    {"LabelB11", "LabelC11", L"Color11", L"1",        "[1，0，0]",       0x000001},
    {"LabelB12", "LabelC12", L"Color12", L"808080",   "[128，128，128]", 0x808080},
    {"LabelE1",  "LabelF1",  L"PrCol01", L"00123456", "[86，52，18]",    0x123456},
    {"LabelE2",  "LabelF2",  L"PrCol02", L"0A0B0C",   "[12，11，10]",    0x0A0B0C},
    {"LabelE3",  "LabelF3",  L"PrCol03", L"FFFFFFFF", "[-1，0，0]",      kNoPixel},
    {"LabelE4",  "LabelF4",  L"PrCol04", L"7F7F00",   "[0，127，127]",   0x7F7F00},
    {"LabelE5",  "LabelF5",  L"PrCol05", L"400080",   "[128，0，64]",    0x400080},
    {"LabelE6",  "LabelF6",  L"PrCol06", L"A0B0C0",   "[192，176，160]", 0xA0B0C0},
    {"LabelE7",  "LabelF7",  L"PrCol07", L"203040",   "[64，48，32]",    0x203040},
    {"LabelE8",  "LabelF8",  L"PrCol08", L"FE01FD",   "[253，1，254]",   0xFE01FD},
    {"LabelE9",  "LabelF9",  L"Color00", L"F0F8FF",   "[255，248，240]", 0xF0F8FF},
    {"LabelE10", "LabelF10", L"ColorZl", L"00C000",   "[0，192，0]",     0x00C000},
    {"LabelE11", "LabelF11", L"ColorZm", L"0000C0",   "[192，0，0]",     0x0000C0},
    {"LabelE12", "LabelF12", L"PrCol12", L"C00000",   "[0，0，192]",     0xC00000},
}};
// clang-format on

// Index of a component in creation order, which is also z-order.
std::size_t IndexOf(const char* name) {
  for (std::size_t i = 0; i < kForm1Layout.size(); ++i) {
    if (std::strcmp(kForm1Layout[i].name, name) == 0) return i;
  }
  ADD_FAILURE() << "no component " << name;
  return 0;
}

bool InScratchRegistry() {
  char flag[8] = {};
  if (GetEnvironmentVariableA("TINTWISE_SCRATCH_REGISTRY", flag, sizeof flag) != 1 ||
      flag[0] != '1') {
    return false;
  }
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

void SetValue(const wchar_t* key_path, const wchar_t* name, DWORD type, const void* data,
              DWORD size) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, key_path, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                            &key, nullptr),
            ERROR_SUCCESS);
  const LONG status = RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size);
  RegCloseKey(key);
  ASSERT_EQ(status, ERROR_SUCCESS);
}

void SetString(const wchar_t* name, const std::wstring& text) {
  SetValue(kPen, name, REG_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

void SeedPalette() {
  for (const Seeded& slot : kPalette) SetString(slot.value_name, slot.stored);
}

// Every key below HKCU\<root>, by path, with its values: name -> (type, bytes).
using Values = std::map<std::wstring, std::pair<DWORD, std::vector<BYTE>>>;
using Snapshot = std::map<std::wstring, Values>;

void AddKey(HKEY parent, const std::wstring& path, const std::wstring& name, Snapshot& out) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(parent, name.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return;
  Values& values = out[path];
  std::vector<std::wstring> subkeys;
  wchar_t item[16384];
  for (DWORD i = 0;; ++i) {
    DWORD length = 16384;
    DWORD type = 0;
    DWORD size = 0;
    if (RegEnumValueW(key, i, item, &length, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) break;
    std::vector<BYTE> data(size);
    length = 16384;
    RegEnumValueW(key, i, item, &length, nullptr, &type, data.data(), &size);
    data.resize(size);
    values[item] = {type, std::move(data)};
  }
  for (DWORD i = 0;; ++i) {
    DWORD length = 16384;
    if (RegEnumKeyExW(key, i, item, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    subkeys.emplace_back(item);
  }
  for (const std::wstring& subkey : subkeys) AddKey(key, path + L"\\" + subkey, subkey, out);
  RegCloseKey(key);
}

Snapshot SnapshotOf(const wchar_t* root) {
  Snapshot snapshot;
  AddKey(HKEY_CURRENT_USER, root, root, snapshot);
  return snapshot;
}

class TintwiseTest : public testing::Test {
 protected:
  void SetUp() override {
    if (!InScratchRegistry()) {
      GTEST_SKIP() << "rewrites HKCU\\SOFTWARE\\Jw_cad: runs only under Wine with "
                      "TINTWISE_SCRATCH_REGISTRY=1";
    }
    const LONG status = RegDeleteTreeW(HKEY_CURRENT_USER, kJwCad);
    ASSERT_TRUE(status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND) << status;
  }

  // Starts the program and waits until its window is up and painted.
  void Start() {
    std::string error;
    process_ = probe::Process::Launch(probe::BesideThisProgram(L"Tintwise.exe"), &error);
    ASSERT_TRUE(process_) << error;
    window_ = process_->WaitForWindow(L"TintwiseForm");
    ASSERT_TRUE(window_) << "no visible TintwiseForm window";
    ASSERT_TRUE(probe::Settle(window_));
    children_ = probe::Children(window_);
    ASSERT_EQ(children_.size(), kForm1Layout.size());
  }

  HWND Child(const char* name) const { return children_.at(IndexOf(name)).handle; }
  std::string Text(const char* name) const { return probe::WindowText(Child(name)); }
  COLORREF Centre(const char* name) const { return probe::CentrePixel(children_.at(IndexOf(name))); }

  struct Shown {
    const Seeded& slot;
    std::string text;
    COLORREF pixel;
  };

  // Texts are exact at once. Wine copies what a window painted to the
  // screen only when the window's thread next goes idle, so the pixels get
  // a little time, all of them together.
  void ExpectShown(const std::vector<Shown>& shown) const {
    for (const Shown& s : shown) EXPECT_EQ(Text(s.slot.numbers), s.text) << s.slot.numbers;
    const auto pixels_match = [&] {
      for (const Shown& s : shown) {
        if (s.pixel != kNoPixel && Centre(s.slot.swatch) != s.pixel) return false;
      }
      return true;
    };
    if (probe::WaitUntil(pixels_match)) return;
    for (const Shown& s : shown) {
      if (s.pixel != kNoPixel) {
        EXPECT_EQ(Centre(s.slot.swatch), s.pixel) << s.slot.swatch;
      }
    }
  }

  static std::vector<Shown> AsSeeded() {
    std::vector<Shown> shown;
    for (const Seeded& slot : kPalette) shown.push_back({slot, slot.text, slot.pixel});
    return shown;
  }

  // Keys typed go to the foreground window.
  void BringToFront() const {
    if (GetForegroundWindow() != window_) SetForegroundWindow(window_);
    ASSERT_TRUE(probe::WaitUntil([&] { return GetForegroundWindow() == window_; }));
  }

  bool FocusBecomes(HWND control) const {
    const auto focused = [&] { return probe::FocusedControl(window_) == control; };
    probe::WaitUntil([&] { return focused() || !process_->Running(); });
    return focused();
  }

  // Closes through 閉じる and expects a clean exit.
  void CloseNormally() {
    probe::Click(Child("Button2"));
    DWORD code = 1;
    ASSERT_TRUE(process_->WaitForExit(&code)) << "still running after 閉じる";
    EXPECT_EQ(code, 0u);
  }

  std::unique_ptr<probe::Process> process_;
  HWND window_ = nullptr;
  std::vector<probe::ChildWindow> children_;
};

TEST_F(TintwiseTest, SeededPaletteShowsEveryColourInItsSlot) {
  SeedPalette();
  ASSERT_NO_FATAL_FAILURE(Start());
  ExpectShown(AsSeeded());
}

TEST_F(TintwiseTest, ChildrenMatchTheLayoutInTextAndPlace) {
  SeedPalette();
  ASSERT_NO_FATAL_FAILURE(Start());
  for (std::size_t i = 0; i < kForm1Layout.size(); ++i) {
    const ComponentLayout& entry = kForm1Layout[i];
    const probe::ChildWindow& child = children_[i];
    SCOPED_TRACE(entry.name);
    if (entry.kind != Kind::kNumbers) {
      EXPECT_EQ(child.text, entry.text);
    }
    EXPECT_EQ(child.rect.left, entry.left);
    EXPECT_EQ(child.rect.top, entry.top);
    const int width = child.rect.right - child.rect.left;
    const int height = child.rect.bottom - child.rect.top;
    switch (entry.kind) {
      case Kind::kSwatch:
        EXPECT_EQ(width, 26);
        EXPECT_EQ(height, 13);
        break;
      case Kind::kButton:
        EXPECT_EQ(width, 97);
        EXPECT_EQ(height, 25);
        break;
      case Kind::kBanner:
        EXPECT_EQ(width, 553);
        break;
      default:
        break;  // sized to the text, which depends on the font at hand
    }
  }
}

TEST_F(TintwiseTest, WindowIsFixedAtItsPlaceWithFocusOnRefresh) {
  ASSERT_NO_FATAL_FAILURE(Start());
  EXPECT_EQ(probe::WindowText(window_), "Tintwise");
  RECT client{};
  GetClientRect(window_, &client);
  EXPECT_EQ(client.right - client.left, 553);
  EXPECT_EQ(client.bottom - client.top, 362);
  RECT outer{};
  GetWindowRect(window_, &outer);
  EXPECT_EQ(outer.left, 85);
  EXPECT_EQ(outer.top, 83);
  const LONG style = GetWindowLongW(window_, GWL_STYLE);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME);
  EXPECT_EQ(probe::FocusedControl(window_), Child("Button1"));
  EXPECT_EQ(Text("Button1"), "更新");
}

TEST_F(TintwiseTest, RegistryChangeShowsOnlyAfterRefreshClick) {
  SeedPalette();
  ASSERT_NO_FATAL_FAILURE(Start());
  const Seeded& slot = kPalette[3];
  SetString(slot.value_name, L"20C040");
  ASSERT_TRUE(probe::Settle(window_));
  ExpectShown(AsSeeded());

  probe::Click(Child("Button1"));
  ASSERT_TRUE(probe::Settle(window_));
  std::vector<Shown> after = AsSeeded();
  after[3].text = "[64，192，32]";
  after[3].pixel = 0x20C040;
  ExpectShown(after);
}

TEST_F(TintwiseTest, ClosesWithExitCodeZero) {
  const struct {
    const char* how;
    void (*close)(HWND window, HWND close_button);
  } kWays[] = {
      {"click on 閉じる", [](HWND, HWND button) { probe::Click(button); }},
      {"WM_CLOSE", [](HWND window, HWND) { probe::PostClose(window); }},
  };
  for (const auto& way : kWays) {
    SCOPED_TRACE(way.how);
    ASSERT_NO_FATAL_FAILURE(Start());
    way.close(window_, Child("Button2"));
    DWORD code = 1;
    ASSERT_TRUE(process_->WaitForExit(&code)) << "still running";
    EXPECT_EQ(code, 0u);
    process_.reset();
  }
}

TEST_F(TintwiseTest, RunLeavesTheRegistryAsItWas) {
  SeedPalette();
  // Values the program reads but cannot use, and some it never reads: none
  // may be repaired or tidied away.
  const DWORD number = 0x0000FF;
  SetValue(kPen, L"Color05", REG_DWORD, &number, sizeof number);
  SetValue(kPen, L"Color06", REG_SZ, L"", 0);
  const wchar_t expand[] = L"%SystemRoot%";
  SetValue(kPen, L"PrCol02", REG_EXPAND_SZ, expand, sizeof expand);
  const BYTE blob[] = {1, 2, 3};
  SetValue(kPen, L"Other", REG_BINARY, blob, sizeof blob);
  SetValue(L"SOFTWARE\\Jw_cad\\jw_win\\Pen\\Nested", L"Width", REG_DWORD, &number, sizeof number);
  SetValue(kJwWin, L"Version", REG_SZ, L"8.25", 10);
  const Snapshot before = SnapshotOf(kJwCad);
  ASSERT_EQ(before.size(), 4u);

  ASSERT_NO_FATAL_FAILURE(Start());
  EXPECT_EQ(Text("LabelC5"), "[0，0，0]");
  EXPECT_EQ(Text("LabelC6"), "[0，0，0]");
  EXPECT_EQ(Text("LabelF2"), "[0，0，0]");
  probe::Click(Child("Button1"));
  ASSERT_NO_FATAL_FAILURE(CloseNormally());

  EXPECT_EQ(SnapshotOf(kJwCad), before);
}

TEST_F(TintwiseTest, MissingKeyIsCreatedEmptyAndShowsBlack) {
  ASSERT_NO_FATAL_FAILURE(Start());
  std::vector<Shown> black;
  for (const Seeded& slot : kPalette) black.push_back({slot, "[0，0，0]", 0x000000});
  ExpectShown(black);
  ASSERT_NO_FATAL_FAILURE(CloseNormally());

  const Snapshot expected = {{kJwCad, {}}, {kJwWin, {}}};
  EXPECT_EQ(SnapshotOf(kJwCad), expected);
}

TEST_F(TintwiseTest, KeyboardMovesFocusRefreshesAndIgnoresEscape) {
  SeedPalette();
  ASSERT_NO_FATAL_FAILURE(Start());
  ASSERT_NO_FATAL_FAILURE(BringToFront());
  const HWND refresh = Child("Button1");
  const HWND close = Child("Button2");
  ASSERT_TRUE(FocusBecomes(refresh));

  const Seeded& slot = kPalette[0];
  SetString(slot.value_name, L"40E0D0");
  ASSERT_TRUE(probe::TypeKey(VK_RETURN));
  EXPECT_TRUE(probe::WaitUntil([&] { return Text(slot.numbers) == "[208，224，64]"; }))
      << "Enter on 更新 at start did not refresh: " << Text(slot.numbers);

  ASSERT_TRUE(probe::TypeKey(VK_TAB));
  EXPECT_TRUE(FocusBecomes(close)) << "Tab did not reach 閉じる";
  // Input is handled in order: once the Tab after Escape has moved the
  // focus, Escape has been handled too.
  ASSERT_TRUE(probe::TypeKey(VK_ESCAPE));
  ASSERT_TRUE(probe::TypeKey(VK_TAB));
  const bool wrapped = FocusBecomes(refresh);
  ASSERT_TRUE(process_->Running()) << "Escape closed the window";
  EXPECT_TRUE(wrapped) << "Tab did not wrap to 更新";

  // Enter must follow the focus, not only the button focused at start.
  SetString(slot.value_name, L"010203");
  ASSERT_TRUE(probe::TypeKey(VK_RETURN));
  EXPECT_TRUE(probe::WaitUntil([&] { return Text(slot.numbers) == "[3，2，1]"; }))
      << "Enter on 更新 after Tab did not refresh: " << Text(slot.numbers);
}

TEST_F(TintwiseTest, EnterOnCloseButtonReachedByTabCloses) {
  ASSERT_NO_FATAL_FAILURE(Start());
  ASSERT_NO_FATAL_FAILURE(BringToFront());
  ASSERT_TRUE(probe::TypeKey(VK_TAB));
  ASSERT_TRUE(FocusBecomes(Child("Button2")));
  ASSERT_TRUE(probe::TypeKey(VK_RETURN));
  DWORD code = 1;
  ASSERT_TRUE(process_->WaitForExit(&code)) << "Enter on 閉じる did not close";
  EXPECT_EQ(code, 0u);
}

TEST_F(TintwiseTest, MinimiseAndRestoreDoNotReread) {
  SeedPalette();
  ASSERT_NO_FATAL_FAILURE(Start());
  probe::PostSysCommand(window_, SC_MINIMIZE);
  ASSERT_TRUE(probe::WaitUntil([&] { return IsIconic(window_) != FALSE; }));
  const Seeded& slot = kPalette[6];
  SetString(slot.value_name, L"123456");
  probe::PostSysCommand(window_, SC_RESTORE);
  ASSERT_TRUE(probe::WaitUntil([&] { return !IsIconic(window_) && IsWindowVisible(window_); }));
  ASSERT_TRUE(probe::Settle(window_));
  ExpectShown(AsSeeded());
  ASSERT_NO_FATAL_FAILURE(CloseNormally());
}

}  // namespace
