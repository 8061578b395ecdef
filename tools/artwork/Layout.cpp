#include "tools/artwork/Layout.h"

#include <array>

namespace artwork {

namespace {

constexpr const char* kRed = "glow_r.png";
constexpr const char* kYellow = "glow_y.png";
constexpr const char* kGreen = "glow_g.png";
constexpr const char* kCap = "knob-cap-stack.png";
constexpr const char* kTiny = "tiny-knob-stack.png";
constexpr const char* kBig = "big-knob-stack.png";
constexpr const char* kLeverL = "mod-switch-L.png";
constexpr const char* kLeverR = "mod-switch-R.png";
constexpr const char* kSlider = "env-slider.png";

// In the editor's attach order, which is also the drawing order.
constexpr Placement kPlacements[] = {
    {kRed, 137, 25, Mark::Lamp},
    {kRed, 93, 168, Mark::Lamp},
    {kRed, 215, 271, Mark::Lamp},
    {kRed, 164, 240, Mark::Lamp},
    {kRed, 506, 228, Mark::Lamp},
    {kRed, 705, 243, Mark::Lamp},
    {kRed, 583, 100, Mark::Lamp},
    {kRed, 659, 138, Mark::Lamp},
    {kRed, 734, 100, Mark::Lamp},
    {kRed, 605, 269, Mark::Lamp, "LIMIT", 620, 298},
    {kRed, 383, 189, Mark::Lamp, "CLOSED", 415, 204.5},
    {kYellow, 376, 206, Mark::Lamp, "HOLD", 406, 221.5},
    {kGreen, 373, 222, Mark::Lamp, "OPEN", 403, 237.5},
    {kGreen, 59, -3, Mark::Lamp},
    {kGreen, -3, 167, Mark::Lamp},
    {kGreen, 101, 325, Mark::Lamp},
    {kGreen, 550, -3, Mark::Lamp},
    {"VU-stack-outer.png", kOuterMeterX, kOuterMeterY, Mark::None},
    {"VU-stack-inner.png", kInnerMeterX, kInnerMeterY, Mark::None},
    {"motor-button-stack.png", 358, 160, Mark::Window},
    {"trim-stack.png", 376, 86, Mark::None},
    {"sidechain-toggle.png", 290, 199, Mark::Toggle, "SIDECHAIN", 301.5, 193},
    {"sync-toggle.png", 536, 74, Mark::Toggle, "SYNC", 542.5, 68},
    {"sync-toggle.png", 473, 171, Mark::Toggle, "SYNC", 479.5, 165},
    {"lfo-stack.png", 498, 88, Mark::Window, "SHAPE", 510.5, 112},
    {"lfo-stack.png", 494, 185, Mark::Window, "SHAPE", 506.5, 209},
    {"toggle-h.png", 83, 5, Mark::Toggle, "ON", 117, 10},
    {"toggle-v.png", 1, 190, Mark::Toggle, "ON", 8.5, 219},
    {"toggle-h.png", 125, 333, Mark::Toggle, "ON", 159, 338},
    {"toggle-h.png", 573, 5, Mark::Toggle, "ON", 586.5, 21.5},
    {"filter-shape-sw.png", 181, 6, Mark::Slide, "SHAPE", 163, 12.5, "LP", "BP", "NARROW"},
    {"phaser-stereo-sw.png", 689, 6, Mark::Slide, "STEREO", 703.5, 26, "M", nullptr, "S"},
    {"chorus-stereo-sw.png", 248, 333, Mark::Slide, "STEREO", 262.5, 327, "M", nullptr, "S"},
    {kLeverL, 98, 86, Mark::Lever},
    {kLeverL, 43, 202, Mark::Lever},
    {kLeverL, 117, 285, Mark::Lever},
    {kLeverL, 252, 285, Mark::Lever},
    {kLeverR, 541, 283, Mark::Lever},
    {kLeverR, 677, 306, Mark::Lever},
    {kLeverR, 577, 172, Mark::Lever},
    {kLeverR, 653, 212, Mark::Lever},
    {kLeverR, 728, 172, Mark::Lever},
    {kCap, 104, 64, Mark::BipolarDial, "MOD", 94, 70},
    {kCap, 50, 182, Mark::BipolarDial, "MOD", 40, 188},
    {kCap, 260, 264, Mark::BipolarDial, "MOD", 298, 270},
    {kCap, 126, 264, Mark::BipolarDial, "MOD", 116, 270},
    {kCap, 553, 263, Mark::BipolarDial, "MOD", 591, 269},
    {kCap, 691, 284, Mark::BipolarDial, "MOD", 681, 290},
    {kCap, 590, 148, Mark::BipolarDial, "MOD", 580, 154},
    {kCap, 666, 189, Mark::BipolarDial, "MOD", 656, 195},
    {kCap, 743, 148, Mark::BipolarDial, "MOD", 733, 154},
    {kBig, 174, 64, Mark::Dial, "CUTOFF", 189.5, 51, "10", "1k", "18k"},
    {kBig, 140, 155, Mark::Dial, "DRIVE", 155.5, 142, "0", nullptr, "10"},
    {kTiny, 187, 289, Mark::Dial, "WET", 195, 281, "0", nullptr, "10"},
    {kBig, 209, 216, Mark::Dial, "DELAY", 224.5, 205, "0", nullptr, "10"},
    {kTiny, 495, 282, Mark::Dial, "LEVEL", 503, 274, "0", nullptr, "+6"},
    {kTiny, 754, 251, Mark::Dial, "WET", 762, 243, "0", nullptr, "10"},
    {kTiny, 593, 70, Mark::Dial, "FREQ 1", 601, 62, "10", nullptr, "18k"},
    {kTiny, 668, 109, Mark::Dial, "FREQ 2", 676, 101, "10", nullptr, "18k"},
    {kTiny, 745, 70, Mark::Dial, "FREQ 3", 753, 62, "10", nullptr, "18k"},
    {kCap, 16, 92, Mark::Dial, "HIGH PASS", 28, 84, "10", nullptr, "18k"},
    {kCap, 49, 48, Mark::Dial, "RESONANCE", 61, 40, "0", nullptr, "10"},
    {"toggle-v.png", 204, 140, Mark::Toggle, "FEEDBACK", 211.5, 170},
    {kTiny, 68, 282, Mark::Dial, "SPREAD", 76, 274, "0", nullptr, "10"},
    {kCap, 664, 45, Mark::Dial, "FEEDBACK", 676, 37, "0", nullptr, "10"},
    {kCap, 255, 81, Mark::Dial, "SPEED", 267, 73, "0", nullptr, "10"},
    {kTiny, 269, 136, Mark::Dial, "FLOOR", 277, 128,
     "\xe2\x88\x92"
     "24",
     nullptr, "0"},
    {kTiny, 275, 30, Mark::Dial, "CEILING", 283, 53,
     "\xe2\x88\x92"
     "24",
     nullptr, "0"},
    {kCap, 501, 35, Mark::Dial, "RATE", 489, 46.5},
    {kCap, 501, 134, Mark::Dial, "RATE", 489, 145.5},
    {kCap, 415, 223, Mark::Dial, "THRESH", 427, 254,
     "\xe2\x88\x92"
     "24",
     nullptr, "0"},
    {kTiny, 354, 201, Mark::Dial, "HYST", 342, 208.5},
    {kTiny, 336, 238, Mark::Dial, "HOLD", 325, 245.5},
    {kSlider, 352, 273, Mark::Fader, "A", 360, 341},
    {kSlider, 378, 273, Mark::Fader, "D", 386, 341},
    {kSlider, 403, 273, Mark::Fader, "S", 411, 341},
    {kSlider, 428, 273, Mark::Fader, "R", 436, 341},
};

constexpr std::array<Point, 4> kFilter = {{{3, 3}, {240, 3}, {240, 128}, {3, 128}}};
constexpr std::array<Point, 6> kDrive = {
    {{3, 132}, {240, 132}, {240, 196}, {196, 196}, {196, 246}, {3, 246}}};
constexpr std::array<Point, 8> kChorus = {
    {{3, 250}, {200, 250}, {200, 200}, {244, 200}, {244, 250}, {318, 250}, {318, 347}, {3, 347}}};
constexpr std::array<Point, 8> kModulation = {
    {{248, 3}, {560, 3}, {560, 210}, {472, 210}, {472, 347}, {322, 347}, {322, 246}, {248, 246}}};
constexpr std::array<Point, 4> kOutput = {{{476, 214}, {640, 214}, {640, 347}, {476, 347}}};
constexpr std::array<Point, 6> kPhaser = {
    {{564, 3}, {787, 3}, {787, 347}, {644, 347}, {644, 210}, {564, 210}}};

constexpr std::array kSections = {
    Section{"FILTER", false, 8, 14, kFilter},    Section{"DRIVE", false, 24, 150, kDrive},
    Section{"CHORUS", false, 8, 343, kChorus},   Section{"", true, 0, 0, kModulation},
    Section{"OUTPUT", false, 481, 225, kOutput}, Section{"PHASER", false, 605, 14, kPhaser},
};

}  // namespace

std::span<const Placement> Placements() { return kPlacements; }

std::span<const Section> Sections() { return kSections; }

}  // namespace artwork
