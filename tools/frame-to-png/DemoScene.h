#pragma once

#include "graphics/Graphics.h"

namespace framepng {

// Width and height of the demo panel in units.
inline constexpr int kSceneWidth = 320;
inline constexpr int kSceneHeight = 160;

// Attaches the demo controls: background, three film-strip knobs (one disabled), a lamp glowing
// additively at half weight, a needle meter and text.
void LayoutDemoScene(plugkit::gfx::Graphics& g);

}  // namespace framepng
