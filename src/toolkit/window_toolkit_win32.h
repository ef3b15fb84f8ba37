// The window toolkit over Win32.
#pragma once

#include <windows.h>

#include <vector>

#include "toolkit/unique_handle.h"
#include "toolkit/window_toolkit.h"

namespace kantrell {

class Win32WindowToolkit final : public WindowToolkit {
 public:
  explicit Win32WindowToolkit(HINSTANCE module) : module_(module) {}

  void start() override;
  void end() override;

  HINSTANCE module() const { return module_; }
  int screenDpiY() const { return dpiY_; }
  HICON applicationIcon() const { return icon_.get(); }
  HCURSOR arrowCursor() const { return cursor_; }
  HFONT defaultControlFont() const { return defaultControlFont_; }

 private:
  HINSTANCE module_;
  int dpiY_ = 96;
  UniqueIcon icon_;
  HCURSOR cursor_ = nullptr;            // a shared system cursor: never destroyed
  HFONT defaultControlFont_ = nullptr;  // a stock object: never deleted
  std::vector<UniqueFont> fonts_;
};

}  // namespace kantrell
