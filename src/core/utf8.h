// Texts to and from UTF-8, for platforms whose system texts are bytes.
#pragma once

#include <string>
#include <string_view>

#include "core/text.h"

namespace kantrell {

// A byte string read as UTF-8; bytes that do not form a character each become U+FFFD.
Text textFromUtf8(std::string_view bytes);

// A text written as UTF-8; a lone surrogate becomes U+FFFD.
std::string utf8From(const Text& text);

}  // namespace kantrell
