#include "probe.h"

#include "win32/wide.h"

namespace probe {

namespace {

constexpr DWORD kPollMs = 5;

struct WindowSearch {
  DWORD process_id;
  const wchar_t* window_class;
  HWND found;
};

BOOL CALLBACK MatchTopLevel(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<WindowSearch*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  if (owner != search->process_id || lstrcmpW(name, search->window_class) != 0 ||
      !IsWindowVisible(window)) {
    return TRUE;
  }
  search->found = window;
  return FALSE;
}

bool Ping(HWND window) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_BLOCK | SMTO_ABORTIFHUNG, kTimeoutMs,
                             &result) != 0;
}

}  // namespace

bool WaitUntil(const std::function<bool()>& done, DWORD timeout_ms) {
  const ULONGLONG deadline = GetTickCount64() + timeout_ms;
  for (;;) {
    if (done()) return true;
    if (GetTickCount64() >= deadline) return false;
    Sleep(kPollMs);
  }
}

std::wstring BesideThisProgram(const wchar_t* file_name) {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  return path.substr(0, path.find_last_of(L"\\/") + 1) + file_name;
}

std::unique_ptr<Process> Process::Launch(const std::wstring& exe, std::string* error) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  std::wstring command_line = L"\"" + exe + L"\"";
  if (!CreateProcessW(exe.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &info)) {
    if (error) *error = "CreateProcessW failed with " + std::to_string(GetLastError()) + " for " + win32::Narrow(exe);
    return nullptr;
  }
  CloseHandle(info.hThread);
  return std::unique_ptr<Process>(new Process(info.hProcess, info.dwProcessId));
}

Process::~Process() {
  if (Running()) {
    TerminateProcess(process_, 255);
    WaitForSingleObject(process_, kTimeoutMs);
  }
  CloseHandle(process_);
}

bool Process::Running() const { return WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }

HWND Process::WaitForWindow(const wchar_t* window_class, DWORD timeout_ms) const {
  WindowSearch search{id_, window_class, nullptr};
  WaitUntil(
      [&] {
        EnumWindows(MatchTopLevel, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr || !Running();
      },
      timeout_ms);
  return search.found;
}

bool Process::WaitForExit(DWORD* exit_code, DWORD timeout_ms) const {
  if (WaitForSingleObject(process_, timeout_ms) != WAIT_OBJECT_0) return false;
  return GetExitCodeProcess(process_, exit_code) != 0;
}

std::string WindowText(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return win32::Narrow(text);
}

RECT RectInParent(HWND child) {
  RECT rect{};
  GetWindowRect(child, &rect);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

std::vector<ChildWindow> Children(HWND parent) {
  std::vector<ChildWindow> children;
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    children.push_back({child, WindowText(child), RectInParent(child)});
  }
  return children;
}

COLORREF PixelAt(HWND window, int x, int y) {
  POINT point{x, y};
  ClientToScreen(window, &point);
  HDC screen = GetDC(nullptr);
  const COLORREF pixel = GetPixel(screen, point.x, point.y);
  ReleaseDC(nullptr, screen);
  return pixel;
}

COLORREF CentrePixel(const ChildWindow& child) {
  const RECT& r = child.rect;
  return PixelAt(GetParent(child.handle), (r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

bool Settle(HWND window) {
  if (!Ping(window)) return false;
  // Sends WM_PAINT to each window with an invalid region and returns once
  // all of them are painted.
  RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  return Ping(window);
}

HWND FocusedControl(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

void Click(HWND button) { SendMessageW(button, BM_CLICK, 0, 0); }

void PostClose(HWND window) { PostMessageW(window, WM_CLOSE, 0, 0); }

void PostSysCommand(HWND window, WPARAM command) {
  PostMessageW(window, WM_SYSCOMMAND, command, 0);
}

bool TypeKey(WORD virtual_key) {
  INPUT inputs[2]{};
  for (INPUT& input : inputs) {
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtual_key;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(virtual_key, MAPVK_VK_TO_VSC));
  }
  inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
  return SendInput(2, inputs, sizeof(INPUT)) == 2;
}

}  // namespace probe
