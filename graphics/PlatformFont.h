#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace plugkit::gfx {

// A font made by the platform layer: the bytes of its font file and the style text that
// selects the face within it (empty: the first face with a style name). The drawing backend
// reads the font data from these bytes.
class PlatformFont {
 public:
  PlatformFont(std::vector<std::uint8_t> fileBytes, std::string styleText)
      : fileBytes_(std::move(fileBytes)), styleText_(std::move(styleText)) {}
  virtual ~PlatformFont() = default;

  const std::vector<std::uint8_t>& FileBytes() const { return fileBytes_; }
  const std::string& StyleText() const { return styleText_; }

 private:
  std::vector<std::uint8_t> fileBytes_;
  std::string styleText_;
};

}  // namespace plugkit::gfx
