#pragma once

#include <cairo.h>

#include "tools/quorvel-manual/ManualDocument.h"
#include "tools/quorvel-manual/ProductFacts.h"

namespace quorvelManual {

// The editor chapter: the whole panel, then each section cropped from the same picture
// (drawn at twice the editor's size) with its controls explained.
void WriteEditorChapter(ManualDocument& doc, const ProductFacts& facts, cairo_surface_t* editor);

}  // namespace quorvelManual
