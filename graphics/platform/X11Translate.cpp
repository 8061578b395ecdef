#include "graphics/platform/X11Translate.h"

#include <X11/keysym.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace plugkit::gfx {
namespace {

struct KeyPair {
  unsigned long keySym;
  std::int32_t virtualKey;
};

constexpr KeyPair kKeys[] = {
    {XK_BackSpace, 0x08},  {XK_Tab, 0x09},          {XK_ISO_Left_Tab, 0x09},
    {XK_Return, 0x0D},     {XK_KP_Enter, 0x0D},     {XK_Shift_L, 0x10},
    {XK_Shift_R, 0x10},    {XK_Control_L, 0x11},    {XK_Control_R, 0x11},
    {XK_Alt_L, 0x12},      {XK_Alt_R, 0x12},        {XK_Pause, 0x13},
    {XK_Caps_Lock, 0x14},  {XK_Escape, 0x1B},       {XK_space, 0x20},
    {XK_Prior, 0x21},      {XK_Next, 0x22},         {XK_End, 0x23},
    {XK_Home, 0x24},       {XK_Left, 0x25},         {XK_Up, 0x26},
    {XK_Right, 0x27},      {XK_Down, 0x28},         {XK_Insert, 0x2D},
    {XK_Delete, 0x2E},     {XK_Help, 0x2F},         {XK_KP_Multiply, 0x6A},
    {XK_KP_Add, 0x6B},     {XK_KP_Separator, 0x6C}, {XK_KP_Subtract, 0x6D},
    {XK_KP_Decimal, 0x6E}, {XK_KP_Divide, 0x6F},    {XK_KP_Home, 0x24},
    {XK_KP_Left, 0x25},    {XK_KP_Up, 0x26},        {XK_KP_Right, 0x27},
    {XK_KP_Down, 0x28},    {XK_KP_Prior, 0x21},     {XK_KP_Next, 0x22},
    {XK_KP_End, 0x23},     {XK_KP_Insert, 0x2D},    {XK_KP_Delete, 0x2E},
    {XK_Num_Lock, 0x90},   {XK_Scroll_Lock, 0x91},
};

}  // namespace

std::int32_t VirtualKeyFromKeySym(unsigned long keySym) {
  if (keySym >= XK_a && keySym <= XK_z) return static_cast<std::int32_t>(keySym - XK_a + 0x41);
  if (keySym >= XK_A && keySym <= XK_Z) return static_cast<std::int32_t>(keySym - XK_A + 0x41);
  if (keySym >= XK_0 && keySym <= XK_9) return static_cast<std::int32_t>(keySym - XK_0 + 0x30);
  if (keySym >= XK_KP_0 && keySym <= XK_KP_9) {
    return static_cast<std::int32_t>(keySym - XK_KP_0 + 0x60);
  }
  if (keySym >= XK_F1 && keySym <= XK_F24) return static_cast<std::int32_t>(keySym - XK_F1 + 0x70);
  for (const KeyPair& pair : kKeys) {
    if (pair.keySym == keySym) return pair.virtualKey;
  }
  return 0;
}

float ScreenScaleFromResources(const char* resources) {
  static constexpr char kEntry[] = "Xft.dpi:";
  for (const char* line = resources; line && *line;) {
    if (std::strncmp(line, kEntry, sizeof kEntry - 1) == 0) {
      char* end = nullptr;
      const double dpi = std::strtod(line + sizeof kEntry - 1, &end);
      if (end == line + sizeof kEntry - 1 || !std::isfinite(dpi) || dpi <= 0.0) return 1.0f;
      return static_cast<float>(std::max(1.0, std::round(dpi / 96.0)));
    }
    line = std::strchr(line, '\n');
    if (line) ++line;
  }
  return 1.0f;
}

bool DoubleClickDetector::IsDoubleClick(unsigned button, int x, int y, unsigned long timeMs) {
  const bool isDouble = button_ != 0 && button == button_ && timeMs - time_ <= kIntervalMs &&
                        std::abs(x - x_) <= kDistance && std::abs(y - y_) <= kDistance;
  button_ = isDouble ? 0 : button;
  x_ = x;
  y_ = y;
  time_ = timeMs;
  return isDouble;
}

}  // namespace plugkit::gfx
