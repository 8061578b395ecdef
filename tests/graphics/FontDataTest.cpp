#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "graphics/FontData.h"
#include "graphics/Resources.h"
#include "tests/graphics/ResourceTableSetup.h"

namespace plugkit::gfx {
namespace {

using Bytes = std::vector<unsigned char>;

void Put16(Bytes& b, std::size_t at, std::uint16_t v) {
  if (b.size() < at + 2) b.resize(at + 2);
  b[at] = static_cast<unsigned char>(v >> 8);
  b[at + 1] = static_cast<unsigned char>(v);
}
void Put32(Bytes& b, std::size_t at, std::uint32_t v) {
  Put16(b, at, static_cast<std::uint16_t>(v >> 16));
  Put16(b, at + 2, static_cast<std::uint16_t>(v));
}

struct NameRecord {
  std::uint16_t platform, encoding, language, id;
  Bytes text;
};

Bytes Utf16(const std::u16string& s) {
  Bytes out;
  for (char16_t c : s) {
    out.push_back(static_cast<unsigned char>(c >> 8));
    out.push_back(static_cast<unsigned char>(c));
  }
  return out;
}

// A minimal sfnt with head, hhea and name tables (and optionally without one of them),
// placed at `base` inside the returned buffer.
Bytes MakeFace(std::size_t base, std::uint16_t unitsPerEm, std::int16_t ascender,
               std::int16_t descender, std::uint16_t macStyle, const std::vector<NameRecord>& names,
               bool withHhea = true) {
  Bytes b(base, 0);
  const std::uint16_t tables = withHhea ? 3 : 2;
  Put32(b, base, 0x00010000);
  Put16(b, base + 4, tables);
  std::size_t data = base + 12 + 16 * tables;
  auto record = [&](int i, const char* tag, std::size_t offset, std::size_t length) {
    std::size_t r = base + 12 + 16 * static_cast<std::size_t>(i);
    if (b.size() < r + 16) b.resize(r + 16);
    for (int k = 0; k < 4; ++k) b[r + k] = static_cast<unsigned char>(tag[k]);
    Put32(b, r + 8, static_cast<std::uint32_t>(offset));
    Put32(b, r + 12, static_cast<std::uint32_t>(length));
  };
  std::size_t head = data;
  b.resize(head + 54, 0);
  Put16(b, head + 18, unitsPerEm);
  Put16(b, head + 44, macStyle);
  record(0, "head", head, 54);
  std::size_t name = head + 54;
  std::size_t storage = 6 + 12 * names.size();
  Put16(b, name + 2, static_cast<std::uint16_t>(names.size()));
  Put16(b, name + 4, static_cast<std::uint16_t>(storage));
  std::size_t textOffset = 0;
  for (std::size_t i = 0; i < names.size(); ++i) {
    std::size_t r = name + 6 + 12 * i;
    Put16(b, r, names[i].platform);
    Put16(b, r + 2, names[i].encoding);
    Put16(b, r + 4, names[i].language);
    Put16(b, r + 6, names[i].id);
    Put16(b, r + 8, static_cast<std::uint16_t>(names[i].text.size()));
    Put16(b, r + 10, static_cast<std::uint16_t>(textOffset));
    b.resize(name + storage + textOffset);
    b.insert(b.end(), names[i].text.begin(), names[i].text.end());
    textOffset += names[i].text.size();
  }
  std::size_t nameLength = storage + textOffset;
  b.resize(name + nameLength, 0);
  record(1, "name", name, nameLength);
  if (withHhea) {
    std::size_t hhea = name + nameLength;
    b.resize(hhea + 36, 0);
    Put16(b, hhea + 4, static_cast<std::uint16_t>(ascender));
    Put16(b, hhea + 6, static_cast<std::uint16_t>(descender));
    Put16(b, hhea + 8, 7);
    record(2, "hhea", hhea, 36);
  }
  return b;
}

std::vector<NameRecord> Names(const std::u16string& family, const std::u16string& style) {
  return {{3, 1, 1033, 1, Utf16(family)}, {3, 1, 1033, 2, Utf16(style)}};
}

TEST(FontData, EmbeddedRobotoMetrics) {
  Bytes bytes = ReadResourceBytes("Roboto-Regular.ttf", "ttf");
  ASSERT_FALSE(bytes.empty());
  EXPECT_EQ(CountFontFaces(bytes), 1);
  FontData font = ReadFontData(bytes, 0);
  ASSERT_TRUE(font.IsValid());
  EXPECT_EQ(font.unitsPerEm, 2048);
  EXPECT_EQ(font.ascender, 1900);
  EXPECT_EQ(font.descender, -500);
  EXPECT_EQ(font.family, "Roboto");
  EXPECT_EQ(font.style, "Regular");
  EXPECT_EQ(font.styleBits, 0);
  EXPECT_EQ(font.bytes.size(), bytes.size());

  EXPECT_FALSE(ReadFontData(bytes, 1).IsValid()) << "a single font has only face 0";
  EXPECT_FALSE(ReadFontData(bytes, -1).IsValid());
  EXPECT_EQ(FindFaceByStyle(bytes, "Regular"), 0);
  EXPECT_EQ(FindFaceByStyle(bytes, ""), 0);
  EXPECT_EQ(FindFaceByStyle(bytes, "Bold"), -1);
}

TEST(FontData, ReadsNamesStyleBitsAndMetricsOfASyntheticFace) {
  // Family with a character outside the BMP (a surrogate pair) and a non-ASCII one.
  FontData font = ReadFontData(
      MakeFace(0, 1000, 800, -200, 3, Names(u"Fam\u00e9 \U0001F600", u"Bold Italic")), 0);
  ASSERT_TRUE(font.IsValid());
  EXPECT_EQ(font.unitsPerEm, 1000);
  EXPECT_EQ(font.ascender, 800);
  EXPECT_EQ(font.descender, -200);
  EXPECT_EQ(font.lineGap, 7);
  EXPECT_EQ(font.styleBits, FontBold | FontItalic);
  EXPECT_EQ(font.family, "Fam\xC3\xA9 \xF0\x9F\x98\x80");
  EXPECT_EQ(font.style, "Bold Italic");

  // An empty Windows entry falls back to the Macintosh one; a lone surrogate is replaced.
  std::vector<NameRecord> names = {
      {3, 1, 1033, 1, {}}, {1, 0, 0, 1, {'M', 'a', 'c'}}, {3, 1, 1033, 2, Utf16(u"X\xD800")}};
  FontData mac = ReadFontData(MakeFace(0, 1000, 800, -200, 0, names), 0);
  EXPECT_EQ(mac.family, "Mac");
  EXPECT_EQ(mac.style, "X\xEF\xBF\xBD");
}

TEST(FontData, RefusesBrokenAndIncompleteFiles) {
  EXPECT_FALSE(ReadFontData({}, 0).IsValid());
  EXPECT_FALSE(ReadFontData({'w', 'O', 'F', 'F', 0, 0, 0, 0}, 0).IsValid());
  EXPECT_FALSE(ReadFontData(MakeFace(0, 1000, 800, -200, 0, Names(u"A", u"B"), false), 0).IsValid())
      << "no hhea table";
  EXPECT_FALSE(ReadFontData(MakeFace(0, 0, 800, -200, 0, Names(u"A", u"B")), 0).IsValid())
      << "zero units per em would divide by zero in the text size";
  EXPECT_FALSE(ReadFontData(MakeFace(0, 1000, 0, 0, 0, Names(u"A", u"B")), 0).IsValid())
      << "ascender equal to descender";

  // Every truncation of a good file is refused or read without touching memory past the end.
  Bytes good = MakeFace(0, 1000, 800, -200, 0, Names(u"Family", u"Style"));
  for (std::size_t size = 0; size < good.size(); ++size) {
    FontData cut = ReadFontData(Bytes(good.begin(), good.begin() + static_cast<long>(size)), 0);
    if (cut.IsValid()) {
      EXPECT_EQ(cut.unitsPerEm, 1000);
    }
  }
  // A table directory pointing far outside the file.
  Bytes wild = good;
  Put32(wild, 12 + 8, 0xFFFFFFF0u);
  EXPECT_FALSE(ReadFontData(wild, 0).IsValid());
}

TEST(FontData, CollectionsSelectFacesByIndexAndStyle) {
  Bytes first = MakeFace(0, 1000, 800, -200, 0, Names(u"Family", u"Regular"));
  const std::size_t secondBase = 64 + first.size();
  Bytes collection(20, 0);
  for (int k = 0; k < 4; ++k) collection[k] = static_cast<unsigned char>("ttcf"[k]);
  Put32(collection, 4, 0x00020000);
  Put32(collection, 8, 2);
  Put32(collection, 12, 64);
  Put32(collection, 16, static_cast<std::uint32_t>(secondBase));
  // Offsets inside a collection are from the start of the file.
  Bytes firstAt64 = MakeFace(64, 1000, 800, -200, 0, Names(u"Family", u"Regular"));
  collection.resize(64);
  collection.insert(collection.end(), firstAt64.begin() + 64, firstAt64.end());
  Bytes secondAt = MakeFace(secondBase, 2000, 1500, -400, 1, Names(u"Family", u"Bold"));
  collection.resize(secondBase);
  collection.insert(collection.end(), secondAt.begin() + static_cast<long>(secondBase),
                    secondAt.end());

  EXPECT_EQ(CountFontFaces(collection), 2);
  FontData bold = ReadFontData(collection, 1);
  ASSERT_TRUE(bold.IsValid());
  EXPECT_EQ(bold.unitsPerEm, 2000);
  EXPECT_EQ(bold.styleBits, FontBold);
  EXPECT_EQ(bold.style, "Bold");
  EXPECT_EQ(ReadFontData(collection, 0).style, "Regular");
  EXPECT_FALSE(ReadFontData(collection, 2).IsValid());
  EXPECT_EQ(FindFaceByStyle(collection, "Bold"), 1);
  EXPECT_EQ(FindFaceByStyle(collection, "Regular"), 0);

  Bytes badVersion = collection;
  Put32(badVersion, 4, 0x00030000);
  EXPECT_EQ(CountFontFaces(badVersion), 0);
  EXPECT_FALSE(ReadFontData(badVersion, 0).IsValid());
}

}  // namespace
}  // namespace plugkit::gfx
