// Renders the editor's film strips at 1x and 2x into a folder:
//   quorvel-artwork --font Roboto-Regular.ttf --out DIR [--preview]
// --preview also composes preview-{1x,2x}-{rest,lit}.png from the rendered images.
#include <cairo.h>

#include <cstdio>
#include <exception>
#include <string>
#include <string_view>

#include "tools/artwork/Drawing.h"
#include "tools/artwork/Preview.h"
#include "tools/artwork/Strips.h"

namespace {

int Usage() {
  std::fprintf(stderr, "usage: quorvel-artwork --font FILE --out DIR [--preview]\n");
  return 2;
}

bool RenderAll(const artwork::Typeface& type, const std::string& out) {
  for (const artwork::StripSpec& spec : artwork::Strips()) {
    for (int scale : {1, 2}) {
      const std::string path = out + "/" + artwork::ScaledName(spec.name, scale);
      cairo_surface_t* surface = artwork::RenderStrip(spec, type, scale);
      const cairo_status_t status = cairo_surface_write_to_png(surface, path.c_str());
      cairo_surface_destroy(surface);
      if (status != CAIRO_STATUS_SUCCESS) {
        std::fprintf(stderr, "quorvel-artwork: cannot write %s: %s\n", path.c_str(),
                     cairo_status_to_string(status));
        return false;
      }
    }
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  std::string font, out;
  bool preview = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--font" && i + 1 < argc) {
      font = argv[++i];
    } else if (arg == "--out" && i + 1 < argc) {
      out = argv[++i];
    } else if (arg == "--preview") {
      preview = true;
    } else {
      return Usage();
    }
  }
  if (font.empty() || out.empty()) return Usage();

  try {
    const artwork::Typeface type(font);
    if (!RenderAll(type, out)) return 1;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "quorvel-artwork: %s\n", e.what());
    return 1;
  }
  if (preview) {
    for (int scale : {1, 2}) {
      for (bool lit : {false, true}) {
        const std::string path =
            out + "/preview-" + std::to_string(scale) + "x-" + (lit ? "lit" : "rest") + ".png";
        if (!artwork::WritePreview(out, scale, lit, path)) {
          std::fprintf(stderr, "quorvel-artwork: cannot compose %s\n", path.c_str());
          return 1;
        }
      }
    }
  }
  return 0;
}
