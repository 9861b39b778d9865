#pragma once

#include <windows.h>

#include <utility>

namespace win32 {

// Owns one handle and closes it exactly once. Move-only.
template <typename Handle, void (*Close)(Handle)>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(Handle handle) : handle_(handle) {}
  ~UniqueHandle() { reset(); }

  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }

  [[nodiscard]] Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }

  void reset(Handle handle = nullptr) {
    if (handle_) Close(handle_);
    handle_ = handle;
  }
  [[nodiscard]] Handle release() { return std::exchange(handle_, nullptr); }
  // For out-parameters: closes what is held and hands out the slot.
  [[nodiscard]] Handle* put() {
    reset();
    return &handle_;
  }

 private:
  Handle handle_ = nullptr;
};

namespace detail {
inline void CloseKey(HKEY key) { RegCloseKey(key); }
template <typename GdiObject>
void DeleteGdiObject(GdiObject object) { DeleteObject(object); }
inline void DestroyIconHandle(HICON icon) { DestroyIcon(icon); }
inline void DeleteMemoryDc(HDC dc) { DeleteDC(dc); }
}  // namespace detail

using UniqueKey = UniqueHandle<HKEY, detail::CloseKey>;
using UniqueFont = UniqueHandle<HFONT, detail::DeleteGdiObject<HFONT>>;
using UniqueBrush = UniqueHandle<HBRUSH, detail::DeleteGdiObject<HBRUSH>>;
using UniqueIcon = UniqueHandle<HICON, detail::DestroyIconHandle>;
using UniqueMemoryDc = UniqueHandle<HDC, detail::DeleteMemoryDc>;

}  // namespace win32
