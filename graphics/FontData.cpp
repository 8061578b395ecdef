#include "graphics/FontData.h"

#include <cstring>
#include <optional>

namespace plugkit::gfx {
namespace {

// Every read is bounds-checked: font files can come from anywhere on disk.
class Reader {
 public:
  explicit Reader(std::span<const unsigned char> bytes) : bytes_(bytes) {}

  bool Has(std::size_t offset, std::size_t size) const {
    return offset <= bytes_.size() && size <= bytes_.size() - offset;
  }
  std::optional<std::uint16_t> U16(std::size_t offset) const {
    if (!Has(offset, 2)) return std::nullopt;
    return static_cast<std::uint16_t>((bytes_[offset] << 8) | bytes_[offset + 1]);
  }
  std::optional<std::uint32_t> U32(std::size_t offset) const {
    if (!Has(offset, 4)) return std::nullopt;
    return (std::uint32_t{bytes_[offset]} << 24) | (std::uint32_t{bytes_[offset + 1]} << 16) |
           (std::uint32_t{bytes_[offset + 2]} << 8) | std::uint32_t{bytes_[offset + 3]};
  }
  bool TagIs(std::size_t offset, const char* tag) const {
    return Has(offset, 4) && std::memcmp(bytes_.data() + offset, tag, 4) == 0;
  }
  std::span<const unsigned char> Slice(std::size_t offset, std::size_t size) const {
    return Has(offset, size) ? bytes_.subspan(offset, size) : std::span<const unsigned char>{};
  }

 private:
  std::span<const unsigned char> bytes_;
};

struct Table {
  std::size_t offset = 0;
  std::size_t length = 0;
};

bool IsSingleFont(const Reader& r) {
  return r.TagIs(0, "\x00\x01\x00\x00") || r.TagIs(0, "\x31\x00\x00\x00") || r.TagIs(0, "OTTO") ||
         r.TagIs(0, "typ1");
}

std::optional<std::size_t> FaceOffset(const Reader& r, int faceIndex) {
  if (faceIndex < 0) return std::nullopt;
  if (IsSingleFont(r)) {
    if (faceIndex != 0) return std::nullopt;
    return 0;
  }
  if (!r.TagIs(0, "ttcf")) return std::nullopt;
  auto version = r.U32(4);
  auto count = r.U32(8);
  if (!version || !count || (*version != 0x00010000 && *version != 0x00020000)) {
    return std::nullopt;
  }
  if (static_cast<std::uint32_t>(faceIndex) >= *count) return std::nullopt;
  auto offset = r.U32(12 + 4 * static_cast<std::size_t>(faceIndex));
  if (!offset) return std::nullopt;
  return *offset;
}

std::optional<Table> FindTable(const Reader& r, std::size_t face, const char* tag) {
  auto count = r.U16(face + 4);
  if (!count) return std::nullopt;
  for (std::size_t i = 0; i < *count; ++i) {
    std::size_t record = face + 12 + 16 * i;
    if (!r.Has(record, 16)) return std::nullopt;
    if (!r.TagIs(record, tag)) continue;
    Table table{*r.U32(record + 8), *r.U32(record + 12)};
    if (!r.Has(table.offset, table.length)) return std::nullopt;
    return table;
  }
  return std::nullopt;
}

void AppendUtf8(std::string& out, std::uint32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

std::string Utf16BeToUtf8(std::span<const unsigned char> text) {
  constexpr std::uint32_t replacement = 0xFFFD;
  std::string out;
  std::size_t units = text.size() / 2;
  auto unit = [&](std::size_t i) {
    return static_cast<std::uint32_t>((text[2 * i] << 8) | text[2 * i + 1]);
  };
  for (std::size_t i = 0; i < units; ++i) {
    std::uint32_t c = unit(i);
    if (c >= 0xD800 && c < 0xDC00) {
      std::uint32_t low = i + 1 < units ? unit(i + 1) : 0;
      if (low >= 0xDC00 && low < 0xE000) {
        c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
        ++i;
      } else {
        c = replacement;
      }
    } else if (c >= 0xDC00 && c < 0xE000) {
      c = replacement;
    }
    AppendUtf8(out, c);
  }
  return out;
}

// Name `nameId` from the Windows (Unicode BMP, US English) entry, else from the Macintosh
// Roman entry.
std::string ReadName(const Reader& r, const Table& name, std::uint16_t nameId) {
  auto count = r.U16(name.offset + 2);
  auto storage = r.U16(name.offset + 4);
  if (!count || !storage) return {};
  std::string mac;
  for (std::size_t i = 0; i < *count; ++i) {
    std::size_t record = name.offset + 6 + 12 * i;
    if (!r.Has(record, 12) || record + 12 > name.offset + name.length) break;
    if (*r.U16(record + 6) != nameId) continue;
    std::uint16_t platform = *r.U16(record);
    std::uint16_t encoding = *r.U16(record + 2);
    std::uint16_t language = *r.U16(record + 4);
    auto text = r.Slice(name.offset + *storage + *r.U16(record + 10), *r.U16(record + 8));
    if (platform == 3 && encoding == 1 && language == 1033) {
      std::string windows = Utf16BeToUtf8(text);
      if (!windows.empty()) return windows;
    } else if (platform == 1 && encoding == 0 && language == 0 && mac.empty()) {
      mac.assign(text.begin(), text.end());
    }
  }
  return mac;
}

// Fills the metrics and names of one face; false (and `data` untouched) when it is missing.
bool ReadFace(const Reader& r, int faceIndex, FontData& data) {
  auto face = FaceOffset(r, faceIndex);
  if (!face) return false;
  auto head = FindTable(r, *face, "head");
  auto name = FindTable(r, *face, "name");
  auto hhea = FindTable(r, *face, "hhea");
  if (!head || !name || !hhea || head->length < 46 || hhea->length < 10) return false;

  data.unitsPerEm = *r.U16(head->offset + 18);
  data.styleBits = *r.U16(head->offset + 44) & (FontBold | FontItalic | FontUnderline);
  data.ascender = static_cast<std::int16_t>(*r.U16(hhea->offset + 4));
  data.descender = static_cast<std::int16_t>(*r.U16(hhea->offset + 6));
  data.lineGap = static_cast<std::int16_t>(*r.U16(hhea->offset + 8));
  data.family = ReadName(r, *name, 1);
  data.style = ReadName(r, *name, 2);
  data.faceIndex = faceIndex;
  return true;
}

}  // namespace

int CountFontFaces(std::span<const unsigned char> bytes) {
  Reader r(bytes);
  if (IsSingleFont(r)) return 1;
  if (!r.TagIs(0, "ttcf")) return 0;
  auto version = r.U32(4);
  auto count = r.U32(8);
  if (!version || !count || (*version != 0x00010000 && *version != 0x00020000)) return 0;
  return *count > 0x7FFF ? 0x7FFF : static_cast<int>(*count);
}

FontData ReadFontData(std::vector<unsigned char> bytes, int faceIndex) {
  FontData data;
  data.bytes = std::move(bytes);
  ReadFace(Reader(data.bytes), faceIndex, data);
  return data;
}

int FindFaceByStyle(std::span<const unsigned char> bytes, const std::string& style) {
  Reader r(bytes);
  int faces = CountFontFaces(bytes);
  for (int i = 0; i < faces; ++i) {
    FontData face;
    if (!ReadFace(r, i, face) || face.style.empty()) continue;
    if (style.empty() || face.style == style) return i;
  }
  return -1;
}

}  // namespace plugkit::gfx
