#pragma once

#include "tools/quorvel-manual/ManualDocument.h"
#include "tools/quorvel-manual/ProductFacts.h"

namespace quorvelManual {

// What Quorvel is, with the signal chain.
void WriteIntroduction(ManualDocument& doc);
// Targets, source positions, strength, motorized knobs, lamps and meters.
void WriteModulationChapter(ManualDocument& doc, const ProductFacts& facts);
// Filter responses, drive curve, LFO shapes and the ADSR, computed from the engine.
void WritePlotChapter(ManualDocument& doc);
// Installing, hosts, automation, side-chain, zoom and the command-line tools.
void WriteUsingChapter(ManualDocument& doc);

}  // namespace quorvelManual
