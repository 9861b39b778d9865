#pragma once

#include <windows.h>
#include <tlhelp32.h>
#include <winternl.h>

#include <cstddef>
#include <cstdint>
#include <vector>

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

inline constexpr std::size_t kTableEntries = 0x10000;
// Wine's entries have the same 24-byte shape in 32- and 64-bit processes.
inline constexpr std::size_t kTableEntrySize = 24;

inline std::size_t CountInTable(const unsigned char* table, GdiType type) {
  constexpr std::size_t kTypeOffset = 14;
  std::size_t count = 0;
  for (std::size_t i = 0; i < kTableEntries; ++i) {
    const unsigned char entry_type = table[i * kTableEntrySize + kTypeOffset];
    if (entry_type != 0 && (type == GdiType::kAny || entry_type == static_cast<unsigned char>(type))) ++count;
  }
  return count;
}

inline std::size_t CountGdiObjects(GdiType type = GdiType::kAny) {
  if (!RunningUnderWine()) return GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  const unsigned char* table = GdiSharedHandleTable();
  if (!table) return 0;
  return CountInTable(table, type);
}

// The same count for another process of this one's bitness under Wine,
// its table found as GdiSharedHandleTable finds ours, through reads of its
// memory; false when they fail. The process handle needs
// PROCESS_QUERY_INFORMATION and PROCESS_VM_READ.
inline bool CountGdiObjectsOf(HANDLE process, DWORD process_id, GdiType type, std::size_t* count) {
  const auto read = [process](std::uint64_t address, auto width, std::uint64_t* value) {
    decltype(width) got{};
    SIZE_T size = 0;
    if (address == 0 || address > UINTPTR_MAX ||
        !ReadProcessMemory(process, reinterpret_cast<const void*>(static_cast<std::uintptr_t>(address)),
                           &got, sizeof got, &size) ||
        size != sizeof got) {
      return false;
    }
    *value = got;
    return true;
  };
  const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  std::uint64_t table = 0;
#if defined(_WIN64)
  (void)process_id;
  using QueryProcess = NTSTATUS(WINAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
  const auto query = reinterpret_cast<QueryProcess>(
      reinterpret_cast<void*>(GetProcAddress(ntdll, "NtQueryInformationProcess")));
  PROCESS_BASIC_INFORMATION info{};
  if (!query || query(process, ProcessBasicInformation, &info, sizeof info, nullptr) != 0) return false;
  if (!read(reinterpret_cast<std::uintptr_t>(info.PebBaseAddress) + 0xF8, std::uint64_t{}, &table)) {
    return false;
  }
#else
  // Its TEB, from any of its threads, leads to its 64-bit PEB.
  struct BasicThreadInfo {
    NTSTATUS exit_status;
    PVOID teb;
    CLIENT_ID client_id;
    ULONG_PTR affinity;
    LONG priority, base_priority;
  } thread_info{};
  using QueryThread = NTSTATUS(WINAPI*)(HANDLE, THREADINFOCLASS, PVOID, ULONG, PULONG);
  const auto query_thread = reinterpret_cast<QueryThread>(
      reinterpret_cast<void*>(GetProcAddress(ntdll, "NtQueryInformationThread")));
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  if (!query_thread || snapshot == INVALID_HANDLE_VALUE) return false;
  THREADENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Thread32First(snapshot, &entry); more && !thread_info.teb;
       more = Thread32Next(snapshot, &entry)) {
    if (entry.th32OwnerProcessID != process_id) continue;
    if (HANDLE thread = OpenThread(THREAD_QUERY_INFORMATION, FALSE, entry.th32ThreadID)) {
      if (query_thread(thread, ThreadBasicInformation, &thread_info, sizeof thread_info, nullptr) != 0) {
        thread_info.teb = nullptr;
      }
      CloseHandle(thread);
    }
  }
  CloseHandle(snapshot);
  const auto teb = reinterpret_cast<std::uintptr_t>(thread_info.teb);
  std::uint64_t teb64 = 0, peb64 = 0;
  if (!read(teb + 0xF70, std::uint32_t{}, &teb64)) return false;
  if (teb64) {
    if (!read(teb64 + 0x60, std::uint64_t{}, &peb64) || !read(peb64 + 0xF8, std::uint64_t{}, &table)) {
      return false;
    }
  } else {
    std::uint64_t peb = 0;
    if (!read(teb + 0x30, std::uint32_t{}, &peb) || !read(peb + 0x94, std::uint32_t{}, &table)) {
      return false;
    }
  }
#endif
  std::vector<unsigned char> entries(kTableEntries * kTableEntrySize);
  SIZE_T size = 0;
  if (table == 0 || table > UINTPTR_MAX ||
      !ReadProcessMemory(process, reinterpret_cast<const void*>(static_cast<std::uintptr_t>(table)),
                         entries.data(), entries.size(), &size) ||
      size != entries.size()) {
    return false;
  }
  *count = CountInTable(entries.data(), type);
  return true;
}

}  // namespace testing_gdi
