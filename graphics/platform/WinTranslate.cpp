#include "graphics/platform/WinTranslate.h"

#include <algorithm>
#include <cmath>

namespace plugkit::gfx {
namespace {

constexpr std::uint64_t kPenSignatureMask = 0xFFFFFF00u;
constexpr std::uint64_t kPenSignature = 0xFF515700u;
constexpr int kWheelDelta = 120;

// IDC_ARROW … IDC_HELP in CursorShape order.
constexpr int kCursorIds[] = {32512, 32513, 32514, 32515, 32516, 32642, 32643,
                              32644, 32645, 32646, 32648, 32649, 32650, 32651};

}  // namespace

float ScreenScaleFromDpi(unsigned dpi) {
  if (dpi == 96 || dpi == 0) return 1.0f;
  // std::round rounds halves away from zero.
  return static_cast<float>(std::max(1.0, std::round(dpi / 96.0)));
}

int WheelNotches(std::uint64_t wParam) {
  const auto delta = static_cast<std::int16_t>(static_cast<std::uint16_t>(wParam >> 16));
  return delta / kWheelDelta;
}

bool IsPenOrTouchMessage(std::uint64_t extraInfo) {
  return (extraInfo & kPenSignatureMask) == kPenSignature;
}

std::string KeyTextFromUtf16(const char16_t* units, int count) {
  if (!units || count != 1) return {};
  const char32_t c = units[0];
  if (c >= 0xD800 && c <= 0xDFFF) return {};  // half a surrogate pair
  std::string text;
  if (c < 0x80) {
    text += static_cast<char>(c);
  } else if (c < 0x800) {
    text += static_cast<char>(0xC0 | (c >> 6));
    text += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    text += static_cast<char>(0xE0 | (c >> 12));
    text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    text += static_cast<char>(0x80 | (c & 0x3F));
  }
  return text;
}

Rect UnitsFromPixels(long left, long top, long right, long bottom, float scale) {
  if (!(scale > 0.0f)) return Rect();
  const double s = scale;
  return Rect(static_cast<float>(std::floor(left / s)), static_cast<float>(std::floor(top / s)),
              static_cast<float>(std::ceil(right / s)), static_cast<float>(std::ceil(bottom / s)));
}

int SystemCursorId(CursorShape shape) {
  const auto index = static_cast<std::size_t>(shape);
  return index < std::size(kCursorIds) ? kCursorIds[index] : kCursorIds[0];
}

bool FramePacer::ShouldDraw(std::uint32_t postedCount, std::uint32_t currentCount) {
  if (skipUntil_ != 0) {
    if (currentCount < skipUntil_) return false;
    skipUntil_ = 0;
  }
  return postedCount == currentCount;
}

void FramePacer::AfterPaint(std::uint32_t postedCount, std::uint32_t currentCount) {
  if (currentCount != postedCount) skipUntil_ = currentCount + 1;
}

}  // namespace plugkit::gfx
