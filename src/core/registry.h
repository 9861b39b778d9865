#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

// What one string read of the registry gave.
enum class ValueStatus {
  kText,        // a string value (or any value with no data): text holds it
  kMissing,     // no such value, or its section could not be opened
  kNotString,   // a value of another type, with data
  kUnreadable,  // the value exists but its data could not be fetched
};

struct ValueRead {
  ValueStatus status = ValueStatus::kMissing;
  std::string text;  // UTF-8; empty unless status is kText
};

// Registry value types, as Windows numbers them.
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;

[[nodiscard]] constexpr bool IsStringType(std::uint32_t type) {
  return type == kRegSz || type == kRegExpandSz;
}

// Turns the raw data of a value into what a string read gives. Size 0 is
// the empty text whatever the type. REG_SZ and REG_EXPAND_SZ are UTF-16LE,
// taken exactly as stored (not expanded, no terminator needed, an odd last
// byte ignored) and cut at the first NUL. Other types are kNotString,
// and their data is never touched (it may be null).
[[nodiscard]] ValueRead ValueFromRegistryData(std::uint32_t type, const unsigned char* data,
                                              std::size_t size);

// One open key, read-only. Closing it is destroying it.
class RegistryReader {
 public:
  virtual ~RegistryReader() = default;
  // Reads value `name` of the subkey `section` of this key.
  [[nodiscard]] virtual ValueRead ReadString(std::string_view section, std::string_view name) = 0;
};

class Registry {
 public:
  virtual ~Registry() = default;
  // Opens `path` below HKEY_CURRENT_USER for reading, creating it empty
  // (with any missing key above it) when it does not exist. Never null:
  // when the key can be neither opened nor created, every read is kMissing.
  [[nodiscard]] virtual std::unique_ptr<RegistryReader> OpenCurrentUserKey(std::string_view path) = 0;
};
