#pragma once

#include "tools/artwork/Strips.h"

// The two needle meters behind the input-trim knob. Both read −24 … 0 dB, linear in
// amplitude, and their needles share the editor's meter pivot.
namespace artwork {

// The needle angle (degrees from 12 o'clock) at which a level in dB is read.
double MeterAngle(double decibels);

void PaintOuterMeter(const Frame& f);
void PaintInnerMeter(const Frame& f);

}  // namespace artwork
