#pragma once

// Plain value types shared by the whole graphics framework: colours, blends, text styles,
// pointer and key events, stroke and fill options and the small enumerations around them.
// All coordinates are editor units.

#include <array>
#include <cstdint>
#include <cstring>
#include <string>

namespace plugkit::gfx {

struct Color {
  int A = 255;
  int R = 0;
  int G = 0;
  int B = 0;

  constexpr Color() = default;
  constexpr Color(int a, int r, int g, int b) : A(a), R(r), G(g), B(b) {}

  friend constexpr bool operator==(const Color&, const Color&) = default;
};

inline constexpr Color kColorBlack{255, 0, 0, 0};
inline constexpr Color kColorWhite{255, 255, 255, 255};
inline constexpr Color kColorTransparent{0, 0, 0, 0};

// Porter-Duff operators; the numeric values are part of the interface.
enum class BlendMethod : std::int32_t {
  SrcOver = 0,
  SrcIn = 1,
  SrcOut = 2,
  SrcAtop = 3,
  DstOver = 4,
  DstIn = 5,
  DstOut = 6,
  DstAtop = 7,
  Add = 8,
  XOR = 9,
};

struct Blend {
  BlendMethod method = BlendMethod::SrcOver;
  float weight = 1.0f;  // opacity 0..1

  friend constexpr bool operator==(const Blend&, const Blend&) = default;
};

enum class TextAlign : std::int32_t { Near = 0, Center = 1, Far = 2 };
enum class TextVAlign : std::int32_t { Top = 0, Middle = 1, Bottom = 2 };

struct TextStyle {
  static constexpr std::size_t kFontIdCapacity = 64;

  std::array<char, kFontIdCapacity> fontId{};
  float size = 14.0f;
  Color foreground = kColorBlack;
  Color entryBackground = kColorWhite;
  Color entryForeground = kColorBlack;
  float angle = 0.0f;  // degrees
  TextAlign align = TextAlign::Center;
  TextVAlign valign = TextVAlign::Middle;

  TextStyle() { SetFontId("Roboto-Regular"); }

  // Longer ids are cut to fit; the id always stays NUL-terminated.
  void SetFontId(const char* id) {
    fontId.fill('\0');
    if (id) std::strncpy(fontId.data(), id, kFontIdCapacity - 1);
  }
  const char* FontId() const { return fontId.data(); }
};

struct MouseState {
  bool L = false;             // left button
  bool R = false;             // right button
  bool S = false;             // Shift
  bool C = false;             // Control
  bool A = false;             // Alt
  std::uint64_t touchId = 0;  // 0 for the mouse
  float touchRadius = 0.0f;
};

struct PointerEvent {
  float x = 0.0f;
  float y = 0.0f;
  float dX = 0.0f;  // movement since the previous sample
  float dY = 0.0f;
  MouseState state;
};

struct KeyEvent {
  std::int32_t virtualKey = 0;  // Windows virtual-key code, whatever the platform
  std::array<char, 5> text{};   // UTF-8 of the produced character, NUL-terminated
  bool S = false;
  bool C = false;
  bool A = false;

  void SetText(const char* utf8) {
    text.fill('\0');
    if (utf8) std::strncpy(text.data(), utf8, text.size() - 1);
  }
  const char* Text() const { return text.data(); }
};

enum class CursorShape : std::int32_t {
  Arrow = 0,
  IBeam = 1,
  Wait = 2,
  Cross = 3,
  UpArrow = 4,
  SizeNWSE = 5,
  SizeNESW = 6,
  SizeWE = 7,
  SizeNS = 8,
  SizeAll = 9,
  No = 10,
  Hand = 11,
  AppStarting = 12,
  Help = 13,
};

// Scale: resizing changes the draw scale. Size: resizing changes the unit size at scale 1.
enum class ResizeMode : std::int32_t { Scale = 0, Size = 1 };

enum class Winding : std::int32_t { Clockwise = 0, CounterClockwise = 1 };

enum class LineJoin : std::int32_t { Miter = 0, Round = 1, Bevel = 2 };
enum class LineCap : std::int32_t { Butt = 0, Round = 1, Square = 2 };
enum class FillRule : std::int32_t { Winding = 0, EvenOdd = 1 };

struct DashPattern {
  static constexpr int kCapacity = 8;

  std::array<float, kCapacity> values{};
  int count = 0;
  float offset = 0.0f;

  // Lengths beyond the capacity are dropped.
  void Set(const float* lengths, int n, float phase = 0.0f) {
    count = 0;
    for (int i = 0; i < n && count < kCapacity; ++i) values[count++] = lengths[i];
    offset = phase;
  }
};

struct StrokeOptions {
  LineJoin join = LineJoin::Miter;
  LineCap cap = LineCap::Butt;
  float miterLimit = 10.0f;
  bool preserve = false;  // keep the path after stroking
  DashPattern dash;
};

struct FillOptions {
  FillRule rule = FillRule::Winding;
  bool preserve = false;  // keep the path after filling
};

// Shadow of a layer; never drawn by this editor, kept for the layer interface.
struct Shadow {
  Color color = kColorBlack;
  float blurSize = 0.0f;
  float offsetX = 0.0f;
  float offsetY = 0.0f;
  float opacity = 1.0f;
  bool drawForeground = true;
};

enum class GestureType : std::int32_t {
  Unknown = 0,
  DoubleTap,
  TripleTap,
  LongPress1,
  LongPress2,
  SwipeLeft,
  SwipeRight,
  SwipeUp,
  SwipeDown,
  Pinch,
  Rotate
};

struct GestureInfo {
  float x = 0.0f;
  float y = 0.0f;
  float scale = 1.0f;
  float velocity = 0.0f;
  float angle = 0.0f;
  GestureType type = GestureType::Unknown;
};

enum class MessageBoxType : std::int32_t { Ok = 0, OkCancel, YesNo, YesNoCancel, RetryCancel };
enum class MessageBoxResult : std::int32_t { Cancel = 0, Ok, Yes, No, Retry };

enum class FileAction : std::int32_t { Open = 0, Save = 1 };

// A parsed vector image (never drawn by this editor); the document belongs to its cache.
struct VectorImage {
  const void* document = nullptr;
  float width = 0.0f;
  float height = 0.0f;

  bool IsValid() const { return document != nullptr; }
};

// Style bits of a font file (bit 0 bold, bit 1 italic, bit 2 underline).
enum class FontStyle : std::int32_t { Normal = 0, Bold = 1, Italic = 2 };

}  // namespace plugkit::gfx
