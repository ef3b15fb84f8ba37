// Texts are owned UTF-16 strings with value semantics on every platform; the Win32 side
// converts only where it hands them to the system.
#pragma once

#include <string>

namespace kantrell {

using Text = std::u16string;

// Exact comparison: same length, same code units in the same order. No case folding, no trimming.
bool textEquals(const Text& left, const Text& right);

// A new text: `left` directly followed by `right`.
Text joined(const Text& left, const Text& right);

// Copies lower- and upper-cased the way the platform does it for whole strings (CharLowerW /
// CharUpperW on Windows, the ASCII letters elsewhere). The length never changes.
Text lowerCased(const Text& text);
Text upperCased(const Text& text);

}  // namespace kantrell
