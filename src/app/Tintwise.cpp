#include <windows.h>

#include "app/Unit1.h"
#include "res/resource.h"
#include "win32/application.h"
#include "win32/win32_registry.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  win32::Application application;
  application.SetTitle("Tintwise");
  win32::Win32Registry registry;
  TForm1 Form1(registry);
  win32::FormWindow window(Form1, instance, IDI_TINTWISE);
  return application.Run(Form1, window);
}
