// frame-to-png: renders the demo scene headlessly through the graphics framework and the Cairo
// backend, and writes the frame to a PNG file so a person can look at it.
//
//   frame-to-png OUTPUT.png [--scale DRAW_SCALE] [--screen SCREEN_SCALE]

#include <cstdio>
#include <cstdlib>
#include <string>

#include "graphics/GraphicsEditorDelegate.h"
#include "graphics/platform/GraphicsHeadless.h"
#include "resources/ResourceTable.h"
#include "tools/frame-to-png/DemoScene.h"

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: frame-to-png OUTPUT.png [--scale DRAW_SCALE] [--screen SCREEN_SCALE]\n");
  return 2;
}

bool ParseScale(const char* text, float& value) {
  char* end = nullptr;
  const float parsed = std::strtof(text, &end);
  if (end == text || *end != '\0' || !(parsed >= 0.5f && parsed <= 4.0f)) return false;
  value = parsed;
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  plugkit::SetEmbeddedResources(quorvel::ResourceTable);
  std::string output;
  float drawScale = 1.0f;
  float screenScale = 1.0f;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if ((arg == "--scale" || arg == "--screen") && i + 1 < argc) {
      if (!ParseScale(argv[++i], arg == "--scale" ? drawScale : screenScale)) {
        std::fprintf(stderr, "frame-to-png: %s needs a number from 0.5 to 4\n", arg.c_str());
        return 2;
      }
    } else if (output.empty() && !arg.empty() && arg[0] != '-') {
      output = arg;
    } else {
      return Usage();
    }
  }
  if (output.empty()) return Usage();

  plugkit::GraphicsEditorDelegate delegate(0);
  delegate.SetLayoutFunction(framepng::LayoutDemoScene);
  plugkit::gfx::GraphicsHeadless graphics(delegate, framepng::kSceneWidth, framepng::kSceneHeight,
                                          18, drawScale);
  graphics.SetWindowScale(screenScale);
  graphics.OpenWindow(nullptr);
  graphics.RenderAll();
  if (!graphics.WriteFramePng(output.c_str())) {
    std::fprintf(stderr, "frame-to-png: cannot write %s\n", output.c_str());
    return 1;
  }
  std::printf("%s: %d x %d pixels\n", output.c_str(), graphics.SurfaceWidth(),
              graphics.SurfaceHeight());
  return 0;
}
