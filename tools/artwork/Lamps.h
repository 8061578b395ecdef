#pragma once

#include "tools/artwork/Strips.h"

// Pictures drawn additively or lit: the lamp glows and the MOTORS push button.
namespace artwork {

void PaintRedGlow(const Frame& f);
void PaintYellowGlow(const Frame& f);
void PaintGreenGlow(const Frame& f);
void PaintMotorButton(const Frame& f);

}  // namespace artwork
