// Texts cross into Win32 here: wchar_t is a UTF-16 code unit on Windows.
#pragma once

#include <windows.h>

#include "core/text.h"

namespace kantrell {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Win32 wide strings are UTF-16");

inline const wchar_t* wide(const Text& text) {
  return reinterpret_cast<const wchar_t*>(text.c_str());
}

inline Text textFrom(const wchar_t* wideText) {
  return wideText == nullptr ? Text() : Text(reinterpret_cast<const char16_t*>(wideText));
}

}  // namespace kantrell
