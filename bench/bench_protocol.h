#pragma once

// What the bench programs and bench_driver agree on.

#include <windows.h>

// The one colour of every swatch of bench_floor.exe.
inline constexpr COLORREF kFloorSwatchColor = RGB(0x20, 0x60, 0xA0);

// Sent to the main window of Tintwise_bench.exe: paints whatever is pending,
// then returns the counter named by wParam (kResetCounters zeroes them).
inline constexpr UINT kCounterMessage = WM_APP + 0x7E1;
enum Counter : WPARAM {
  kLabelPaints,       // WM_PAINT received by STATIC children
  kLabelColorQueries, // WM_CTLCOLORSTATIC: Wine's STATIC also redraws at once on WM_SETTEXT
  kFormPaints,        // WM_PAINT received by the main window
  kResetCounters,
};
