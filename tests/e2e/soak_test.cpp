// Many refreshes of the real Tintwise.exe while another thread keeps
// rewriting its colours: strings, other types, deleted values, the Pen key
// deleted and made again. The program must answer every click, show what
// the registry holds whenever the writer pauses, and hold no more handles
// or GDI objects at the end than after its first refresh.
//
//   soak_tests.exe [--refreshes=N]    (default 10000)
// TINTWISE_SOAK_REFRESHES=N, when set, wins over the argument, so a run
// started by CTest can be made longer.

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cwctype>
#include <iostream>
#include <mutex>
#include <random>
#include <string>
#include <string_view>
#include <thread>

#include "program.h"
#include "scratch_registry.h"

namespace {

using namespace scratch_registry;

int g_refreshes = 10000;
// Between two checks against the registry.
constexpr int kRefreshesPerSample = 100;

// What the program must show for a value the palette or the writer below
// left: a string of one to eight hex digits is that colour, as 32 bits,
// anything else 0. Neither writes longer digit strings or signs.
ColorValue HeldValue(HKEY pen, const wchar_t* name) {
  DWORD type = 0, size = 0;
  if (RegQueryValueExW(pen, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return 0;
  if (type != REG_SZ && type != REG_EXPAND_SZ) return 0;
  std::wstring text(size / 2 + 1, L'\0');
  if (RegQueryValueExW(pen, name, nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &size) !=
      ERROR_SUCCESS) {
    return 0;
  }
  text.resize(size / 2);
  text.resize(std::wcslen(text.c_str()));
  if (text.empty() || text.size() > 8) return 0;
  for (const wchar_t c : text) {
    if (!std::iswxdigit(c)) return 0;
  }
  return static_cast<ColorValue>(std::wcstoul(text.c_str(), nullptr, 16));
}

ColorTable HeldTable() {
  ColorTable table;
  UniqueKey pen;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kPen, 0, KEY_READ, pen.put()) != ERROR_SUCCESS) return table;
  for (int slot = 1; slot <= kSlotCount; ++slot) table.Set(slot, HeldValue(pen.get(), kNameOfSlot[slot - 1]));
  return table;
}

// Rewrites the 24 values at random until stopped. Holding Gate() keeps it
// still.
class Writer {
 public:
  Writer() : thread_([this] { Run(); }) {}
  ~Writer() { Stop(); }
  Writer(const Writer&) = delete;
  Writer& operator=(const Writer&) = delete;

  std::mutex& Gate() { return gate_; }
  void Stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
  }
  [[nodiscard]] long Writes() const { return writes_; }

 private:
  void Run() {
    while (!stop_) {
      {
        const std::lock_guard<std::mutex> hold(gate_);
        Step();
      }
      ++writes_;
      Sleep(1);  // leaves the gate open and the server some time
    }
  }

  void Set(HKEY pen, const wchar_t* name, DWORD type, const std::string& bytes) {
    // A non-NUL byte after the data: no terminator counted in.
    const std::string padded = bytes + "\xFF\xFF";
    RegSetValueExW(pen, name, 0, type, reinterpret_cast<const BYTE*>(padded.data()),
                   static_cast<DWORD>(bytes.size()));
  }

  void Step() {
    const unsigned roll = rng_() % 200;
    if (roll == 0) {
      RegDeleteTreeW(HKEY_CURRENT_USER, kJwWin);  // the program makes jw_win again
      return;
    }
    if (roll < 4) {
      RegDeleteTreeW(HKEY_CURRENT_USER, kPen);
      return;
    }
    UniqueKey pen;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kPen, 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_SET_VALUE, nullptr, pen.put(), nullptr) != ERROR_SUCCESS) {
      return;
    }
    const wchar_t* name = kNameOfSlot[rng_() % kSlotCount];
    const std::wstring hex = Hex(static_cast<ColorValue>(rng_() & 0xFFFFFF));
    const unsigned kind = roll % 10;
    switch (kind) {
      case 0: case 1: case 2: Set(pen.get(), name, REG_SZ, Utf16(hex + L'\0')); break;
      case 3: Set(pen.get(), name, REG_SZ, Utf16(hex)); break;  // no terminator
      case 4: Set(pen.get(), name, REG_EXPAND_SZ, Utf16(hex + L'\0')); break;
      case 5: Set(pen.get(), name, REG_SZ, Utf16(rng_() % 2 ? L"zz" : L"")); break;
      case 6: Set(pen.get(), name, REG_DWORD, std::string("\xFF\x00\x00\x00", 4)); break;
      case 7: Set(pen.get(), name, rng_() % 2 ? REG_BINARY : REG_MULTI_SZ, Utf16(hex + L'\0')); break;
      case 8: Set(pen.get(), name, REG_QWORD, std::string(8, '\x11')); break;
      default: RegDeleteValueW(pen.get(), name); break;
    }
  }

  std::mt19937 rng_{20240611};
  std::mutex gate_;
  std::atomic<bool> stop_{false};
  std::atomic<long> writes_{0};
  std::thread thread_;  // last: starts once the rest is ready
};

class SoakTest : public testing::Test {
 protected:
  void SetUp() override {
    if (!program::InScratchRegistry()) {
      GTEST_SKIP() << "rewrites HKCU\\SOFTWARE\\Jw_cad: runs only under Wine with "
                      "TINTWISE_SCRATCH_REGISTRY=1";
    }
    DeleteJwCad();
  }
  void TearDown() override { DeleteJwCad(); }

  static void DeleteJwCad() {
    const LONG status = RegDeleteTreeW(HKEY_CURRENT_USER, kJwCad);
    ASSERT_TRUE(status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND) << status;
  }
};

TEST_F(SoakTest, EveryRefreshAnswersShowsTheRegistryAndLeaksNothing) {
  // A swatch showing the window's own colour has no brush until it
  // changes, so no slot starts with it: every brush exists from the start.
  {
    UniqueKey pen;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kPen, 0, nullptr, REG_OPTION_NON_VOLATILE,
                              KEY_SET_VALUE | KEY_QUERY_VALUE, nullptr, pen.put(), nullptr),
              ERROR_SUCCESS);
    for (int slot = 1; slot <= kSlotCount; ++slot) {
      StoreExact(pen.get(), kNameOfSlot[slot - 1], REG_SZ, Utf16(Hex(slot * 0x0A0B0C) + L'\0'));
    }
  }
  program::Tintwise tintwise;
  ASSERT_NO_FATAL_FAILURE(tintwise.Start());
  ASSERT_TRUE(tintwise.Refresh()) << "no answer to the first 更新";
  ASSERT_EQ(tintwise.Numbers(), program::TextsOf(HeldTable()));
  program::Holdings first;
  ASSERT_TRUE(tintwise.Count(&first)) << "cannot count the program's handles and GDI objects";
  std::cout << "after the first refresh: " << program::ToString(first) << std::endl;

  const auto started = std::chrono::steady_clock::now();
  int samples = 0;
  long writes = 0;
  {
    Writer writer;
    for (int i = 1; i <= g_refreshes; ++i) {
      if (i % kRefreshesPerSample != 0) {
        ASSERT_TRUE(tintwise.ClickRefresh()) << "refresh " << i << " got no answer";
        continue;
      }
      const std::lock_guard<std::mutex> still(writer.Gate());
      ASSERT_TRUE(tintwise.Refresh()) << "refresh " << i << " got no answer";
      ASSERT_EQ(tintwise.Numbers(), program::TextsOf(HeldTable())) << "after refresh " << i;
      ++samples;
    }
    writer.Stop();
    writes = writer.Writes();
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();

  ASSERT_TRUE(tintwise.Refresh());
  EXPECT_EQ(tintwise.Numbers(), program::TextsOf(HeldTable())) << "after the writer stopped";
  program::Holdings last;
  ASSERT_TRUE(tintwise.Count(&last));
  std::cout << g_refreshes << " refreshes in " << seconds << " s, " << writes
            << " registry changes, " << samples << " checks against the registry\n"
            << "at the end: " << program::ToString(last) << std::endl;
  EXPECT_TRUE(last == first) << "after the first refresh: " << program::ToString(first)
                             << "\nat the end: " << program::ToString(last);
  ASSERT_NO_FATAL_FAILURE(tintwise.CloseNormally());
}

bool ParseCount(std::string_view text, int* count) {
  char* end = nullptr;
  const std::string copy(text);
  const long value = std::strtol(copy.c_str(), &end, 10);
  if (copy.empty() || *end != '\0' || value < 1 || value > 10000000) return false;
  *count = static_cast<int>(value);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  constexpr std::string_view kFlag = "--refreshes=";
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg.substr(0, kFlag.size()) != kFlag || !ParseCount(arg.substr(kFlag.size()), &g_refreshes)) {
      std::cerr << "usage: soak_tests [gtest flags] [--refreshes=N]\n";
      return 2;
    }
  }
  if (const char* env = std::getenv("TINTWISE_SOAK_REFRESHES"); env && *env) {
    if (!ParseCount(env, &g_refreshes)) {
      std::cerr << "TINTWISE_SOAK_REFRESHES must be a positive count\n";
      return 2;
    }
  }
  return RUN_ALL_TESTS();
}
