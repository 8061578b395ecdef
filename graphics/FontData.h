#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace plugkit::gfx {

// Style bits of a font face, as its "head" table stores them.
enum FontStyleBits : int { FontBold = 1, FontItalic = 2, FontUnderline = 4 };

// The bytes of a TrueType/OpenType file (or collection) and the metrics of one face in it.
struct FontData {
  std::vector<unsigned char> bytes;
  int faceIndex = -1;
  std::uint16_t unitsPerEm = 0;
  std::int16_t ascender = 0;
  std::int16_t descender = 0;
  std::int16_t lineGap = 0;
  std::string family;
  std::string style;
  int styleBits = 0;

  // The metrics must also allow the text size rule (size x units per em / (ascender -
  // descender)) to give a finite, positive size.
  bool IsValid() const {
    return !bytes.empty() && faceIndex >= 0 && unitsPerEm > 0 && ascender > descender;
  }
};

// Number of faces in a font file: 1 for a single font, the face count of a collection, 0 for
// anything that is not a font.
int CountFontFaces(std::span<const unsigned char> bytes);

// Takes ownership of the bytes and reads the metrics and names of the given face. The result
// is invalid (IsValid false) when the face does not exist or lacks a head, name or hhea table.
FontData ReadFontData(std::vector<unsigned char> bytes, int faceIndex);

// The first face whose style name is non-empty and equals `style` (any face with a style name
// when `style` is empty), or -1.
int FindFaceByStyle(std::span<const unsigned char> bytes, const std::string& style);

}  // namespace plugkit::gfx
