#pragma once

#include <string>
#include <string_view>

namespace plugkit::gfx {

// UTF-8, the framework's text, from and to the UTF-16 of the Win32 "W" functions. Malformed
// input becomes U+FFFD rather than failing.
std::string Utf8FromWide(std::wstring_view text);
std::wstring WideFromUtf8(std::string_view text);

}  // namespace plugkit::gfx
