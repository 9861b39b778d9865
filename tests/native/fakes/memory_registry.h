#pragma once

// An in-memory HKEY_CURRENT_USER for tests. Key and value names compare
// case-insensitively (ASCII); paths split on backslashes, empty parts ignored.

#include <cstddef>
#include <cstdint>
#include <exception>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "core/registry.h"

namespace fakes {

inline constexpr std::uint32_t kRegNone = 0;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;
inline constexpr std::uint32_t kRegMultiSz = 7;
inline constexpr std::uint32_t kRegQword = 11;

struct StoredValue {
  std::uint32_t type = kRegSz;
  std::vector<unsigned char> data;
  bool fetch_fails = false;
};

struct StoredKey {
  std::map<std::string, StoredValue> values;  // by folded name
  bool no_create_below = false;
  bool unreadable = false;
};

// The whole tree, keys by folded path ("" is HKEY_CURRENT_USER itself).
struct Tree {
  std::map<std::string, StoredKey> keys;
};
bool operator==(const StoredValue& a, const StoredValue& b);
bool operator==(const StoredKey& a, const StoredKey& b);
bool operator==(const Tree& a, const Tree& b);
inline bool operator!=(const Tree& a, const Tree& b) { return !(a == b); }
std::ostream& operator<<(std::ostream& out, const Tree& tree);

enum class Terminator { kAppend, kNone };

class MemoryRegistry final : public Registry {
 public:
  MemoryRegistry();

  // Setup; each creates the missing keys of `path` without recording them.
  void CreateKey(std::string_view path);
  void SetString(std::string_view path, std::string_view name, std::string_view utf8,
                 Terminator terminator = Terminator::kAppend, std::uint32_t type = kRegSz);
  void SetDword(std::string_view path, std::string_view name, std::uint32_t value);
  void SetRaw(std::string_view path, std::string_view name, std::uint32_t type,
              std::vector<unsigned char> data);
  // The value exists (created empty when missing) but fetching it fails.
  void SetFetchFails(std::string_view path, std::string_view name);
  void DeleteValue(std::string_view path, std::string_view name);
  void DeleteKey(std::string_view path);  // with everything below it
  void ForbidCreateBelow(std::string_view path);
  void MakeUnreadable(std::string_view path);

  // Read number n (1-based, counted over all readers) throws `error`.
  void ThrowOnRead(std::size_t n, std::exception_ptr error);

  [[nodiscard]] bool HasKey(std::string_view path) const;
  [[nodiscard]] Tree Snapshot() const { return tree_; }
  // "section\name" of every ReadString call, in order.
  [[nodiscard]] const std::vector<std::string>& Reads() const { return reads_; }
  // Each key OpenCurrentUserKey created, spelt as asked for.
  [[nodiscard]] const std::vector<std::string>& CreatedKeys() const { return created_; }
  void ClearLog();

  std::unique_ptr<RegistryReader> OpenCurrentUserKey(std::string_view path) override;

 private:
  class Reader;
  StoredKey& Key(std::string_view path);
  StoredValue& Value(std::string_view path, std::string_view name);
  ValueRead Read(const std::optional<std::string>& key, std::string_view section, std::string_view name);

  Tree tree_;
  std::vector<std::string> reads_;
  std::vector<std::string> created_;
  std::size_t throw_on_read_ = 0;
  std::exception_ptr read_error_;
};

}  // namespace fakes
