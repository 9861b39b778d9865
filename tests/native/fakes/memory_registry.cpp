#include "fakes/memory_registry.h"

#include <algorithm>
#include <utility>

#include "core/utf.h"

namespace fakes {

namespace {

std::string Fold(std::string_view text) {
  std::string folded(text);
  for (char& c : folded) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return folded;
}

std::vector<std::string_view> Split(std::string_view path) {
  std::vector<std::string_view> parts;
  while (!path.empty()) {
    const std::size_t end = std::min(path.find('\\'), path.size());
    if (end > 0) parts.push_back(path.substr(0, end));
    path.remove_prefix(std::min(end + 1, path.size()));
  }
  return parts;
}

void Append(std::string& path, std::string_view part) {
  if (!path.empty()) path += '\\';
  path += part;
}

std::string FoldedPath(std::string_view path) {
  std::string folded;
  for (std::string_view part : Split(path)) Append(folded, Fold(part));
  return folded;
}

}  // namespace

bool operator==(const StoredValue& a, const StoredValue& b) {
  return a.type == b.type && a.data == b.data && a.fetch_fails == b.fetch_fails;
}

bool operator==(const StoredKey& a, const StoredKey& b) {
  return a.values == b.values && a.no_create_below == b.no_create_below &&
         a.unreadable == b.unreadable;
}

bool operator==(const Tree& a, const Tree& b) { return a.keys == b.keys; }

std::ostream& operator<<(std::ostream& out, const Tree& tree) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  for (const auto& [path, key] : tree.keys) {
    out << "\n[" << path << "]" << (key.no_create_below ? " no-create-below" : "")
        << (key.unreadable ? " unreadable" : "");
    for (const auto& [name, value] : key.values) {
      out << "\n  " << name << " type " << value.type << (value.fetch_fails ? " fails" : "") << ":";
      for (unsigned char byte : value.data) out << ' ' << kHex[byte >> 4] << kHex[byte & 15];
    }
  }
  return out;
}

class MemoryRegistry::Reader final : public RegistryReader {
 public:
  Reader(MemoryRegistry& registry, std::optional<std::string> key)
      : registry_(registry), key_(std::move(key)) {}
  ValueRead ReadString(std::string_view section, std::string_view name) override {
    return registry_.Read(key_, section, name);
  }

 private:
  MemoryRegistry& registry_;
  std::optional<std::string> key_;  // folded path; none when opening failed
};

MemoryRegistry::MemoryRegistry() { tree_.keys[""]; }

StoredKey& MemoryRegistry::Key(std::string_view path) {
  std::string folded;
  for (std::string_view part : Split(path)) {
    Append(folded, Fold(part));
    tree_.keys[folded];
  }
  return tree_.keys[folded];
}

StoredValue& MemoryRegistry::Value(std::string_view path, std::string_view name) {
  return Key(path).values[Fold(name)];
}

void MemoryRegistry::CreateKey(std::string_view path) { Key(path); }

void MemoryRegistry::SetString(std::string_view path, std::string_view name, std::string_view utf8,
                               Terminator terminator, std::uint32_t type) {
  std::u16string text = Utf16FromUtf8(utf8);
  if (terminator == Terminator::kAppend) text += u'\0';
  std::vector<unsigned char> data;
  for (char16_t unit : text) {
    data.push_back(static_cast<unsigned char>(unit & 0xFF));
    data.push_back(static_cast<unsigned char>(unit >> 8));
  }
  SetRaw(path, name, type, std::move(data));
}

void MemoryRegistry::SetDword(std::string_view path, std::string_view name, std::uint32_t value) {
  SetRaw(path, name, kRegDword,
         {static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8),
          static_cast<unsigned char>(value >> 16), static_cast<unsigned char>(value >> 24)});
}

void MemoryRegistry::SetRaw(std::string_view path, std::string_view name, std::uint32_t type,
                            std::vector<unsigned char> data) {
  Value(path, name) = {type, std::move(data), false};
}

void MemoryRegistry::SetFetchFails(std::string_view path, std::string_view name) {
  Value(path, name).fetch_fails = true;
}

void MemoryRegistry::DeleteValue(std::string_view path, std::string_view name) {
  const auto key = tree_.keys.find(FoldedPath(path));
  if (key != tree_.keys.end()) key->second.values.erase(Fold(name));
}

void MemoryRegistry::DeleteKey(std::string_view path) {
  const std::string folded = FoldedPath(path);
  if (folded.empty()) return;  // HKEY_CURRENT_USER itself stays
  const std::string below = folded + '\\';
  for (auto it = tree_.keys.begin(); it != tree_.keys.end();) {
    const bool doomed = it->first == folded || it->first.compare(0, below.size(), below) == 0;
    it = doomed ? tree_.keys.erase(it) : std::next(it);
  }
}

void MemoryRegistry::ForbidCreateBelow(std::string_view path) { Key(path).no_create_below = true; }

void MemoryRegistry::MakeUnreadable(std::string_view path) { Key(path).unreadable = true; }

void MemoryRegistry::ThrowOnRead(std::size_t n, std::exception_ptr error) {
  throw_on_read_ = n;
  read_error_ = std::move(error);
}

bool MemoryRegistry::HasKey(std::string_view path) const {
  return tree_.keys.count(FoldedPath(path)) != 0;
}

void MemoryRegistry::ClearLog() {
  reads_.clear();
  created_.clear();
}

std::unique_ptr<RegistryReader> MemoryRegistry::OpenCurrentUserKey(std::string_view path) {
  std::string folded;
  std::string spelled;
  for (std::string_view part : Split(path)) {
    const std::string parent = folded;
    Append(folded, Fold(part));
    Append(spelled, part);
    if (tree_.keys.count(folded) != 0) continue;
    if (tree_.keys.at(parent).no_create_below) return std::make_unique<Reader>(*this, std::nullopt);
    tree_.keys[folded];
    created_.push_back(spelled);
  }
  if (tree_.keys.at(folded).unreadable) return std::make_unique<Reader>(*this, std::nullopt);
  return std::make_unique<Reader>(*this, folded);
}

ValueRead MemoryRegistry::Read(const std::optional<std::string>& key, std::string_view section,
                               std::string_view name) {
  reads_.push_back(std::string(section) + '\\' + std::string(name));
  if (read_error_ && reads_.size() == throw_on_read_) std::rethrow_exception(read_error_);
  if (!key) return {};
  std::string path = *key;
  for (std::string_view part : Split(section)) Append(path, Fold(part));
  const auto found = tree_.keys.find(path);
  if (found == tree_.keys.end() || found->second.unreadable) return {};
  const auto value = found->second.values.find(Fold(name));
  if (value == found->second.values.end()) return {};
  if (value->second.fetch_fails) return {ValueStatus::kUnreadable, {}};
  // An exact-size copy, so reading past the data is a sanitizer error.
  const std::vector<unsigned char>& data = value->second.data;
  const auto exact = std::make_unique<unsigned char[]>(data.size());
  std::copy(data.begin(), data.end(), exact.get());
  return ValueFromRegistryData(value->second.type, exact.get(), data.size());
}

}  // namespace fakes
