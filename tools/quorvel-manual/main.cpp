// quorvel-manual: lays out Quorvel_manual.pdf from the product itself: the parameters and
// presets of the built module, plots computed by the engine and pictures of the editor.

#include <cairo-pdf.h>
#include <cairo.h>

#include <iostream>
#include <string>
#include <vector>

#include "tools/quorvel-manual/Chapters.h"
#include "tools/quorvel-manual/EditorChapter.h"
#include "tools/quorvel-manual/ManualDocument.h"
#include "tools/quorvel-manual/ProductFacts.h"
#include "tools/quorvel-manual/ReferenceChapters.h"

namespace {

using namespace quorvelManual;

struct Options {
  std::string plugin;
  std::string editor;
  std::string output;
  std::string version;
};

int Fail(const std::string& message) {
  std::cerr << "quorvel-manual: " << message << "\n";
  return 1;
}

cairo_status_t Discard(void*, const unsigned char*, unsigned int) { return CAIRO_STATUS_SUCCESS; }

std::vector<Heading> Compose(cairo_surface_t* pdf, const std::vector<Heading>& known,
                             const ProductFacts& facts, cairo_surface_t* editor,
                             const std::string& version) {
  ManualDocument doc(pdf, known, "Quorvel User Manual \xc2\xb7 Brackmoor Audio");
  doc.TitlePage("Quorvel", "A flexible analog-style modulation and filtering effect",
                "BRACKMOOR AUDIO", version, editor);
  doc.Contents();
  WriteIntroduction(doc);
  WriteEditorChapter(doc, facts, editor);
  WriteModulationChapter(doc, facts);
  WritePlotChapter(doc);
  WritePresetChapter(doc, facts);
  WriteParameterChapter(doc, facts);
  WriteUsingChapter(doc);
  return doc.Placed();
}

void SetMetadata(cairo_surface_t* pdf, const std::string& version) {
  cairo_pdf_surface_set_metadata(pdf, CAIRO_PDF_METADATA_TITLE, "Quorvel User Manual");
  cairo_pdf_surface_set_metadata(pdf, CAIRO_PDF_METADATA_AUTHOR, "Brackmoor Audio");
  cairo_pdf_surface_set_metadata(pdf, CAIRO_PDF_METADATA_SUBJECT,
                                 ("Quorvel " + version + ", CLAP audio effect").c_str());
  cairo_pdf_surface_set_metadata(pdf, CAIRO_PDF_METADATA_KEYWORDS,
                                 "Quorvel, Brackmoor Audio, CLAP, filter, phaser, chorus");
  cairo_pdf_surface_set_metadata(pdf, CAIRO_PDF_METADATA_CREATOR, "quorvel-manual");
}

int Run(const Options& options) {
  std::string error;
  const auto facts = ReadProductFacts(options.plugin, error);
  if (!facts) return Fail(error);
  cairo_surface_t* editor = cairo_image_surface_create_from_png(options.editor.c_str());
  if (cairo_surface_status(editor) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(editor);
    return Fail("cannot read the editor picture " + options.editor);
  }
  const double w = ManualDocument::kPageWidth, h = ManualDocument::kPageHeight;
  // The first pass finds the pages of the headings for the table of contents.
  cairo_surface_t* measure = cairo_pdf_surface_create_for_stream(Discard, nullptr, w, h);
  const auto headings = Compose(measure, {}, *facts, editor, options.version);
  cairo_surface_destroy(measure);

  cairo_surface_t* pdf = cairo_pdf_surface_create(options.output.c_str(), w, h);
  SetMetadata(pdf, options.version);
  Compose(pdf, headings, *facts, editor, options.version);
  cairo_surface_finish(pdf);
  const cairo_status_t status = cairo_surface_status(pdf);
  cairo_surface_destroy(pdf);
  cairo_surface_destroy(editor);
  if (status != CAIRO_STATUS_SUCCESS)
    return Fail("cannot write " + options.output + ": " + cairo_status_to_string(status));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string option = argv[i];
    std::string* target = option == "--plugin"    ? &options.plugin
                          : option == "--editor"  ? &options.editor
                          : option == "--out"     ? &options.output
                          : option == "--version" ? &options.version
                                                  : nullptr;
    if (!target || i + 1 >= argc)
      return Fail(
          "usage: quorvel-manual --plugin Quorvel.clap --editor EDITOR.png "
          "--version V --out Quorvel_manual.pdf");
    *target = argv[++i];
  }
  if (options.plugin.empty() || options.editor.empty() || options.output.empty())
    return Fail("--plugin, --editor and --out are required");
  try {
    return Run(options);
  } catch (const std::exception& e) {
    return Fail(e.what());
  }
}
