// Move-only owners of Win32 handles: one template, one alias per kind of handle with the call
// that frees it. A copy would free twice, so copying is deleted.
#pragma once

#include <windows.h>

#include <utility>

namespace kantrell {

template <typename Handle, auto Release>
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
    if (old != nullptr) Release(old);
  }

  // Gives the handle up without freeing it.
  Handle release() { return std::exchange(handle_, nullptr); }

 private:
  Handle handle_ = nullptr;
};

using UniqueFont = UniqueHandle<HFONT, DeleteObject>;
using UniqueBrush = UniqueHandle<HBRUSH, DeleteObject>;
using UniqueIcon = UniqueHandle<HICON, DestroyIcon>;
using UniqueWindow = UniqueHandle<HWND, DestroyWindow>;
using UniqueAcceleratorTable = UniqueHandle<HACCEL, DestroyAcceleratorTable>;

}  // namespace kantrell
