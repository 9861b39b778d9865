#pragma once

#include <windows.h>
#include <winternl.h>

#include <cstddef>
#include <cstdint>

// Live GDI objects of this process. Wine stubs GetGuiResources, but keeps
// the objects in the PEB's shared handle table, as Windows once did.
namespace testing_gdi {

enum class GdiType : unsigned char { kAny = 0, kFont = 0x0a, kBrush = 0x10 };

inline bool RunningUnderWine() {
  return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

inline std::size_t CountGdiObjects(GdiType type = GdiType::kAny) {
  if (!RunningUnderWine()) return GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
#if defined(_WIN64)
  constexpr std::size_t kTableOffset = 0xF8;  // PEB.GdiSharedHandleTable
#else
  constexpr std::size_t kTableOffset = 0x94;
#endif
  constexpr std::size_t kEntries = 0x10000;
  // Wine's entries have the same 24-byte shape in 32- and 64-bit processes.
  constexpr std::size_t kEntrySize = 24;
  constexpr std::size_t kTypeOffset = 14;
  const auto* peb = reinterpret_cast<const unsigned char*>(NtCurrentTeb()->ProcessEnvironmentBlock);
  const auto* table = *reinterpret_cast<const unsigned char* const*>(peb + kTableOffset);
  if (!table) return 0;
  std::size_t count = 0;
  for (std::size_t i = 0; i < kEntries; ++i) {
    const unsigned char entry_type = table[i * kEntrySize + kTypeOffset];
    if (entry_type != 0 && (type == GdiType::kAny || entry_type == static_cast<unsigned char>(type))) ++count;
  }
  return count;
}

}  // namespace testing_gdi
