#pragma once

#include <string>
#include <string_view>

namespace plugkit::gfx {

// The text with every malformed UTF-8 sequence (bad lead or continuation bytes, overlong
// forms, surrogates, code points above U+10FFFF, truncation) replaced by U+FFFD.
std::string SanitizeUtf8(std::string_view text);

}  // namespace plugkit::gfx
