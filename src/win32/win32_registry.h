#pragma once

#include <windows.h>

#include "core/registry.h"

namespace win32 {

// The registry through advapi32's wide calls, read access only, so that
// what a value means never depends on the system's code page and a user
// who may only read Jw_cad's keys still sees the colours.
class Win32Registry final : public Registry {
 public:
  [[nodiscard]] std::unique_ptr<RegistryReader> OpenCurrentUserKey(std::string_view path) override;
};

// Reads value `name` of an open key as a string read: sized by the
// registry, read again if it grew in between, never past the buffer.
[[nodiscard]] ValueRead ReadStringValue(HKEY key, const wchar_t* name);

}  // namespace win32
