// Case mapping as Windows does it for whole strings: CharLowerW/CharUpperW on a copy.
#include "core/text.h"
#include "win32/text_win32.h"

namespace kantrell {

namespace {

template <typename Map>
Text mapped(const Text& text, Map map) {
  Text result = text;
  // The string form maps in place up to the terminating null. An empty text is left alone:
  // there is nothing to map, and the call's single-character form must never be reached.
  if (!result.empty()) map(reinterpret_cast<wchar_t*>(result.data()));
  return result;
}

}  // namespace

Text lowerCased(const Text& text) { return mapped(text, CharLowerW); }
Text upperCased(const Text& text) { return mapped(text, CharUpperW); }

}  // namespace kantrell
