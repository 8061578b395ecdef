#include "tools/quorvel-manual/ManualDocument.h"

#include <cairo-pdf.h>

#include <algorithm>
#include <cstdio>
#include <utility>

#include "tools/quorvel-manual/Palette.h"

namespace quorvelManual {

namespace {

constexpr const char* kBodyFont = "Roboto 10";
constexpr const char* kSmallFont = "Roboto 8.5";
constexpr const char* kCaptionFont = "Roboto Italic 8.5";
constexpr const char* kChapterFont = "Roboto Medium 21";
constexpr const char* kSectionFont = "Roboto Medium 13.5";

constexpr Rgb kRule{0.78, 0.80, 0.82};
constexpr Rgb kShade{0.94, 0.95, 0.96};

double Points(int pango) { return static_cast<double>(pango) / PANGO_SCALE; }

double LayoutHeight(PangoLayout* layout) {
  int w = 0, h = 0;
  pango_layout_get_size(layout, &w, &h);
  return Points(h);
}

// Cairo tags take the target page and position as attributes.
std::string LinkTo(int page, double y) {
  char text[96];
  std::snprintf(text, sizeof text, "page=%d pos=[%.1f %.1f]", page, ManualDocument::kMargin, y);
  return text;
}

}  // namespace

ManualDocument::ManualDocument(cairo_surface_t* pdf, std::vector<Heading> known, std::string footer)
    : pdf_(pdf), cr_(cairo_create(pdf)), known_(std::move(known)), footer_(std::move(footer)) {}

ManualDocument::~ManualDocument() {
  EndPage();
  cairo_destroy(cr_);
}

PangoLayout* ManualDocument::Layout(const std::string& markup, const char* font, double width) {
  PangoLayout* layout = pango_cairo_create_layout(cr_);
  PangoFontDescription* description = pango_font_description_from_string(font);
  pango_layout_set_font_description(layout, description);
  pango_font_description_free(description);
  pango_layout_set_width(layout, static_cast<int>(width * PANGO_SCALE));
  pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
  pango_layout_set_spacing(layout, static_cast<int>(2.2 * PANGO_SCALE));
  pango_layout_set_markup(layout, markup.c_str(), -1);
  return layout;
}

void ManualDocument::NewPage() {
  EndPage();
  ++page_;
  pageOpen_ = true;
  y_ = kTop;
}

void ManualDocument::EndPage() {
  if (!pageOpen_) return;
  if (numbered_) {
    const double base = kPageHeight - kBottom + 30;
    SetColor(cr_, kRule);
    cairo_set_line_width(cr_, 0.6);
    cairo_move_to(cr_, kMargin, base - 12);
    cairo_line_to(cr_, kPageWidth - kMargin, base - 12);
    cairo_stroke(cr_);
    PangoLayout* left = Layout(footer_, kSmallFont, TextWidth());
    PangoLayout* right = Layout(std::to_string(page_), kSmallFont, TextWidth());
    pango_layout_set_alignment(right, PANGO_ALIGN_RIGHT);
    SetColor(cr_, kSlate);
    cairo_move_to(cr_, kMargin, base - 6);
    pango_cairo_show_layout(cr_, left);
    cairo_move_to(cr_, kMargin, base - 6);
    pango_cairo_show_layout(cr_, right);
    g_object_unref(left);
    g_object_unref(right);
  }
  cairo_show_page(cr_);
  pageOpen_ = false;
}

void ManualDocument::NeedRoom(double points) {
  if (!pageOpen_ || y_ + points > kPageHeight - kBottom) NewPage();
}

void ManualDocument::FlowLayout(PangoLayout* layout, double x) {
  PangoLayoutIter* iter = pango_layout_get_iter(layout);
  double offset = 0.0;  // layout y that sits at y_ on the current page
  double start = y_;
  do {
    PangoRectangle logical;
    pango_layout_iter_get_line_extents(iter, nullptr, &logical);
    const double top = Points(logical.y);
    const double bottom = Points(logical.y + logical.height);
    if (start + bottom - offset > kPageHeight - kBottom) {
      NewPage();
      start = y_;
      offset = top;
    }
    const double baseline = Points(pango_layout_iter_get_baseline(iter));
    cairo_move_to(cr_, x + Points(logical.x), start + baseline - offset);
    pango_cairo_show_layout_line(cr_, pango_layout_iter_get_line_readonly(iter));
    y_ = start + bottom - offset;
  } while (pango_layout_iter_next_line(iter));
  pango_layout_iter_free(iter);
}

void ManualDocument::TitlePage(const std::string& product, const std::string& subtitle,
                               const std::string& maker, const std::string& version,
                               cairo_surface_t* picture) {
  NewPage();
  SetColor(cr_, kSlate);
  cairo_rectangle(cr_, 0, 0, kPageWidth, 330);
  cairo_fill(cr_);
  SetColor(cr_, kAmber);
  cairo_rectangle(cr_, 0, 330, kPageWidth, 6);
  cairo_fill(cr_);
  const auto show = [&](const std::string& markup, const char* font, double y, Rgb color) {
    PangoLayout* layout = Layout(markup, font, TextWidth());
    SetColor(cr_, color);
    cairo_move_to(cr_, kMargin, y);
    pango_cairo_show_layout(cr_, layout);
    g_object_unref(layout);
  };
  show(maker, "Roboto Medium 13", 70, Rgb{0.93, 0.75, 0.52});
  show(product, "Roboto Light 64", 150, Rgb{1, 1, 1});
  show(subtitle, "Roboto Light 16", 250, Rgb{0.85, 0.89, 0.92});
  show("User Manual", "Roboto Medium 22", 380, kSlate);
  show("Version " + version, kBodyFont, 415, kInk);
  // The product itself, under the title.
  const double scale = TextWidth() / cairo_image_surface_get_width(picture);
  cairo_save(cr_);
  cairo_translate(cr_, kMargin, 480);
  cairo_scale(cr_, scale, scale);
  cairo_set_source_surface(cr_, picture, 0, 0);
  cairo_paint(cr_);
  cairo_restore(cr_);
}

void ManualDocument::Contents() {
  NewPage();
  numbered_ = true;
  PangoLayout* title = Layout("Contents", kChapterFont, TextWidth());
  SetColor(cr_, kSlate);
  cairo_move_to(cr_, kMargin, y_);
  pango_cairo_show_layout(cr_, title);
  y_ += LayoutHeight(title) + 18;
  g_object_unref(title);
  for (const Heading& heading : known_) {
    const bool chapter = heading.level == 1;
    if (chapter) y_ += 5;
    const double indent = chapter ? 0 : 22;
    const std::string font = chapter ? "Roboto Medium 10.5" : kBodyFont;
    PangoLayout* entry = Layout(heading.title, font.c_str(), TextWidth() - indent - 40);
    PangoLayout* number = Layout(std::to_string(heading.page), font.c_str(), TextWidth());
    pango_layout_set_alignment(number, PANGO_ALIGN_RIGHT);
    const std::string link = LinkTo(heading.page, heading.y);
    cairo_tag_begin(cr_, CAIRO_TAG_LINK, link.c_str());
    SetColor(cr_, chapter ? kSlate : kInk);
    cairo_move_to(cr_, kMargin + indent, y_);
    pango_cairo_show_layout(cr_, entry);
    cairo_move_to(cr_, kMargin, y_);
    pango_cairo_show_layout(cr_, number);
    cairo_tag_end(cr_, CAIRO_TAG_LINK);
    // A dotted leader from the title to its page number.
    PangoRectangle ink;
    pango_layout_get_extents(entry, nullptr, &ink);
    const double lineY = y_ + LayoutHeight(entry) - 4;
    SetColor(cr_, kRule);
    cairo_set_line_width(cr_, 0.8);
    const double dash[] = {0.8, 3.0};
    cairo_set_dash(cr_, dash, 2, 0);
    cairo_move_to(cr_, kMargin + indent + Points(ink.width) + 6, lineY);
    cairo_line_to(cr_, kPageWidth - kMargin - 22, lineY);
    cairo_stroke(cr_);
    cairo_set_dash(cr_, nullptr, 0, 0);
    y_ += LayoutHeight(entry) + 1;
    g_object_unref(entry);
    g_object_unref(number);
  }
}

void ManualDocument::PlaceHeading(const std::string& title, int level) {
  placed_.push_back(Heading{title, level, page_, y_});
  const std::string link = LinkTo(page_, y_ - 6);
  const int parent = level == 1 ? CAIRO_PDF_OUTLINE_ROOT : chapterOutline_;
  const int id = cairo_pdf_surface_add_outline(pdf_, parent, title.c_str(), link.c_str(),
                                               static_cast<cairo_pdf_outline_flags_t>(0));
  if (level == 1) chapterOutline_ = id;
}

void ManualDocument::Chapter(const std::string& title) {
  NewPage();
  ++chapterNumber_;
  sectionNumber_ = 0;
  const std::string numbered = std::to_string(chapterNumber_) + "  " + title;
  PlaceHeading(numbered, 1);
  SetColor(cr_, kAmber);
  cairo_rectangle(cr_, kMargin, y_, 36, 4);
  cairo_fill(cr_);
  y_ += 14;
  PangoLayout* layout = Layout(numbered, kChapterFont, TextWidth());
  SetColor(cr_, kSlate);
  FlowLayout(layout, kMargin);
  g_object_unref(layout);
  y_ += 16;
}

void ManualDocument::Section(const std::string& title) {
  NeedRoom(110);
  if (y_ > kTop) y_ += 10;
  ++sectionNumber_;
  const std::string numbered =
      std::to_string(chapterNumber_) + "." + std::to_string(sectionNumber_) + "  " + title;
  PlaceHeading(numbered, 2);
  PangoLayout* layout = Layout(numbered, kSectionFont, TextWidth());
  SetColor(cr_, kSlate);
  FlowLayout(layout, kMargin);
  g_object_unref(layout);
  y_ += 6;
}

void ManualDocument::Paragraph(const std::string& markup) {
  NeedRoom(30);
  PangoLayout* layout = Layout(markup, kBodyFont, TextWidth());
  pango_layout_set_justify(layout, TRUE);
  SetColor(cr_, kInk);
  FlowLayout(layout, kMargin);
  g_object_unref(layout);
  y_ += 8;
}

void ManualDocument::Bullets(const std::vector<std::string>& items) {
  constexpr double kIndent = 16;
  for (const std::string& item : items) {
    NeedRoom(28);
    SetColor(cr_, kAmber);
    cairo_arc(cr_, kMargin + 5, y_ + 8.2, 2.1, 0, 6.283185307179586);
    cairo_fill(cr_);
    PangoLayout* layout = Layout(item, kBodyFont, TextWidth() - kIndent);
    SetColor(cr_, kInk);
    FlowLayout(layout, kMargin + kIndent);
    g_object_unref(layout);
    y_ += 4;
  }
  y_ += 4;
}

void ManualDocument::Table(const std::vector<double>& widths,
                           const std::vector<std::string>& header,
                           const std::vector<std::vector<std::string>>& rows) {
  constexpr double kPad = 4;
  const auto rowLayouts = [&](const std::vector<std::string>& cells, const char* font,
                              double& height) {
    std::vector<PangoLayout*> layouts;
    height = 0;
    for (size_t i = 0; i < cells.size() && i < widths.size(); ++i) {
      layouts.push_back(Layout(cells[i], font, widths[i] * TextWidth() - 2 * kPad));
      height = std::max(height, LayoutHeight(layouts.back()) + 2 * kPad);
    }
    return layouts;
  };
  const auto drawRow = [&](std::vector<PangoLayout*>& layouts, double height, Rgb fill, Rgb ink) {
    SetColor(cr_, fill);
    cairo_rectangle(cr_, kMargin, y_, TextWidth(), height);
    cairo_fill(cr_);
    double x = kMargin;
    for (size_t i = 0; i < layouts.size(); ++i) {
      SetColor(cr_, ink);
      cairo_move_to(cr_, x + kPad, y_ + kPad);
      pango_cairo_show_layout(cr_, layouts[i]);
      g_object_unref(layouts[i]);
      x += widths[i] * TextWidth();
    }
    y_ += height;
  };
  const auto drawHeader = [&] {
    double height = 0;
    auto layouts = rowLayouts(header, "Roboto Medium 8.5", height);
    drawRow(layouts, height, kSlate, Rgb{1, 1, 1});
  };
  // A header never stands alone at the foot of a page.
  double first = 0;
  if (!rows.empty()) {
    for (auto* layout : rowLayouts(rows.front(), kSmallFont, first)) g_object_unref(layout);
  }
  NeedRoom(first + 40);
  drawHeader();
  bool shaded = false;
  for (const auto& row : rows) {
    double height = 0;
    auto layouts = rowLayouts(row, kSmallFont, height);
    if (y_ + height > kPageHeight - kBottom) {
      NewPage();
      drawHeader();
    }
    drawRow(layouts, height, shaded ? kShade : Rgb{1, 1, 1}, kInk);
    shaded = !shaded;
  }
  SetColor(cr_, kRule);
  cairo_set_line_width(cr_, 0.6);
  cairo_move_to(cr_, kMargin, y_);
  cairo_line_to(cr_, kPageWidth - kMargin, y_);
  cairo_stroke(cr_);
  y_ += 12;
}

void ManualDocument::Figure(double height, const Draw& draw, const std::string& caption) {
  NeedRoom(height + 30);
  cairo_save(cr_);
  cairo_translate(cr_, kMargin, y_);
  draw(cr_, TextWidth(), height);
  cairo_restore(cr_);
  y_ += height + 6;
  PangoLayout* layout = Layout(caption, kCaptionFont, TextWidth());
  pango_layout_set_alignment(layout, PANGO_ALIGN_CENTER);
  SetColor(cr_, kSlate);
  FlowLayout(layout, kMargin);
  g_object_unref(layout);
  y_ += 12;
}

void ManualDocument::Picture(cairo_surface_t* image, int x, int y, int w, int h, double width,
                             const std::string& caption) {
  // Only the part shown is embedded.
  cairo_surface_t* part = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h);
  cairo_t* copy = cairo_create(part);
  cairo_set_source_surface(copy, image, -x, -y);
  cairo_paint(copy);
  cairo_destroy(copy);
  const double scale = width / w;
  const double height = h * scale;
  const double left = kMargin + (TextWidth() - width) / 2;
  Figure(
      height,
      [&](cairo_t* cr, double, double) {
        cairo_save(cr);
        cairo_translate(cr, left - kMargin, 0);
        cairo_scale(cr, scale, scale);
        cairo_set_source_surface(cr, part, 0, 0);
        cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
        cairo_paint(cr);
        cairo_restore(cr);
        SetColor(cr, kRule);
        cairo_set_line_width(cr, 0.6);
        cairo_rectangle(cr, left - kMargin, 0, width, height);
        cairo_stroke(cr);
      },
      caption);
  cairo_surface_destroy(part);
}

}  // namespace quorvelManual
