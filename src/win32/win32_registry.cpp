#include "win32/win32_registry.h"

#include <algorithm>
#include <vector>

#include "win32/unique_handle.h"
#include "win32/wide.h"

namespace win32 {

namespace {

// A value that keeps growing under us is given up after this many tries.
constexpr int kReadAttempts = 8;
// Larger values take a second, sized read.
constexpr DWORD kSmallValueBytes = 64;

class Win32Reader final : public RegistryReader {
 public:
  explicit Win32Reader(UniqueKey key) : key_(std::move(key)) {}

  ValueRead ReadString(std::string_view section, std::string_view name) override {
    const HKEY section_key = OpenSection(section);
    if (!section_key) return {};
    return ReadStringValue(section_key, WideText(name).c_str());
  }

 private:
  // Every read of a pass is in the same section: open it once.
  HKEY OpenSection(std::string_view section) {
    if (!key_) return nullptr;
    if (section != section_name_) {
      section_name_ = section;
      if (RegOpenKeyExW(key_.get(), WideText(section).c_str(), 0, KEY_READ, section_key_.put()) !=
          ERROR_SUCCESS) {
        section_key_.reset();
      }
    }
    return section_key_.get();
  }

  UniqueKey key_;
  std::string section_name_;
  UniqueKey section_key_;
};

}  // namespace

std::unique_ptr<RegistryReader> Win32Registry::OpenCurrentUserKey(std::string_view path) {
  UniqueKey key;
  // Creating with read access makes the missing keys and writes nothing else.
  if (RegCreateKeyExW(HKEY_CURRENT_USER, WideText(path).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_READ, nullptr, key.put(), nullptr) != ERROR_SUCCESS) {
    key.reset();
  }
  return std::make_unique<Win32Reader>(std::move(key));
}

ValueRead ReadStringValue(HKEY key, const wchar_t* name) {
  // Colours fit here: one call per value instead of a size query and a read.
  unsigned char small[kSmallValueBytes];
  DWORD type = 0;
  DWORD size = sizeof small;
  LONG status = RegQueryValueExW(key, name, nullptr, &type, small, &size);
  if (status == ERROR_SUCCESS) return ValueFromRegistryData(type, small, std::min<std::size_t>(size, sizeof small));
  // ERROR_MORE_DATA gives the type and the size needed, as a size query does.
  std::vector<unsigned char> data;
  for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
    if (status == ERROR_FILE_NOT_FOUND) return {};
    if (status != ERROR_SUCCESS && status != ERROR_MORE_DATA) return {ValueStatus::kUnreadable, {}};
    // Data of other types is never looked at, however large.
    if (size == 0 || !IsStringType(type)) return ValueFromRegistryData(type, nullptr, size);
    data.resize(size);
    DWORD received = size;
    status = RegQueryValueExW(key, name, nullptr, &type, data.data(), &received);
    if (status == ERROR_SUCCESS) {
      return ValueFromRegistryData(type, data.data(), std::min<std::size_t>(received, data.size()));
    }
    size = received;  // ERROR_MORE_DATA: it grew; this is its new size
  }
  return {ValueStatus::kUnreadable, {}};
}

}  // namespace win32
