#include "graphics/Utf8.h"

namespace plugkit::gfx {

std::string SanitizeUtf8(std::string_view text) {
  static constexpr char replacement[] = "\xEF\xBF\xBD";
  std::string out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    int length = 0;
    char32_t code = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
      out += static_cast<char>(lead);
      ++i;
      continue;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2, code = lead & 0x1F, minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3, code = lead & 0x0F, minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4, code = lead & 0x07, minimum = 0x10000;
    }
    int taken = 1;
    bool valid = length > 0;
    for (; valid && taken < length; ++taken) {
      if (i + taken >= text.size()) {
        valid = false;
        break;
      }
      const auto next = static_cast<unsigned char>(text[i + taken]);
      if ((next & 0xC0) != 0x80) {
        valid = false;
        break;
      }
      code = (code << 6) | (next & 0x3F);
    }
    if (valid && code >= minimum && code <= 0x10FFFF && !(code >= 0xD800 && code < 0xE000)) {
      out.append(text.substr(i, static_cast<std::size_t>(length)));
      i += static_cast<std::size_t>(length);
    } else {
      out += replacement;
      i += static_cast<std::size_t>(taken);
    }
  }
  return out;
}

}  // namespace plugkit::gfx
