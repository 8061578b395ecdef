#pragma once

#include "tools/artwork/Strips.h"

namespace artwork {

// The whole panel behind the controls: metal, section plates, wells, legends and the logo.
void PaintBackground(const Frame& f);

}  // namespace artwork
