#pragma once

#include <cairo.h>
#include <pango/pangocairo.h>

#include <functional>
#include <string>
#include <vector>

namespace quorvelManual {

// A heading as placed: what the table of contents and the PDF outline point at.
struct Heading {
  std::string title;
  int level = 1;  // 1 chapter, 2 section
  int page = 0;   // 1-based
  double y = 0.0;
};

// A4 pages filled top to bottom with Pango text, tables, figures and pictures, with a
// running footer and page numbers. The table of contents needs the page of every heading
// before those pages exist, so a manual is composed twice: the first pass (known headings
// empty) only measures.
class ManualDocument {
 public:
  using Draw = std::function<void(cairo_t* cr, double width, double height)>;

  static constexpr double kPageWidth = 595.28;
  static constexpr double kPageHeight = 841.89;
  static constexpr double kMargin = 62.0;
  static constexpr double kTop = 58.0;
  static constexpr double kBottom = 70.0;

  ManualDocument(cairo_surface_t* pdf, std::vector<Heading> known, std::string footer);
  ~ManualDocument();
  ManualDocument(const ManualDocument&) = delete;
  ManualDocument& operator=(const ManualDocument&) = delete;

  // Whole-page pieces.
  void TitlePage(const std::string& product, const std::string& subtitle, const std::string& maker,
                 const std::string& version, cairo_surface_t* picture);
  void Contents();

  void Chapter(const std::string& title);
  void Section(const std::string& title);
  // Pango markup; the paragraph may break across pages between lines.
  void Paragraph(const std::string& markup);
  void Bullets(const std::vector<std::string>& items);
  // A table of markup cells; the widths are fractions of the text width. The header row is
  // repeated on every page the table runs onto.
  void Table(const std::vector<double>& widths, const std::vector<std::string>& header,
             const std::vector<std::vector<std::string>>& rows);
  // A vector drawing height points high over the text width, then its caption.
  void Figure(double height, const Draw& draw, const std::string& caption);
  // A PNG image (or the part of it within the pixel rectangle) scaled to width points.
  void Picture(cairo_surface_t* image, int x, int y, int w, int h, double width,
               const std::string& caption);

  const std::vector<Heading>& Placed() const { return placed_; }
  double TextWidth() const { return kPageWidth - 2 * kMargin; }

 private:
  void NewPage();
  void EndPage();
  void NeedRoom(double points);
  PangoLayout* Layout(const std::string& markup, const char* font, double width);
  // Draws a laid-out text at x, breaking to new pages between lines.
  void FlowLayout(PangoLayout* layout, double x);
  void PlaceHeading(const std::string& title, int level);

  cairo_surface_t* pdf_;
  cairo_t* cr_;
  std::vector<Heading> known_;
  std::vector<Heading> placed_;
  std::string footer_;
  int page_ = 0;
  bool pageOpen_ = false;
  bool numbered_ = false;
  double y_ = kTop;
  int chapterOutline_ = 0;
  int chapterNumber_ = 0;
  int sectionNumber_ = 0;
};

}  // namespace quorvelManual
