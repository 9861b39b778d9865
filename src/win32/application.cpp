#include "win32/application.h"

namespace win32 {

int Application::Run(ui::Form& main_form, FormWindow& main_window) {
  if (!main_window.Handle()) return 1;
  main_window.on_destroyed = [] { PostQuitMessage(0); };
  main_form.Show();

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    // Tab between the buttons, Enter on the focused one.
    if (main_window.Handle() && IsDialogMessageW(main_window.Handle(), &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}

}  // namespace win32
