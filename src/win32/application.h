#pragma once

#include <windows.h>

#include <string>

#include "win32/form_window.h"

namespace win32 {

// The program as a whole: its title and the message loop of its one main
// window, which ends when that window is gone.
class Application {
 public:
  void SetTitle(std::string title) { title_ = std::move(title); }
  [[nodiscard]] const std::string& Title() const { return title_; }

  // Shows the main form and runs until its window is destroyed; returns
  // the exit code.
  int Run(ui::Form& main_form, FormWindow& main_window);

 private:
  std::string title_;
};

}  // namespace win32
