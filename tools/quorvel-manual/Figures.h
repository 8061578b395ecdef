#pragma once

#include "tools/quorvel-manual/ManualDocument.h"

namespace quorvelManual {

// Drawings for ManualDocument::Figure. The plots are computed by running the engine's own
// filter, waveshaper, oscillator and envelope classes.

// Trim, filters, drive, phaser, chorus, output and limiter, with the four modulation sources
// and the side-chain input.
void DrawSignalChain(cairo_t* cr, double width, double height);

// The cutoff filter at 1 kHz for several resonances; shape 0 low pass, 1 wide band pass,
// 2 narrow band pass.
ManualDocument::Draw FilterResponsePlot(int shape);

// The drive's waveshaper from −2 to 2.
void DrawDriveCurve(cairo_t* cr, double width, double height);

// One cycle of each of the five LFO shapes.
void DrawLfoShapes(cairo_t* cr, double width, double height);

// The ADSR envelope at the default settings with the gate that drives it.
void DrawAdsr(cairo_t* cr, double width, double height);

}  // namespace quorvelManual
