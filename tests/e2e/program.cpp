#include "program.h"

#include <gtest/gtest.h>
#include <winternl.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "app/Unit1.h"
#include "core/color_display.h"
#include "gdi_objects.h"
#include "win32/unique_handle.h"

namespace program {

namespace {

// Name of the numbers label of slot 1-24: column C on the screen side, F on
// the printer side.
std::string NumbersLabel(int slot) {
  return slot <= kRowCount ? "LabelC" + std::to_string(slot)
                           : "LabelF" + std::to_string(slot - kRowCount);
}

std::size_t IndexOf(const char* name) {
  for (std::size_t i = 0; i < kForm1Layout.size(); ++i) {
    if (std::strcmp(kForm1Layout[i].name, name) == 0) return i;
  }
  ADD_FAILURE() << "no component " << name;
  return 0;
}

// Wine's GetProcessHandleCount is a stub; the system-wide list is not.
bool CountHandles(DWORD process_id, std::size_t* count) {
  using Query = NTSTATUS(WINAPI*)(SYSTEM_INFORMATION_CLASS, PVOID, ULONG, PULONG);
  const auto query = reinterpret_cast<Query>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
  if (!query) return false;
  constexpr NTSTATUS kInfoLengthMismatch = static_cast<NTSTATUS>(0xC0000004);
  std::vector<unsigned char> buffer(1 << 16);
  for (;;) {
    ULONG needed = 0;
    const NTSTATUS status = query(SystemHandleInformation, buffer.data(),
                                  static_cast<ULONG>(buffer.size()), &needed);
    if (status == kInfoLengthMismatch) {
      buffer.resize(std::max<std::size_t>(buffer.size() * 2, needed + 4096));
      continue;
    }
    if (status != 0) return false;
    break;
  }
  const auto* info = reinterpret_cast<const SYSTEM_HANDLE_INFORMATION*>(buffer.data());
  *count = 0;
  for (ULONG i = 0; i < info->Count; ++i) {
    // Windows keeps only the low 16 bits of the id here.
    if ((info->Handle[i].OwnerPid & 0xFFFF) == (process_id & 0xFFFF)) ++*count;
  }
  return true;
}

void CloseProcessHandle(HANDLE handle) { CloseHandle(handle); }

}  // namespace

bool InScratchRegistry() {
  char flag[8] = {};
  if (GetEnvironmentVariableA("TINTWISE_SCRATCH_REGISTRY", flag, sizeof flag) != 1 ||
      flag[0] != '1') {
    return false;
  }
  return testing_gdi::RunningUnderWine();
}

// The text formatting has tests of its own; here it only names what a
// value must look like.
Texts TextsOf(const ColorTable& table) {
  Texts texts;
  for (int slot = 1; slot <= kSlotCount; ++slot) {
    texts[static_cast<std::size_t>(slot - 1)] = NumbersText(table.Get(slot));
  }
  return texts;
}

std::string ToString(const Holdings& holdings) {
  return std::to_string(holdings.handles) + " handles, " + std::to_string(holdings.gdi_objects) +
         " GDI objects (" + std::to_string(holdings.brushes) + " brushes, " +
         std::to_string(holdings.fonts) + " fonts)";
}

void Tintwise::Start() {
  std::string error;
  process_ = probe::Process::Launch(probe::BesideThisProgram(L"Tintwise.exe"), &error);
  ASSERT_TRUE(process_) << error;
  window_ = process_->WaitForWindow(L"TintwiseForm");
  ASSERT_TRUE(window_) << "no visible TintwiseForm window";
  ASSERT_TRUE(probe::Settle(window_)) << "the window does not answer";
  const std::vector<probe::ChildWindow> children = probe::Children(window_);
  ASSERT_EQ(children.size(), children_.size());
  for (std::size_t i = 0; i < children.size(); ++i) children_[i] = children[i].handle;
}

HWND Tintwise::Child(const char* name) const { return children_.at(IndexOf(name)); }

Texts Tintwise::Numbers() const {
  Texts texts;
  for (int slot = 1; slot <= kSlotCount; ++slot) {
    texts[static_cast<std::size_t>(slot - 1)] = probe::WindowText(Child(NumbersLabel(slot).c_str()));
  }
  return texts;
}

bool Tintwise::ClickRefresh(DWORD timeout_ms) const {
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(Child("Button1"), BM_CLICK, 0, 0, SMTO_NORMAL, timeout_ms, &result) != 0;
}

bool Tintwise::Refresh() const { return ClickRefresh() && probe::Settle(window_); }

void Tintwise::CloseNormally() {
  probe::Click(Child("Button2"));
  DWORD code = 1;
  ASSERT_TRUE(process_->WaitForExit(&code)) << "still running after 閉じる";
  EXPECT_EQ(code, 0u);
}

bool Tintwise::Count(Holdings* holdings) const {
  const win32::UniqueHandle<HANDLE, CloseProcessHandle> process(
      OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, process_->Id()));
  using testing_gdi::GdiType;
  return process && CountHandles(process_->Id(), &holdings->handles) &&
         testing_gdi::CountGdiObjectsOf(process.get(), process_->Id(), GdiType::kAny, &holdings->gdi_objects) &&
         testing_gdi::CountGdiObjectsOf(process.get(), process_->Id(), GdiType::kBrush, &holdings->brushes) &&
         testing_gdi::CountGdiObjectsOf(process.get(), process_->Id(), GdiType::kFont, &holdings->fonts);
}

}  // namespace program
