#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "graphics/Bitmap.h"

namespace plugkit {
class GraphicsEditorDelegate;
}
namespace plugkit::gfx {
class Graphics;
}

namespace quorvel {

inline constexpr int kEditorWidth = 790;
inline constexpr int kEditorHeight = 350;
inline constexpr int kEditorFrameRate = 18;
inline constexpr float kMinEditorScale = 0.5f;
inline constexpr float kMaxEditorScale = 4.0f;
// The name of the display-scale preference.
inline constexpr const char* kPreferenceName = "Quorvel";

// Makes the platform's graphics context (headless today, a windowed one later).
using PlatformGraphicsFactory = std::function<std::unique_ptr<plugkit::gfx::Graphics>(
    plugkit::GraphicsEditorDelegate& delegate, int width, int height, int frameRate,
    float drawScale)>;

// The platform context of this build: the headless one.
std::unique_ptr<plugkit::gfx::Graphics> MakeHeadlessGraphics(
    plugkit::GraphicsEditorDelegate& delegate, int width, int height, int frameRate,
    float drawScale);

// The draw scale an editor opens at: the stored scale limited to 0.5 … 4.0, else 1.0.
float InitialDrawScale(std::optional<float> storedScale);

// [main-thread] The editor-creation function: a graphics context at the remembered display
// scale, holding this module as its module instance. Null when the platform makes none.
std::unique_ptr<plugkit::gfx::Graphics> CreateEditorGraphics(
    plugkit::GraphicsEditorDelegate& delegate,
    const PlatformGraphicsFactory& makePlatformGraphics = MakeHeadlessGraphics);

// [main-thread] The layout function: loads the font and the artwork and attaches every
// control of the editor in drawing order. `openManual` becomes the logo's action.
void LayoutEditor(plugkit::gfx::Graphics& graphics, std::function<void()> openManual);

// [main-thread] On editor close: remembers the editor's zoom for the next opening. Returns
// whether it was stored.
bool StoreEditorScale(const plugkit::gfx::Graphics* graphics);

// Loads one film strip; when it cannot be loaded, an image-less strip of the artwork's size,
// so that the controls keep their places and simply draw nothing.
plugkit::gfx::Bitmap LoadEditorBitmap(plugkit::gfx::Graphics& graphics, const char* name);

}  // namespace quorvel
