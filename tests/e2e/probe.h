#pragma once

// Drives another process's window from outside, through the same calls a
// user's tools and screen readers rely on.

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace probe {

// Every wait gives up after this long.
inline constexpr DWORD kTimeoutMs = 10000;

// Polls `done` until it holds or `timeout_ms` has passed; true if it held.
bool WaitUntil(const std::function<bool()>& done, DWORD timeout_ms = kTimeoutMs);

// A file in the directory of the running test program.
std::wstring BesideThisProgram(const wchar_t* file_name);

// A program started by the test. Ends it by force on destruction if it is
// still running, so a failed test leaves nothing behind.
class Process {
 public:
  // Null, with `error` set, when the program cannot be started.
  static std::unique_ptr<Process> Launch(const std::wstring& exe, std::string* error);
  ~Process();
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;

  [[nodiscard]] DWORD Id() const { return id_; }
  [[nodiscard]] bool Running() const;

  // The visible top-level window of class `window_class` that this process
  // owns; null on time-out or if the process ends first.
  HWND WaitForWindow(const wchar_t* window_class, DWORD timeout_ms = kTimeoutMs) const;

  // True, with the exit code, if the process ended in time.
  bool WaitForExit(DWORD* exit_code, DWORD timeout_ms = kTimeoutMs) const;

 private:
  Process(HANDLE process, DWORD id) : process_(process), id_(id) {}
  HANDLE process_;
  DWORD id_;
};

struct ChildWindow {
  HWND handle;
  std::string text;  // UTF-8
  RECT rect;         // in the parent's client coordinates
};

// Direct children in z-order, which for windows never reordered is the
// order they were created in.
std::vector<ChildWindow> Children(HWND parent);

std::string WindowText(HWND window);  // UTF-8

// Where `child` sits in its parent's client area.
RECT RectInParent(HWND child);

// The screen pixel at client point (x, y) of `window`.
COLORREF PixelAt(HWND window, int x, int y);
COLORREF CentrePixel(const ChildWindow& child);

// Waits until the window's thread has handled everything sent so far and
// has painted the window and its children. Under Wine the paint reaches
// the screen a moment later, when that thread goes idle.
bool Settle(HWND window);

// The control with the keyboard focus in the thread that owns `window`.
HWND FocusedControl(HWND window);

// Synchronous: returns once the program has handled the click.
void Click(HWND button);

// Asynchronous: the program handles it after this returns.
void PostClose(HWND window);
void PostSysCommand(HWND window, WPARAM command);

// One key down and up through the system's input queue, as typed.
bool TypeKey(WORD virtual_key);

}  // namespace probe
