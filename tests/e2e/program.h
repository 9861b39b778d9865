#pragma once

// The real Tintwise.exe as the robustness tests drive it: started beside
// the test program, its 24 numbers labels, its buttons, and what it holds.

#include <windows.h>

#include <array>
#include <memory>
#include <string>

#include "core/color_table.h"
#include "probe.h"

namespace program {

// Tests that rewrite HKCU\SOFTWARE\Jw_cad run only in a scratch Wine
// prefix, never against a real user's settings.
bool InScratchRegistry();

using Texts = std::array<std::string, kSlotCount>;

// What each numbers label must show for `table`.
Texts TextsOf(const ColorTable& table);

// Kernel handles and GDI objects the process holds.
struct Holdings {
  std::size_t handles = 0;
  std::size_t gdi_objects = 0;
  std::size_t brushes = 0;
  std::size_t fonts = 0;
  friend bool operator==(const Holdings& a, const Holdings& b) {
    return a.handles == b.handles && a.gdi_objects == b.gdi_objects && a.brushes == b.brushes &&
           a.fonts == b.fonts;
  }
};
std::string ToString(const Holdings& holdings);

class Tintwise {
 public:
  // Starts the program and waits until its window is up and painted; a
  // fatal test failure when it is not.
  void Start();

  [[nodiscard]] bool Running() const { return process_ && process_->Running(); }
  [[nodiscard]] HWND Child(const char* name) const;

  // The texts of the 24 numbers labels, slot order.
  [[nodiscard]] Texts Numbers() const;

  // Clicks 更新; false if the program did not handle the click within
  // the time-out.
  [[nodiscard]] bool ClickRefresh(DWORD timeout_ms = probe::kTimeoutMs) const;
  // The same, then waits until the window is painted.
  [[nodiscard]] bool Refresh() const;

  // Closes through 閉じる; a test failure unless the program ends with 0.
  void CloseNormally();

  // False when the process could not be inspected.
  [[nodiscard]] bool Count(Holdings* holdings) const;

 private:
  std::unique_ptr<probe::Process> process_;
  HWND window_ = nullptr;
  std::array<HWND, 82> children_{};
};

}  // namespace program
