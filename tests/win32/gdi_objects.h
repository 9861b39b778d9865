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

// The PEB's GdiSharedHandleTable. A 32-bit process in a 64-bit prefix
// (WoW64) has it only in its 64-bit PEB, which Wine links from the 32-bit
// TEB's GdiBatchCount; in a 32-bit prefix it is in the 32-bit PEB.
inline const unsigned char* GdiSharedHandleTable() {
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Warray-bounds"  // GCC 12, i686: a false alarm on the fs: read
#endif
  const TEB* teb = NtCurrentTeb();
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif
  const auto read = [](std::uintptr_t address, auto width) {
    return static_cast<std::uintptr_t>(*reinterpret_cast<const decltype(width)*>(address));
  };
  const auto peb = reinterpret_cast<std::uintptr_t>(teb->ProcessEnvironmentBlock);
#if defined(_WIN64)
  return reinterpret_cast<const unsigned char*>(read(peb + 0xF8, std::uint64_t{}));
#else
  if (const std::uintptr_t teb64 = read(reinterpret_cast<std::uintptr_t>(teb) + 0xF70, std::uint32_t{})) {
    const std::uintptr_t peb64 = read(teb64 + 0x60, std::uint64_t{});
    return reinterpret_cast<const unsigned char*>(read(peb64 + 0xF8, std::uint64_t{}));
  }
  return reinterpret_cast<const unsigned char*>(read(peb + 0x94, std::uint32_t{}));
#endif
}

inline std::size_t CountGdiObjects(GdiType type = GdiType::kAny) {
  if (!RunningUnderWine()) return GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  constexpr std::size_t kEntries = 0x10000;
  // Wine's entries have the same 24-byte shape in 32- and 64-bit processes.
  constexpr std::size_t kEntrySize = 24;
  constexpr std::size_t kTypeOffset = 14;
  const unsigned char* table = GdiSharedHandleTable();
  if (!table) return 0;
  std::size_t count = 0;
  for (std::size_t i = 0; i < kEntries; ++i) {
    const unsigned char entry_type = table[i * kEntrySize + kTypeOffset];
    if (entry_type != 0 && (type == GdiType::kAny || entry_type == static_cast<unsigned char>(type))) ++count;
  }
  return count;
}

}  // namespace testing_gdi
