// Measures Tintwise.exe against its floors from outside, as a user's tools
// see it, and prints one table. Run by scripts/bench.sh inside a scratch
// Wine prefix with everything pinned to one CPU; it rewrites
// HKCU\SOFTWARE\Jw_cad\jw_win\Pen, so never run it in a real user's prefix.
//
//   bench_driver.exe [--rounds N] [--pairs N] [--refreshes N]
//                    [--start-up-only] [--exe OTHER_BUILD.exe]
//
// Speed figures are medians of per-round (or per-pair) ratios, each round
// running both programs back to back in rotating order. Targets are
// reported, never asserted: the exit code is non-zero only when a
// measurement could not be made.

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <memory>
#include <string>
#include <vector>

#include "app/Unit1.h"
#include "bench_protocol.h"
#include "core/color_table.h"
#include "probe.h"
#include "win32/wide.h"

namespace {

using Kind = ComponentLayout::Kind;

constexpr wchar_t kPen[] = L"SOFTWARE\\Jw_cad\\jw_win\\Pen";
constexpr double kTimeoutMs = 10000;

double NowMs() {
  static const double ticks_per_ms = [] {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(frequency.QuadPart) / 1000.0;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / ticks_per_ms;
}

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "bench_driver: %s\n", what.c_str());
  std::fflush(stdout);
  std::exit(1);
}

double Quantile(std::vector<double> values, double q) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const double at = q * static_cast<double>(values.size() - 1);
  const auto below = static_cast<std::size_t>(at);
  const std::size_t above = std::min(below + 1, values.size() - 1);
  return values[below] + (values[above] - values[below]) * (at - static_cast<double>(below));
}
double Median(const std::vector<double>& values) { return Quantile(values, 0.5); }

std::vector<double> Ratios(const std::vector<double>& a, const std::vector<double>& b) {
  std::vector<double> ratios;
  for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) ratios.push_back(a[i] / b[i]);
  return ratios;
}

// Distinct, exact on a 24-bit screen, none a system or floor colour.
ColorValue SeededColor(int slot) { return slot * 0x0A0B0C; }

std::vector<std::wstring> ValueNames() {
  std::vector<std::wstring> names;
  for (int row = 1; row <= kRowCount; ++row) names.push_back(win32::Wide(ScreenValueName(row)));
  for (int row = 1; row <= kRowCount; ++row) names.push_back(win32::Wide(PrinterValueName(row)));
  return names;
}

void StoreColor(HKEY pen, const std::wstring& name, ColorValue color) {
  wchar_t text[16];
  swprintf(text, 16, L"%06X", static_cast<unsigned>(color));
  const auto bytes = static_cast<DWORD>((wcslen(text) + 1) * sizeof(wchar_t));
  if (RegSetValueExW(pen, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text), bytes) !=
      ERROR_SUCCESS) {
    Fail("cannot write " + win32::Narrow(name));
  }
}

void SeedPalette() {
  HKEY pen = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, kPen, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &pen,
                      nullptr) != ERROR_SUCCESS) {
    Fail("cannot create the Pen key");
  }
  const std::vector<std::wstring> names = ValueNames();
  for (int slot = 1; slot <= kSlotCount; ++slot) StoreColor(pen, names[static_cast<std::size_t>(slot - 1)], SeededColor(slot));
  RegCloseKey(pen);
}

// A pixel that must show a colour once the window is painted.
struct Check {
  POINT point;
  COLORREF color;
};

// The centre of each swatch, by slot, from the layout Tintwise uses.
std::vector<POINT> SwatchCentres() {
  std::vector<POINT> centres(kSlotCount);
  for (const ComponentLayout& entry : kForm1Layout) {
    if (entry.kind != Kind::kSwatch) continue;
    const std::string name = entry.name;  // LabelB<row> screen, LabelE<row> printer
    const int row = static_cast<int>(std::strtol(name.c_str() + 6, nullptr, 10));
    const int slot = name[5] == 'B' ? row : kRowCount + row;
    centres[static_cast<std::size_t>(slot - 1)] = {entry.left + entry.width / 2, entry.top + entry.height / 2};
  }
  return centres;
}

std::vector<Check> Checks(COLORREF (*color_of_slot)(int slot)) {
  std::vector<Check> checks;
  const std::vector<POINT> centres = SwatchCentres();
  for (int slot = 1; slot <= kSlotCount; ++slot) {
    checks.push_back({centres[static_cast<std::size_t>(slot - 1)], color_of_slot(slot)});
  }
  return checks;
}

// A program under test; closed, or ended by force, when it goes.
class Running {
 public:
  Running(const std::wstring& exe, const wchar_t* args) {
    std::wstring command = L"\"" + exe + L"\"";
    if (args) command += std::wstring(L" ") + args;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info_)) {
      Fail("cannot start " + win32::Narrow(exe));
    }
  }
  ~Running() {
    if (window && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
      PostMessageW(window, WM_CLOSE, 0, 0);
    }
    if (WaitForSingleObject(info_.hProcess, static_cast<DWORD>(kTimeoutMs)) != WAIT_OBJECT_0) {
      TerminateProcess(info_.hProcess, 255);
      WaitForSingleObject(info_.hProcess, static_cast<DWORD>(kTimeoutMs));
    }
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
  }
  Running(const Running&) = delete;
  Running& operator=(const Running&) = delete;

  [[nodiscard]] HANDLE Process() const { return info_.hProcess; }
  [[nodiscard]] bool Ended() const { return WaitForSingleObject(info_.hProcess, 0) == WAIT_OBJECT_0; }

  // The visible main window of this process, or null.
  [[nodiscard]] HWND MainWindow() const {
    Search search{info_.dwProcessId, nullptr};
    EnumWindows(Match, reinterpret_cast<LPARAM>(&search));
    return search.found;
  }

  HWND window = nullptr;

 private:
  struct Search {
    DWORD id;
    HWND found;
  };
  static BOOL CALLBACK Match(HWND candidate, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(candidate, &owner);
    wchar_t name[32] = {};
    GetClassNameW(candidate, name, 32);
    if (owner != search->id || lstrcmpW(name, L"TintwiseForm") != 0 || !IsWindowVisible(candidate)) return TRUE;
    search->found = candidate;
    return FALSE;
  }

  PROCESS_INFORMATION info_{};
};

bool Shows(HWND window, const std::vector<Check>& checks) {
  // The last swatch is painted last: most polls stop at the first pixel.
  for (auto check = checks.rbegin(); check != checks.rend(); ++check) {
    if (probe::PixelAt(window, check->point.x, check->point.y) != check->color) return false;
  }
  return true;
}

// Milliseconds from CreateProcess until the window is on the screen with
// every check met. Both programs of a figure are timed by this same loop.
double StartUntilPainted(Running& run, const std::vector<Check>& checks) {
  const double start = NowMs();
  for (;;) {
    if (!run.window) run.window = run.MainWindow();
    if (run.window && Shows(run.window, checks)) return NowMs() - start;
    if (run.Ended() || NowMs() - start > kTimeoutMs) return -1;
    Sleep(1);
  }
}

struct Program {
  const char* name;
  std::wstring exe;
  const wchar_t* args;
  std::vector<Check> checks;
};

std::unique_ptr<Running> StartPainted(const Program& program, double* ms = nullptr) {
  auto run = std::make_unique<Running>(program.exe, program.args);
  const double elapsed = StartUntilPainted(*run, program.checks);
  if (elapsed < 0) Fail(std::string(program.name) + " never showed its colours");
  if (ms) *ms = elapsed;
  return run;
}

HWND ButtonWithText(HWND window, const char* text) {
  for (const probe::ChildWindow& child : probe::Children(window)) {
    if (child.text == text) return child.handle;
  }
  Fail(std::string("no button ") + text);
}

LRESULT ReadCounter(HWND window, Counter which) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(window, kCounterMessage, which, 0, SMTO_BLOCK, 10000, &result)) {
    Fail("Tintwise_bench.exe does not answer");
  }
  return static_cast<LRESULT>(result);
}

struct Paints {
  LRESULT labels, color_queries, form;
};
Paints ReadPaints(HWND window) {
  probe::Settle(window);
  return {ReadCounter(window, kLabelPaints), ReadCounter(window, kLabelColorQueries), ReadCounter(window, kFormPaints)};
}

struct Memory {
  double private_mib, working_set_mib;
};
// Private bytes as Windows counts them: committed private pages. Wine 8
// fills PROCESS_MEMORY_COUNTERS_EX::PrivateUsage only for the calling
// process (0 here), so they are summed from VirtualQueryEx. The working set
// is the Unix process's resident size, Wine's own libraries included.
Memory MemoryOf(HANDLE process) {
  constexpr double kMiB = 1024.0 * 1024.0;
  std::size_t committed = 0;
  MEMORY_BASIC_INFORMATION region{};
  for (auto* at = static_cast<char*>(nullptr);
       VirtualQueryEx(process, at, &region, sizeof region) == sizeof region; at += region.RegionSize) {
    if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) committed += region.RegionSize;
    if (region.RegionSize == 0) break;
    at = static_cast<char*>(region.BaseAddress);
  }
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof counters;
  if (!GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters)) {
    Fail("GetProcessMemoryInfo failed");
  }
  return {static_cast<double>(committed) / kMiB, static_cast<double>(counters.WorkingSetSize) / kMiB};
}

std::vector<unsigned char> ReadWholeFile(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) Fail("cannot open " + win32::Narrow(path));
  std::vector<unsigned char> bytes(GetFileSize(file, nullptr));
  DWORD read = 0;
  ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
  CloseHandle(file);
  bytes.resize(read);
  return bytes;
}

// The DLLs a PE file (32 or 64 bit) imports, read from its import directory.
template <typename NtHeaders>
std::vector<std::string> ImportsOf(const std::vector<unsigned char>& file, std::size_t nt_offset) {
  const auto at = [&](std::size_t offset, std::size_t size) {
    if (offset + size > file.size()) Fail("Tintwise.exe: truncated headers");
    return file.data() + offset;
  };
  const auto* nt = reinterpret_cast<const NtHeaders*>(at(nt_offset, sizeof(NtHeaders)));
  const auto* sections = reinterpret_cast<const IMAGE_SECTION_HEADER*>(
      at(nt_offset + offsetof(NtHeaders, OptionalHeader) + nt->FileHeader.SizeOfOptionalHeader,
         nt->FileHeader.NumberOfSections * sizeof(IMAGE_SECTION_HEADER)));
  const auto offset_of = [&](DWORD rva) -> std::size_t {
    for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i) {
      const IMAGE_SECTION_HEADER& s = sections[i];
      if (rva >= s.VirtualAddress && rva < s.VirtualAddress + s.SizeOfRawData) {
        return s.PointerToRawData + (rva - s.VirtualAddress);
      }
    }
    Fail("Tintwise.exe: import RVA outside every section");
  };
  std::vector<std::string> names;
  const DWORD directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
  for (std::size_t entry = offset_of(directory);; entry += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
    const auto* import = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(at(entry, sizeof(IMAGE_IMPORT_DESCRIPTOR)));
    if (import->Name == 0) break;
    names.emplace_back(reinterpret_cast<const char*>(at(offset_of(import->Name), 1)));
  }
  return names;
}

std::vector<std::string> Imports(const std::vector<unsigned char>& file) {
  if (file.size() < sizeof(IMAGE_DOS_HEADER)) Fail("Tintwise.exe: truncated headers");
  const auto nt_offset = static_cast<std::size_t>(reinterpret_cast<const IMAGE_DOS_HEADER*>(file.data())->e_lfanew);
  constexpr std::size_t kMagicOffset = offsetof(IMAGE_NT_HEADERS64, OptionalHeader.Magic);
  if (nt_offset + kMagicOffset + 2 > file.size()) Fail("Tintwise.exe: truncated headers");
  const auto magic = static_cast<WORD>(file[nt_offset + kMagicOffset] | file[nt_offset + kMagicOffset + 1] << 8);
  if (magic == IMAGE_NT_OPTIONAL_HDR64_MAGIC) return ImportsOf<IMAGE_NT_HEADERS64>(file, nt_offset);
  return ImportsOf<IMAGE_NT_HEADERS32>(file, nt_offset);
}

const char* Verdict(bool met) { return met ? "ok" : "MISSED"; }

void Row(const char* figure, const std::string& measured, const std::string& baseline, const std::string& ratio,
         const std::string& target, const char* verdict) {
  char line[512];
  std::snprintf(line, sizeof line, "%-36s %-22s %-24s %-8s %-10s %s", figure, measured.c_str(), baseline.c_str(),
                ratio.c_str(), target.c_str(), verdict);
  std::string text = line;
  text.erase(text.find_last_not_of(' ') + 1);
  std::printf("%s\n", text.c_str());
}

std::string Format(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

const wchar_t* TextArgument(int argc, wchar_t** argv, const wchar_t* name, const wchar_t* fallback) {
  for (int i = 1; i + 1 < argc; ++i) {
    if (lstrcmpW(argv[i], name) == 0) return argv[i + 1];
  }
  return fallback;
}

bool Flag(int argc, wchar_t** argv, const wchar_t* name) {
  for (int i = 1; i < argc; ++i) {
    if (lstrcmpW(argv[i], name) == 0) return true;
  }
  return false;
}

int Argument(int argc, wchar_t** argv, const wchar_t* name, int fallback) {
  for (int i = 1; i + 1 < argc; ++i) {
    if (lstrcmpW(argv[i], name) == 0) return std::max(1, static_cast<int>(std::wcstol(argv[i + 1], nullptr, 10)));
  }
  return fallback;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int rounds = Argument(argc, argv, L"--rounds", 60);
  const int pairs = Argument(argc, argv, L"--pairs", 1000);
  const int refreshes = Argument(argc, argv, L"--refreshes", 10000);
  setvbuf(stdout, nullptr, _IONBF, 0);

  SeedPalette();
  // --exe times another build of Tintwise (beside this program) instead.
  const Program tintwise{"Tintwise.exe", probe::BesideThisProgram(TextArgument(argc, argv, L"--exe", L"Tintwise.exe")), nullptr,
                         Checks([](int slot) { return static_cast<COLORREF>(SeededColor(slot)); })};
  const Program floor{"bench_floor.exe", probe::BesideThisProgram(L"bench_floor.exe"), nullptr,
                      Checks([](int) { return kFloorSwatchColor; })};
  // The same pixels, where the empty window shows its background.
  const Program empty{"bench_floor.exe /empty", floor.exe, L"/empty",
                      Checks([](int) { return static_cast<COLORREF>(GetSysColor(COLOR_BTNFACE)); })};
  Program counted = tintwise;
  counted.name = "Tintwise_bench.exe";
  counted.exe = probe::BesideThisProgram(L"Tintwise_bench.exe");

  Row("figure", "Tintwise", "baseline", "ratio", "target", "");

  // Start-up: one round starts each program once, in an order that rotates.
  {
    const Program* programs[] = {&tintwise, &floor, &empty};
    std::vector<double> times[3];
    for (int round = -1; round < rounds; ++round) {  // round -1 warms the caches
      for (int k = 0; k < 3; ++k) {
        const int which = (round + 3 + k) % 3;
        double ms = 0;
        StartPainted(*programs[which], &ms);
        if (round >= 0) times[which].push_back(ms);
        Sleep(50);  // let the last process's exit finish
      }
    }
    const std::vector<double> to_floor = Ratios(times[0], times[1]);
    const std::vector<double> to_empty = Ratios(times[0], times[2]);
    const std::string count = " (" + std::to_string(rounds) + " rounds)";
    Row(("start-up vs floor" + count).c_str(), Format("%.1f ms", Median(times[0])),
        Format("%.1f ms floor", Median(times[1])), Format("%.3f", Median(to_floor)), "<= 1.05",
        Verdict(Median(to_floor) <= 1.05));
    Row("  p25 / p75; ratio of medians", "", "",
        Format("%.3f", Quantile(to_floor, 0.25)) + " / " + Format("%.3f", Quantile(to_floor, 0.75)) + "; " +
            Format("%.3f", Median(times[0]) / Median(times[1])),
        "", "");
    Row("start-up vs empty window", Format("%.1f ms", Median(times[0])),
        Format("%.1f ms empty", Median(times[2])), Format("%.3f", Median(to_empty)), "", "");
  }

  if (Flag(argc, argv, L"--start-up-only")) return 0;

  // Refresh: one synchronous click on 更新 against the floor's 更新 plus the
  // 24 reads the refresh cannot avoid, done here on an open key.
  {
    auto tw = StartPainted(tintwise);
    auto fl = StartPainted(floor);
    const HWND tw_button = ButtonWithText(tw->window, "更新");
    const HWND fl_button = ButtonWithText(fl->window, "更新");
    HKEY pen = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kPen, 0, KEY_READ, &pen) != ERROR_SUCCESS) Fail("cannot open Pen");
    const std::vector<std::wstring> names = ValueNames();
    const auto timed_tintwise = [&] {
      const double start = NowMs();
      SendMessageW(tw_button, BM_CLICK, 0, 0);
      const double ms = NowMs() - start;
      probe::Settle(tw->window);  // its button's own repaint, outside the timing
      return ms;
    };
    std::vector<double> reads_ms, click_ms;
    // Reads first: the button's repaint after the click would otherwise
    // run during them, on the same CPU.
    const auto timed_floor = [&] {
      const double start = NowMs();
      for (const std::wstring& name : names) {
        BYTE data[64];
        DWORD type = 0, size = sizeof data;
        RegQueryValueExW(pen, name.c_str(), nullptr, &type, data, &size);
      }
      const double read = NowMs();
      SendMessageW(fl_button, BM_CLICK, 0, 0);
      const double end = NowMs();
      probe::Settle(fl->window);
      reads_ms.push_back(read - start);
      click_ms.push_back(end - read);
      return end - start;
    };
    for (int i = 0; i < 50; ++i) timed_tintwise(), timed_floor();
    reads_ms.clear();
    click_ms.clear();
    std::vector<double> tw_ms, fl_ms;
    for (int i = 0; i < pairs; ++i) {
      if (i % 2 == 0) {
        tw_ms.push_back(timed_tintwise());
        fl_ms.push_back(timed_floor());
      } else {
        fl_ms.push_back(timed_floor());
        tw_ms.push_back(timed_tintwise());
      }
    }
    RegCloseKey(pen);
    const std::vector<double> ratios = Ratios(tw_ms, fl_ms);
    Row(("refresh vs floor (" + std::to_string(pairs) + " pairs)").c_str(), Format("%.3f ms", Median(tw_ms)),
        Format("%.3f ms click+24 reads", Median(fl_ms)), Format("%.3f", Median(ratios)), "<= 1.3",
        Verdict(Median(ratios) <= 1.3));
    Row("  p25 / p75; ratio of medians", "", "",
        Format("%.3f", Quantile(ratios, 0.25)) + " / " + Format("%.3f", Quantile(ratios, 0.75)) + "; " +
            Format("%.3f", Median(tw_ms) / Median(fl_ms)),
        "", "");
    Row("  floor: click / 24 reads", "", Format("%.3f", Median(click_ms)) + " / " + Format("%.3f ms", Median(reads_ms)), "", "", "");
  }

  // Repaints, counted inside Tintwise_bench.exe.
  {
    auto run = StartPainted(counted);
    const Paints at_start = ReadPaints(run->window);
    ReadCounter(run->window, kResetCounters);
    const HWND button = ButtonWithText(run->window, "更新");
    constexpr int kClicks = 100;
    for (int i = 0; i < kClicks; ++i) SendMessageW(button, BM_CLICK, 0, 0);
    const Paints unchanged = ReadPaints(run->window);
    Row(("unchanged refresh x" + std::to_string(kClicks)).c_str(),
        std::to_string(unchanged.labels) + " paint " + std::to_string(unchanged.color_queries) + " ctlcolor",
        "form paint " + std::to_string(unchanged.form), "", "0 / 0",
        Verdict(unchanged.labels == 0 && unchanged.color_queries == 0));

    // One colour changes: its swatch and its numbers label repaint, nothing else.
    HKEY pen = nullptr;
    RegOpenKeyExW(HKEY_CURRENT_USER, kPen, 0, KEY_SET_VALUE, &pen);
    const std::vector<std::wstring> names = ValueNames();
    StoreColor(pen, names[0], 0x123456);
    ReadCounter(run->window, kResetCounters);
    SendMessageW(button, BM_CLICK, 0, 0);
    const Paints changed = ReadPaints(run->window);
    StoreColor(pen, names[0], SeededColor(1));
    RegCloseKey(pen);
    SendMessageW(button, BM_CLICK, 0, 0);
    Row("one colour changed, one refresh",
        std::to_string(changed.labels) + " paint " + std::to_string(changed.color_queries) + " ctlcolor",
        "form paint " + std::to_string(changed.form), "", "", "");
    Row("start-up paints", std::to_string(at_start.labels) + " paint " + std::to_string(at_start.color_queries) + " ctlcolor",
        "form paint " + std::to_string(at_start.form), "", "", "");
  }

  // Size and imports of the shipped program.
  {
    const std::vector<unsigned char> exe = ReadWholeFile(tintwise.exe);
    const double kib = static_cast<double>(exe.size()) / 1024.0;
    Row("size of Tintwise.exe", Format("%.1f KiB", kib), Format("%.0f bytes", static_cast<double>(exe.size())), "",
        "<= 150 KiB", Verdict(kib <= 150));
    std::string imports;
    bool only_expected = true;
    for (const std::string& name : Imports(exe)) {
      imports += (imports.empty() ? "" : " ") + name;
      std::string lower = name;
      std::transform(lower.begin(), lower.end(), lower.begin(), [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); });
      static const char* const kAllowed[] = {"kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "msvcrt.dll", "comctl32.dll"};
      only_expected &= std::any_of(std::begin(kAllowed), std::end(kAllowed), [&](const char* a) { return lower == a; });
    }
    std::printf("%-36s %s  %s\n", "imports", imports.c_str(), Verdict(only_expected));
  }

  // Memory of the shipped program, then after many refreshes.
  {
    auto fl = StartPainted(floor);
    probe::Settle(fl->window);
    const Memory floor_memory = MemoryOf(fl->Process());
    auto tw = StartPainted(tintwise);
    probe::Settle(tw->window);
    const Memory at_start = MemoryOf(tw->Process());
    const HWND button = ButtonWithText(tw->window, "更新");
    for (int i = 1; i <= refreshes; ++i) {
      SendMessageW(button, BM_CLICK, 0, 0);
      if (i % 100 == 0) probe::Settle(tw->window);
    }
    probe::Settle(tw->window);
    const Memory after = MemoryOf(tw->Process());
    Row("private bytes after start", Format("%.2f MiB", at_start.private_mib),
        Format("%.2f MiB floor", floor_memory.private_mib), Format("%.3f", at_start.private_mib / floor_memory.private_mib), "", "");
    Row("working set after start", Format("%.2f MiB", at_start.working_set_mib),
        Format("%.2f MiB floor", floor_memory.working_set_mib), Format("%.3f", at_start.working_set_mib / floor_memory.working_set_mib), "", "");
    Row(("private bytes after " + std::to_string(refreshes) + " refreshes").c_str(), Format("%.2f MiB", after.private_mib),
        Format("%+.2f MiB growth", after.private_mib - at_start.private_mib), "", "", "");
    Row(("working set after " + std::to_string(refreshes) + " refreshes").c_str(), Format("%.2f MiB", after.working_set_mib),
        Format("%+.2f MiB growth", after.working_set_mib - at_start.working_set_mib), "", "", "");
  }
  return 0;
}
