// The floor for Tintwise's start-up and refresh figures: the same window,
// class, icon, manifest, font and 82 children with the same texts, but it
// reads nothing: every swatch is one colour and "更新" does nothing.
// With "/empty" it opens the same window without children.
#include <windows.h>

#include "bench_protocol.h"
#include "res/resource.h"

namespace {

enum Kind { kText, kBanner, kSwatch, kNumbers, kButton };

struct Row {
  Kind kind;
  int left, top, width, height;
  const wchar_t* text;
};

// The layout of Unit1.cpp, as wide literals.
// clang-format off
const Row kRows[] = {
    {kBanner, 0, 0, 553, 13, L"このツールは Jw_cad レジストリ情報の線色情報を読み取って表示するソフトです"},
    {kText, 8, 56, 39, 13, L"線色１"},
    {kSwatch, 64, 56, 26, 13, L"　　"},
    {kNumbers, 104, 56, 49, 13, L"[0,0,0]"},
    {kText, 56, 32, 52, 13, L"画面要素"},
    {kText, 8, 80, 39, 13, L"線色２"},
    {kSwatch, 64, 80, 26, 13, L"　　"},
    {kNumbers, 104, 80, 49, 13, L"[0,0,0]"},
    {kText, 8, 104, 39, 13, L"線色３"},
    {kSwatch, 64, 104, 26, 13, L"　　"},
    {kNumbers, 104, 104, 49, 13, L"[0,0,0]"},
    {kText, 8, 128, 39, 13, L"線色４"},
    {kSwatch, 64, 128, 26, 13, L"　　"},
    {kNumbers, 104, 128, 49, 13, L"[0,0,0]"},
    {kText, 8, 152, 39, 13, L"線色５"},
    {kSwatch, 64, 152, 26, 13, L"　　"},
    {kNumbers, 104, 152, 49, 13, L"[0,0,0]"},
    {kText, 8, 176, 39, 13, L"線色６"},
    {kSwatch, 64, 176, 26, 13, L"　　"},
    {kNumbers, 104, 176, 49, 13, L"[0,0,0]"},
    {kText, 8, 200, 39, 13, L"線色７"},
    {kSwatch, 64, 200, 26, 13, L"　　"},
    {kNumbers, 104, 200, 49, 13, L"[0,0,0]"},
    {kText, 8, 224, 39, 13, L"線色８"},
    {kSwatch, 64, 224, 26, 13, L"　　"},
    {kNumbers, 104, 224, 49, 13, L"[0,0,0]"},
    {kText, 8, 248, 39, 13, L"グレー"},
    {kSwatch, 64, 248, 26, 13, L"　　"},
    {kNumbers, 104, 248, 49, 13, L"[0,0,0]"},
    {kText, 8, 272, 39, 13, L"補助線"},
    {kSwatch, 64, 272, 26, 13, L"　　"},
    {kNumbers, 104, 272, 49, 13, L"[0,0,0]"},
    {kText, 8, 296, 39, 13, L"選択色"},
    {kSwatch, 64, 296, 26, 13, L"　　"},
    {kNumbers, 104, 296, 49, 13, L"[0,0,0]"},
    {kText, 8, 320, 39, 13, L"仮表示"},
    {kSwatch, 64, 320, 26, 13, L"　　"},
    {kNumbers, 104, 320, 49, 13, L"[0,0,0]"},
    {kText, 232, 56, 39, 13, L"線色１"},
    {kSwatch, 288, 56, 26, 13, L"　　"},
    {kNumbers, 328, 56, 49, 13, L"[0,0,0]"},
    {kText, 280, 32, 104, 13, L"プリンタ出力要素"},
    {kText, 232, 80, 39, 13, L"線色２"},
    {kSwatch, 288, 80, 26, 13, L"　　"},
    {kNumbers, 328, 80, 49, 13, L"[0,0,0]"},
    {kText, 232, 104, 39, 13, L"線色３"},
    {kSwatch, 288, 104, 26, 13, L"　　"},
    {kNumbers, 328, 104, 49, 13, L"[0,0,0]"},
    {kText, 232, 128, 39, 13, L"線色４"},
    {kSwatch, 288, 128, 26, 13, L"　　"},
    {kNumbers, 328, 128, 49, 13, L"[0,0,0]"},
    {kText, 232, 152, 39, 13, L"線色５"},
    {kSwatch, 288, 152, 26, 13, L"　　"},
    {kNumbers, 328, 152, 49, 13, L"[0,0,0]"},
    {kText, 232, 176, 39, 13, L"線色６"},
    {kSwatch, 288, 176, 26, 13, L"　　"},
    {kNumbers, 328, 176, 49, 13, L"[0,0,0]"},
    {kText, 232, 200, 39, 13, L"線色７"},
    {kSwatch, 288, 200, 26, 13, L"　　"},
    {kNumbers, 328, 200, 49, 13, L"[0,0,0]"},
    {kText, 232, 224, 39, 13, L"線色８"},
    {kSwatch, 288, 224, 26, 13, L"　　"},
    {kNumbers, 328, 224, 49, 13, L"[0,0,0]"},
    {kText, 232, 248, 39, 13, L"グレー"},
    {kSwatch, 288, 248, 26, 13, L"　　"},
    {kNumbers, 328, 248, 49, 13, L"[0,0,0]"},
    {kText, 232, 296, 39, 13, L"背景色"},
    {kSwatch, 288, 296, 26, 13, L"　　"},
    {kNumbers, 328, 296, 49, 13, L"[0,0,0]"},
    {kText, 232, 320, 41, 13, L"ｽﾞｰﾑ色"},
    {kSwatch, 288, 320, 26, 13, L"　　"},
    {kNumbers, 328, 320, 49, 13, L"[0,0,0]"},
    {kText, 232, 344, 39, 13, L"文字色"},
    {kSwatch, 288, 344, 26, 13, L"　　"},
    {kNumbers, 328, 344, 49, 13, L"[0,0,0]"},
    {kText, 440, 40, 94, 13, L"Jw_cadでは終了"},
    {kText, 440, 56, 91, 13, L"時にレジストリ"},
    {kText, 440, 72, 91, 13, L"の更新が行われ"},
    {kText, 440, 88, 91, 13, L"ますので御注意"},
    {kText, 440, 104, 52, 13, L"下さい。"},
    {kButton, 448, 296, 97, 25, L"更新"},
    {kButton, 448, 336, 97, 25, L"閉じる"},
};
// clang-format on

constexpr int kFirstId = 100;
constexpr int kCloseId = kFirstId + 81;
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

HBRUSH swatch_brush;
HWND first_button;

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CTLCOLORSTATIC: {
      const HDC dc = reinterpret_cast<HDC>(wparam);
      const int id = GetDlgCtrlID(reinterpret_cast<HWND>(lparam));
      SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
      SetBkMode(dc, OPAQUE);
      if (id >= kFirstId && kRows[id - kFirstId].kind == kSwatch) {
        SetBkColor(dc, kFloorSwatchColor);
        return reinterpret_cast<LRESULT>(swatch_brush);
      }
      SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_COMMAND:
      if (LOWORD(wparam) == kCloseId && HIWORD(wparam) == BN_CLICKED) DestroyWindow(window);
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wparam) != WA_INACTIVE && first_button) SetFocus(first_button);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window, message, wparam, lparam);
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR command_line, int) {
  const bool empty = lstrcmpiW(command_line, L"/empty") == 0;
  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof window_class;
  window_class.lpfnWndProc = Procedure;
  window_class.hInstance = instance;
  window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  window_class.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  window_class.lpszClassName = L"TintwiseForm";
  RegisterClassExW(&window_class);

  RECT outer{0, 0, 553, 362};
  AdjustWindowRectEx(&outer, kStyle, FALSE, 0);
  const HWND window = CreateWindowExW(0, L"TintwiseForm", L"Tintwise", kStyle, 85, 83, outer.right - outer.left,
                                      outer.bottom - outer.top, nullptr, nullptr, instance, nullptr);
  if (!window) return 1;
  const HFONT font = CreateFontW(-13, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                                 CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"ＭＳ ゴシック");
  const auto icon = [&](int x, int y) {
    return reinterpret_cast<LPARAM>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_TINTWISE), IMAGE_ICON,
                                               GetSystemMetrics(x), GetSystemMetrics(y), 0));
  };
  SendMessageW(window, WM_SETICON, ICON_BIG, icon(SM_CXICON, SM_CYICON));
  SendMessageW(window, WM_SETICON, ICON_SMALL, icon(SM_CXSMICON, SM_CYSMICON));
  swatch_brush = CreateSolidBrush(kFloorSwatchColor);

  for (int i = 0; !empty && i < static_cast<int>(sizeof kRows / sizeof kRows[0]); ++i) {
    const Row& row = kRows[i];
    const bool button = row.kind == kButton;
    const DWORD style = button ? WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON | BS_NOTIFY
                               : WS_CHILD | WS_VISIBLE | SS_NOPREFIX |
                                     (row.kind == kBanner ? SS_CENTER : SS_LEFTNOWORDWRAP);
    const HWND child = CreateWindowExW(0, button ? L"BUTTON" : L"STATIC", row.text, style, row.left, row.top,
                                       row.width, row.height, window,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstId + i)), instance, nullptr);
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (button && !first_button) first_button = child;
  }

  ShowWindow(window, SW_SHOW);
  UpdateWindow(window);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (IsDialogMessageW(window, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  DeleteObject(swatch_brush);
  DeleteObject(font);
  return static_cast<int>(message.wParam);
}
