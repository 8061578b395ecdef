#pragma once

// Quorvel's own extension: the editor's pixels without a window, for tools that show or
// compare what a host would show.

#include "host/clap/Plugin.h"

CLAP_EXTERN_C_BEGIN

static const CLAP_CONSTEXPR char QUORVEL_EXT_EDITOR_SNAPSHOT[] =
    "com.brackmooraudio.quorvel.editor-snapshot/1";

typedef struct quorvel_plugin_editor_snapshot {
  // [main-thread] Draws the whole editor with the current parameter values and the latest
  // indicator values and copies the frame into pixels: B, G, R, A bytes, premultiplied alpha,
  // rows of width × 4 bytes, top row first. A closed editor is opened without a window at
  // draw scale `scale` and closed again, leaving no trace; an open editor is drawn at its own
  // scale. A scale outside 0.5 … 4, or NaN, is refused. width and height receive the frame's
  // size in pixels, also when pixels is null (a size query) or capacity (in bytes) is too
  // small. Returns false when nothing was copied, except for a size query, which returns true
  // once the size is known.
  bool(CLAP_ABI* draw)(const clap_plugin_t* plugin, double scale, void* pixels, uint64_t capacity,
                       uint32_t* width, uint32_t* height);
} quorvel_plugin_editor_snapshot_t;

CLAP_EXTERN_C_END
