#pragma once

#include "tools/quorvel-manual/ManualDocument.h"
#include "tools/quorvel-manual/ProductFacts.h"

namespace quorvelManual {

// The factory presets by category, one line each. Throws when the module has a preset this
// manual does not describe, so a new preset cannot ship undocumented.
void WritePresetChapter(ManualDocument& doc, const ProductFacts& facts);

// Every parameter as hosts list it: name, range, default, unit and text form.
void WriteParameterChapter(ManualDocument& doc, const ProductFacts& facts);

}  // namespace quorvelManual
