// Tintwise.exe with paint counters, for bench_driver only: the same wWinMain,
// with the main window and its labels subclassed from outside, so the
// shipped program carries no counting code.
#include <windows.h>

#include "app/Unit1.h"
#include "bench_protocol.h"
#include "res/resource.h"
#include "win32/application.h"
#include "win32/win32_registry.h"

namespace {

LRESULT counts[kResetCounters];
WNDPROC form_procedure;
WNDPROC label_procedure;

bool IsLabel(HWND window) {
  wchar_t name[16] = {};
  GetClassNameW(window, name, 16);
  return lstrcmpiW(name, L"Static") == 0;
}

LRESULT CALLBACK CountedLabel(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_PAINT) ++counts[kLabelPaints];
  return CallWindowProcW(label_procedure, window, message, wparam, lparam);
}

LRESULT CALLBACK CountedForm(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_PAINT:
      ++counts[kFormPaints];
      break;
    case WM_CTLCOLORSTATIC:
      if (IsLabel(reinterpret_cast<HWND>(lparam))) ++counts[kLabelColorQueries];
      break;
    case kCounterMessage:
      // Paint work left over from the last command counts too.
      RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
      if (wparam < kResetCounters) return counts[wparam];
      for (LRESULT& count : counts) count = 0;
      return 0;
    default:
      break;
  }
  return CallWindowProcW(form_procedure, window, message, wparam, lparam);
}

void CountPaints(HWND form) {
  if (!form) return;
  form_procedure = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(form, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountedForm)));
  for (HWND child = GetWindow(form, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!IsLabel(child)) continue;
    label_procedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(child, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountedLabel)));
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  win32::Application application;
  application.SetTitle("Tintwise");
  win32::Win32Registry registry;
  TForm1 Form1(registry);
  win32::FormWindow window(Form1, instance, IDI_TINTWISE);
  CountPaints(window.Handle());
  return application.Run(Form1, window);
}
