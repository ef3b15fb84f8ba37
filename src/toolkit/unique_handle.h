// Move-only owners of Win32 handles, one alias per kind of handle. A copy would free twice, so
// copying is deleted.
#pragma once

#include <windows.h>

#include <utility>

namespace kantrell {

template <typename Handle, typename Release>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(Handle handle) : handle_(handle) {}
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  ~UniqueHandle() { reset(); }

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }

  // Frees the held handle (its release result is not looked at) and takes `handle` instead.
  void reset(Handle handle = nullptr) {
    Handle old = std::exchange(handle_, handle);
    if (old != nullptr) Release{}(old);
  }

  // Gives the handle up without freeing it.
  Handle release() { return std::exchange(handle_, nullptr); }

 private:
  Handle handle_ = nullptr;
};

struct DeleteFont {
  void operator()(HFONT font) const { DeleteObject(font); }
};
struct DeleteBrush {
  void operator()(HBRUSH brush) const { DeleteObject(brush); }
};
struct DestroyIconHandle {
  void operator()(HICON icon) const { DestroyIcon(icon); }
};
struct DestroyWindowHandle {
  void operator()(HWND window) const { DestroyWindow(window); }
};
struct DestroyAcceleratorTableHandle {
  void operator()(HACCEL table) const { DestroyAcceleratorTable(table); }
};

using UniqueFont = UniqueHandle<HFONT, DeleteFont>;
using UniqueBrush = UniqueHandle<HBRUSH, DeleteBrush>;
using UniqueIcon = UniqueHandle<HICON, DestroyIconHandle>;
using UniqueWindow = UniqueHandle<HWND, DestroyWindowHandle>;
using UniqueAcceleratorTable = UniqueHandle<HACCEL, DestroyAcceleratorTableHandle>;

}  // namespace kantrell
