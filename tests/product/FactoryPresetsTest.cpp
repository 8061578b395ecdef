#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "effect/FactoryPresets.h"
#include "effect/QuorvelParameters.h"
#include "tests/product/InProcessFactory.h"
#include "tools/clap-host/Host.h"
#include "tools/clap-host/PluginInstance.h"

namespace quorvel {
namespace {

struct GoldenPreset {
  const char* name;
  const char* pairs;  // "index: value; ..." with plain values
};

// Slots 1 to 26 as the product documents them.
const GoldenPreset kGolden[] = {
    {"Full Bypass", "18: 0; 25: 0; 30: 0; 45: 0"},
    {"[DRUM]  Decorate the Peaks",
     "2: 0.22; 4: 1; 6: 1; 11: -8.7; 12: 3; 13: 0; 14: 0; 15: 0; 16: 1; 17: 0; 18: 0; "
     "25: 1; 26: 1; 27: 0.7; 28: 0.45; 29: 0; 30: 1; 34: 0; 35: 0.91; 36: 980; 37: 0; "
     "38: 0.87; 39: 1070; 40: 0; 41: 0.66; 42: 3940; 43: 0.67; 44: 1; 45: 0"},
    {"[DRUM]  Dirt Mover",
     "0: 0; 1: 4.12; 2: 0.05; 3: 0.02; 4: 0; 5: 0; 6: 0; 7: 4; 8: 0.25; 9: -18; 10: -3; "
     "11: -16.17; 12: 3; 13: 0; 14: 0.2; 15: 0.01; 16: 0.58; 17: 0; 18: 1; 19: 0; 20: 1; "
     "21: 1; 22: 7929.93; 23: 0.06; 24: 195.92; 25: 1; 26: 3; 27: 0; 28: 0.67; 29: 1; "
     "30: 0; 31: 2; 32: 0; 33: 1; 34: 4; 35: 1; 36: 3400; 37: 4; 38: 1; 39: 110; 40: 4; "
     "41: 1; 42: 12000; 43: 0.7; 44: 1; 45: 1; 46: 4; 47: 0.56; 48: 0.7; 49: 0; 50: 0.49; "
     "51: 0.01; 52: 0.59; 53: 1; 54: 2; 55: 0; 56: 1; 57: 0; 58: 1"},
    {"[DRUM]  Loop Mangler",
     "0: 0; 1: 0; 2: 0; 3: 1; 4: 1; 5: 1; 6: 3; 7: 2; 8: 0.65; 9: -24; 10: -3; 11: -16.52; "
     "12: 3; 13: 22.22; 14: 0; 15: 0.18; 16: 1; 17: 0.34; 18: 0; 19: 0; 20: 0; 21: -0.47; "
     "22: 3190.21; 23: 0.74; 24: 10; 25: 1; 26: 3; 27: 0.71; 28: 0.45; 29: 0; 30: 1; 31: 1; "
     "32: -1; 33: 1; 34: 4; 35: -0; 36: 10; 37: 4; 38: 0; 39: 10; 40: 4; 41: -0; 42: 10; "
     "43: 0.96; 44: 1; 45: 1; 46: 2; 47: 0; 48: 1; 49: 1; 50: -0.27; 51: 0.04; 52: 1; "
     "53: 1; 54: 3; 55: -0.76; 56: 1.67; 57: 0; 58: 1"},
    {"[DRUM]  Heavy Comp",
     "8: 0.89; 9: -24; 10: 0; 18: 0; 25: 1; 26: 3; 27: 0.7; 28: 0.45; 29: 0; 30: 0; 45: 0"},
    {"[DRUM]  Put Him in the Tank",
     "8: 0.71; 9: -24; 10: 0; 18: 0; 25: 0; 30: 0; 45: 1; 46: 2; 47: 0; 48: 0.57; 49: 3; "
     "50: 0.54; 51: 0; 52: 1; 53: 1"},
    {"[EPIANO]  Duck and Cover",
     "0: 0; 1: 0; 2: 1; 3: 0.2; 4: 1; 5: 0; 6: 0; 7: 0; 8: 0.99; 9: -18; 10: -4.87; "
     "11: -22.41; 12: 3; 13: 0; 14: 0; 15: 0; 16: 0.75; 17: 0.02; 18: 1; 19: 1; 20: 3; "
     "21: 0.62; 22: 1276.4; 23: 0.58; 24: 10; 25: 1; 26: 3; 27: 1; 28: 0.57; 29: 1; 30: 1; "
     "31: 1; 32: -0.68; 33: 0.49; 34: 0; 35: 0.62; 36: 4393.8; 37: 0; 38: 1; 39: 477.51; "
     "40: 0; 41: 1; 42: 7537.47; 43: 0.41; 44: 1; 45: 1; 46: 1; 47: -0.73; 48: 0.49; 49: 3; "
     "50: 0.41; 51: 0.9; 52: 1; 53: 1; 54: 2; 55: 0; 56: 1; 57: 0; 58: 1"},
    {"[EPIANO]  Intense Tremolo",
     "0: 0; 1: 6.24; 2: 0.9; 3: 0.2; 4: 0; 5: 0; 6: 0; 7: 0; 8: 0.77; 9: -18; 10: -8.28; "
     "11: -24; 12: 3; 13: 0; 14: 0; 15: 0.36; 16: 0.75; 17: 0.02; 18: 0; 19: 1; 20: 3; "
     "21: 0.6; 22: 2258.27; 23: 0.07; 24: 113.43; 25: 1; 26: 3; 27: -1; 28: 0.39; 29: 1; "
     "30: 0; 31: 1; 32: -0.68; 33: 0.49; 34: 0; 35: 0.62; 36: 4393.8; 37: 0; 38: 0.28; "
     "39: 477.51; 40: 0; 41: 1; 42: 7537.47; 43: 0.77; 44: 1; 45: 1; 46: 3; 47: -0.7; "
     "48: 0.6; 49: 0; 50: -0.01; 51: 0.07; 52: 1; 53: 1; 54: 0; 55: 0.25; 56: 0.44; 57: 0; "
     "58: 1"},
    {"[EPIANO]  Vintage Combo",
     "0: 0; 1: 0; 2: 1; 3: 0.07; 4: 1; 5: 0; 6: 0; 7: 0; 8: 0.57; 9: -18; 10: -5.61; "
     "11: -24; 12: 3; 13: 0; 14: 0; 15: 0.36; 16: 0.75; 17: 0.02; 18: 1; 19: 1; 20: 2; "
     "21: 0.6; 22: 4699.77; 23: 0; 24: 10; 25: 1; 26: 3; 27: -0.54; 28: 0.65; 29: 0; 30: 1; "
     "31: 3; 32: -0.68; 33: 0.49; 34: 4; 35: 0.62; 36: 4393.8; 37: 4; 38: 0.28; 39: 477.51; "
     "40: 4; 41: 1; 42: 7537.47; 43: 0.17; 44: 1; 45: 1; 46: 3; 47: -0.7; 48: 0.79; 49: 4; "
     "50: -0.11; 51: 0.04; 52: 1; 53: 1; 54: 0; 55: 0.15; 56: 0.5; 57: 0; 58: 1"},
    {"[FX]  3AM and I Hate This band",
     "2: 1; 3: 0.08; 4: 1; 5: 1; 6: 1; 7: 1; 18: 0; 25: 1; 26: 2; 27: 0; 28: 1; 29: 1; "
     "30: 1; 34: 4; 35: 1; 36: 2530; 37: 4; 38: 1; 39: 430; 40: 4; 41: 1; 42: 380; "
     "43: 0.66; 44: 1; 45: 1; 46: 2; 47: 0; 48: 0.2; 49: 0; 50: 1; 51: 0.02; 52: 1; 53: 1"},
    {"[FX]  Planet of the Trance Sweeps",
     "2: 0; 4: 1; 6: 3; 18: 1; 19: 0; 20: 0; 21: -0.7; 22: 4200; 23: 0.58; 25: 0; 30: 0; "
     "45: 0"},
    {"[FX]  Short Wave",
     "0: 0; 1: 0; 2: 0; 3: 0; 4: 0; 5: 0; 6: 2; 7: 1; 8: 0.25; 9: -18; 10: -3; 11: -12; "
     "12: 3; 13: 0; 14: 0.07; 15: 0.17; 16: 0.75; 17: 0.08; 18: 1; 19: 0; 20: 2; 21: 0; "
     "22: 4111.71; 23: 0; 24: 320.02; 25: 1; 26: 0; 27: -0.82; 28: 0.14; 29: 0; 30: 1; "
     "31: 2; 32: 0; 33: 1; 34: 0; 35: 1; 36: 3400; 37: 4; 38: 1; 39: 110; 40: 4; 41: 1; "
     "42: 5386.37; 43: 0.64; 44: 0; 45: 1; 46: 0; 47: -1; 48: 1; 49: 2; 50: 0; 51: 0.01; "
     "52: 0.98; 53: 0; 54: 4; 55: -0.36; 56: 0.59; 57: 0; 58: 1"},
    {"[FX]  Toyland Chase",
     "0: 0; 1: 0; 2: 0.75; 3: 0.05; 4: 0; 5: 1; 6: 4; 7: 1; 8: 1; 9: -24; 10: 0; 11: 0; "
     "12: 3; 13: 0; 14: 0; 15: 0; 16: 1; 17: 0; 18: 0; 19: 0; 20: 2; 21: 0; 22: 18000; "
     "23: 0; 24: 10.01; 25: 1; 26: 2; 27: 0; 28: 0.52; 29: 0; 30: 1; 31: 0; 32: -1; 33: 1; "
     "34: 4; 35: 0.33; 36: 981.23; 37: 4; 38: 0.43; 39: 5262.08; 40: 4; 41: 0.39; "
     "42: 1706.66; 43: 0.8; 44: 1; 45: 1; 46: 0; 47: 1; 48: 0; 49: 0; 50: 0.62; 51: 0.27; "
     "52: 0.81; 53: 1; 54: 2; 55: 0; 56: 0.4; 57: 0; 58: 1"},
    {"[GUITAR]  Chord Smoothener",
     "0: 0; 1: 0; 2: 0.03; 3: 0.2; 4: 0; 5: 0; 6: 1; 7: 1; 8: 0.45; 9: -18; 10: -3; "
     "11: -15.83; 12: 3; 13: 72.22; 14: 0; 15: 0.16; 16: 0.33; 17: 0; 18: 0; 19: 0; 20: 2; "
     "21: 0; 22: 18000; 23: 0; 24: 10; 25: 1; 26: 3; 27: -1; 28: 0.27; 29: 1; 30: 0; 31: 2; "
     "32: 0; 33: 1; 34: 4; 35: 1; 36: 3400; 37: 4; 38: 1; 39: 110; 40: 4; 41: 1; 42: 12000; "
     "43: 0.7; 44: 1; 45: 1; 46: 1; 47: -1; 48: 1; 49: 0; 50: -0.03; 51: 0.21; 52: 1; "
     "53: 1; 54: 2; 55: 0; 56: 1; 57: 0; 58: 1"},
    {"[GUITAR]  Chord Sweetener",
     "0: 0; 1: 0; 2: 0.03; 3: 0.2; 4: 0; 5: 0; 6: 1; 7: 1; 8: 1; 9: -18; 10: -3; 11: -15.3; "
     "12: 3.2; 13: 0; 14: 0; 15: 0.13; 16: 0.33; 17: 0.14; 18: 0; 19: 0; 20: 2; 21: 0; "
     "22: 18000; 23: 0; 24: 10; 25: 1; 26: 3; 27: 0.52; 28: 0; 29: 0; 30: 0; 31: 2; 32: 0; "
     "33: 1; 34: 4; 35: 1; 36: 3400; 37: 4; 38: 1; 39: 110; 40: 4; 41: 1; 42: 12000; "
     "43: 0.7; 44: 1; 45: 1; 46: 1; 47: -1; 48: 1; 49: 0; 50: 0.34; 51: 0.25; 52: 1; 53: 1; "
     "54: 2; 55: 0; 56: 0.58; 57: 0; 58: 1"},
    {"[GUITAR]  Chord Vogonizer",
     "0: 0; 1: 0; 2: 0.03; 3: 1; 4: 0; 5: 1; 6: 1; 7: 3; 8: 1; 9: -18; 10: -3; 11: -15.3; "
     "12: 3.2; 13: 0; 14: 0; 15: 0.13; 16: 0.33; 17: 0.14; 18: 0; 19: 0; 20: 2; 21: 0; "
     "22: 18000; 23: 0; 24: 10; 25: 1; 26: 3; 27: 0.52; 28: 0; 29: 0; 30: 1; 31: 1; 32: -1; "
     "33: 1; 34: 1; 35: 1; 36: 3400; 37: 1; 38: 1; 39: 110; 40: 4; 41: 1; 42: 12000; "
     "43: 0.94; 44: 1; 45: 1; 46: 1; 47: -1; 48: 1; 49: 0; 50: 0.34; 51: 0.25; 52: 1; "
     "53: 1; 54: 2; 55: 0; 56: 1; 57: 0; 58: 1"},
    {"[GUITAR]  Sergeant Love",
     "0: 0; 1: 0; 2: 0.13; 3: 0.16; 4: 0; 5: 0; 6: 0; 7: 1; 8: 1; 9: -20; 10: -4; 11: -12; "
     "12: 3; 13: 0; 14: 0.07; 15: 0.17; 16: 0.75; 17: 0.08; 18: 0; 19: 0; 20: 0; 21: 0.71; "
     "22: 5833.95; 23: 0.7; 24: 10; 25: 1; 26: 0; 27: 0.28; 28: 0.63; 29: 1; 30: 1; 31: 2; "
     "32: 0; 33: 1; 34: 4; 35: 0.19; 36: 3400; 37: 4; 38: 0.22; 39: 110; 40: 4; 41: 0.19; "
     "42: 12000; 43: 0.93; 44: 1; 45: 0; 46: 2; 47: 0; 48: 0.3; 49: 2; 50: 0; 51: 0.3; "
     "52: 1; 53: 1; 54: 2; 55: 0; 56: 0.38; 57: 0; 58: 1"},
    {"[GUITAR]  Sergeant Hate",
     "0: 0; 1: 0; 2: 0.13; 3: 0.2; 4: 0; 5: 0; 6: 0; 7: 1; 8: 1; 9: -20; 10: -4; 11: -12; "
     "12: 3; 13: 0; 14: 0.07; 15: 0.17; 16: 0.75; 17: 0.08; 18: 1; 19: 1; 20: 2; 21: 0.24; "
     "22: 678.8; 23: 0.7; 24: 10; 25: 1; 26: 0; 27: 0.28; 28: 0.68; 29: 1; 30: 0; 31: 2; "
     "32: 0; 33: 1; 34: 4; 35: 1; 36: 3400; 37: 4; 38: 1; 39: 110; 40: 4; 41: 1; 42: 12000; "
     "43: 0.7; 44: 1; 45: 1; 46: 2; 47: 0; 48: 0.3; 49: 2; 50: 0; 51: 0; 52: 1; 53: 1; "
     "54: 2; 55: 0; 56: 0.38; 57: 0; 58: 1"},
    {"[GUITAR]  Spiced Tremolo",
     "0: 0; 1: 0; 2: 0.64; 3: 0.59; 4: 0; 5: 0; 6: 1; 7: 3; 8: 0.83; 9: -22.53; 10: -13.33; "
     "11: -23.13; 12: 3.2; 13: 0; 14: 0; 15: 0.22; 16: 0; 17: 0.07; 18: 0; 19: 0; 20: 2; "
     "21: 0; 22: 18000; 23: 0; 24: 10; 25: 1; 26: 3; 27: -0.6; 28: 0.6; 29: 1; 30: 1; "
     "31: 3; 32: -0.74; 33: 1; 34: 4; 35: -0.23; 36: 3400; 37: 4; 38: 0.31; 39: 1740.55; "
     "40: 4; 41: -0.24; 42: 12000; 43: 0.28; 44: 1; 45: 0; 46: 1; 47: -1; 48: 1; 49: 1; "
     "50: -0.18; 51: 0.25; 52: 1; 53: 1; 54: 0; 55: -0.34; 56: 1; 57: 0; 58: 1"},
    {"[GUITAR]  Swirly Tail 3000",
     "0: 0; 1: 0; 2: 0.64; 3: 0.01; 4: 0; 5: 1; 6: 2; 7: 2; 8: 1; 9: -22.53; 10: -13.33; "
     "11: -23.13; 12: 3.2; 13: 0; 14: 0; 15: 0.22; 16: 0; 17: 0.07; 18: 1; 19: 0; 20: 2; "
     "21: 0; 22: 18000; 23: 0; 24: 124.76; 25: 1; 26: 3; 27: -0.69; 28: 0.27; 29: 0; 30: 1; "
     "31: 1; 32: -0.74; 33: 1; 34: 1; 35: 0.48; 36: 3400; 37: 4; 38: 0.93; 39: 110; 40: 1; "
     "41: -0.66; 42: 12000; 43: 0.74; 44: 1; 45: 1; 46: 1; 47: -1; 48: 1; 49: 1; 50: -0.18; "
     "51: 0.25; 52: 1; 53: 1; 54: 2; 55: 0; 56: 1; 57: 0; 58: 1"},
    {"[GUITAR]  Touch-Wah",
     "8: 1; 9: -20; 10: -4; 18: 1; 19: 1; 20: 3; 21: 0.3; 22: 540; 23: 0.7; 25: 0; 30: 0; "
     "45: 0"},
    {"[SYNTH]  Bass Shape",
     "0: 0; 1: 11.66; 2: 0; 3: 0; 4: 1; 5: 1; 6: 1; 7: 1; 8: 1; 9: -24; 10: 0; 11: 0; "
     "12: 3; 13: 0; 14: 0; 15: 0.09; 16: 0.44; 17: 0; 18: 1; 19: 0; 20: 1; 21: 0.3; "
     "22: 25.55; 23: 0.43; 24: 10; 25: 1; 26: 2; 27: 0; 28: 0.14; 29: 1; 30: 0; 31: 2; "
     "32: 0; 33: 1; 34: 2; 35: -0; 36: 10; 37: 2; 38: 0; 39: 10; 40: 2; 41: -0; 42: 10; "
     "43: 0; 44: 1; 45: 0; 46: 2; 47: 0; 48: 1; 49: 0; 50: 0.41; 51: 0.26; 52: 1; 53: 0; "
     "54: 1; 55: 0.48; 56: 0; 57: 0; 58: 1"},
    {"[SYNTH]  Bidirectional Phaser",
     "2: 0.06; 3: 0.3; 4: 0; 5: 0; 6: 2; 7: 1; 18: 0; 25: 0; 30: 1; 34: 0; 35: -0.58; "
     "36: 1360; 37: 4; 38: 0.65; 39: 480; 40: 4; 41: -0.76; 42: 820; 43: 0.77; 44: 1; "
     "45: 0"},
    {"[SYNTH]  Chord Groove",
     "0: 0; 1: 0; 2: 1; 3: 0.28; 4: 1; 5: 1; 6: 3; 7: 3; 8: 0.18; 9: -22.53; 10: -13.33; "
     "11: -23.13; 12: 3.2; 13: 0; 14: 0; 15: 0.22; 16: 0; 17: 0.07; 18: 0; 19: 1; 20: 4; "
     "21: 0.32; 22: 4335.81; 23: 0.45; 24: 76.29; 25: 1; 26: 3; 27: -0.6; 28: 0.6; 29: 1; "
     "30: 1; 31: 3; 32: -0.74; 33: 1; 34: 0; 35: -0.29; 36: 5026.6; 37: 4; 38: 0.65; "
     "39: 1740.55; 40: 4; 41: -0.1; 42: 1315.53; 43: 0.85; 44: 1; 45: 1; 46: 1; 47: -1; "
     "48: 0.53; 49: 1; 50: -0.18; 51: 0.25; 52: 1; 53: 1; 54: 0; 55: -0.34; 56: 1; 57: 0; "
     "58: 1"},
    {"[SYNTH]  Rehydration",
     "2: 0.04; 3: 0.65; 4: 1; 5: 1; 6: 3; 7: 3; 18: 1; 19: 1; 20: 0; 21: 0.27; 22: 5830; "
     "23: 0.22; 24: 32; 25: 1; 26: 2; 27: 0; 28: 0.22; 29: 0; 30: 1; 34: 0; 35: 0.55; "
     "36: 180; 37: 0; 38: 0.55; 39: 12500; 40: 0; 41: 0.55; 42: 8000; 43: 0.65; 44: 1; "
     "45: 1; 46: 2; 47: 0; 48: 1; 49: 2; 50: 0; 51: 0; 52: 0.55; 53: 1; 54: 4; 55: 0.09; "
     "56: 0.24"},
    {"[VOX]  Doublexpander",
     "0: 0; 1: 0; 2: 1; 3: 0.28; 4: 1; 5: 1; 6: 3; 7: 3; 8: 0.18; 9: -22.53; 10: -12.87; "
     "11: -23.13; 12: 3.2; 13: 0; 14: 0; 15: 0.22; 16: 0; 17: 0.07; 18: 0; 19: 1; 20: 4; "
     "21: 0.32; 22: 4335.81; 23: 0.44; 24: 10; 25: 0; 26: 3; 27: 0.68; 28: 0.32; 29: 0; "
     "30: 0; 31: 3; 32: -0.74; 33: 1; 34: 0; 35: -0.29; 36: 5026.6; 37: 4; 38: 0.65; "
     "39: 1740.55; 40: 4; 41: -0.1; 42: 1315.53; 43: 0.85; 44: 1; 45: 1; 46: 3; 47: -0.29; "
     "48: 0.53; 49: 3; 50: -0.04; 51: 0.83; 52: 1; 53: 1; 54: 3; 55: 0.3; 56: 0.53; 57: 0; "
     "58: 1"},
};

std::vector<double> Values(const plugkit::ByteChunk& chunk) {
  std::vector<double> values(static_cast<size_t>(chunk.Size()) / 8);
  std::memcpy(values.data(), chunk.Data(), values.size() * 8);
  return values;
}

bool SameBits(const std::vector<double>& a, const std::vector<double>& b) {
  return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * 8) == 0;
}

// Applies "index: value; ..." to a copy of the values, parsing "-0" as a negative zero.
std::vector<double> Apply(std::vector<double> values, const char* pairs) {
  const char* p = pairs;
  while (*p) {
    char* end = nullptr;
    const long index = std::strtol(p, &end, 10);
    p = end + 1;  // ':'
    const double value = std::strtod(p, &end);
    values.at(static_cast<size_t>(index)) = value;
    p = end;
    while (*p == ';' || *p == ' ') ++p;
  }
  return values;
}

class FactoryPresetsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    instance = clapHost::PluginInstance::Create(testSupport::kQuorvelFactory, host,
                                                testSupport::kQuorvelTestId, error);
    ASSERT_TRUE(instance) << error;
    plugin = plugkit::ClapPlugin::FromClap(instance->Plugin());
  }

  std::vector<double> Defaults() const {
    std::vector<double> values;
    for (int i = 0; i < kParamCount; ++i) values.push_back(plugin->ParamAt(i)->DefaultValue());
    return values;
  }
  std::vector<double> Saved() const {
    plugkit::ByteChunk chunk;
    plugin->SaveState(chunk);
    return Values(chunk);
  }

  clapHost::Host host;
  std::unique_ptr<clapHost::PluginInstance> instance;
  plugkit::PluginBase* plugin = nullptr;
};

TEST_F(FactoryPresetsTest, FreshStateHoldsTheSixtyDefaults) {
  plugkit::ByteChunk chunk;
  EXPECT_TRUE(plugin->SaveState(chunk));
  EXPECT_EQ(chunk.Size(), 480);
  EXPECT_TRUE(SameBits(Values(chunk), Defaults()));
}

TEST_F(FactoryPresetsTest, SlotsHoldTheirPairsOverTheDefaultsToTheBit) {
  ASSERT_EQ(plugin->PresetCount(), 32);
  EXPECT_STREQ(plugin->PresetNameAt(0), "Empty");
  EXPECT_TRUE(SameBits(Values(plugin->PresetAt(0)->data), Defaults()));
  static_assert(std::size(kGolden) + 1 == kFactoryPresetCount);
  for (int slot = 1; slot < kFactoryPresetCount; ++slot) {
    const GoldenPreset& golden = kGolden[slot - 1];
    SCOPED_TRACE(golden.name);
    const plugkit::PresetSlot* preset = plugin->PresetAt(slot);
    ASSERT_TRUE(preset->initialized);
    EXPECT_EQ(preset->name, golden.name);
    EXPECT_EQ(preset->data.Size(), 480);
    const std::vector<double> expected = Apply(Defaults(), golden.pairs);
    const std::vector<double> actual = Values(preset->data);
    for (int i = 0; i < kParamCount; ++i) {
      EXPECT_EQ(std::memcmp(&actual[i], &expected[i], 8), 0)
          << "index " << i << ": " << actual[i] << " vs " << expected[i];
    }
  }
  for (int slot = kFactoryPresetCount; slot < 32; ++slot) {
    EXPECT_FALSE(plugin->PresetAt(slot)->initialized);
    EXPECT_STREQ(plugin->PresetNameAt(slot), "empty");
    EXPECT_FALSE(plugin->RecallPreset(slot));
  }
}

TEST_F(FactoryPresetsTest, RecallingAnyPresetReproducesItsDataUnclamped) {
  for (int slot = kFactoryPresetCount - 1; slot >= 0; --slot) {
    SCOPED_TRACE(plugin->PresetNameAt(slot));
    ASSERT_TRUE(plugin->RecallPreset(slot));
    EXPECT_EQ(plugin->CurrentPresetIndex(), slot);
    EXPECT_TRUE(SameBits(Saved(), Values(plugin->PresetAt(slot)->data)));
  }
}

TEST_F(FactoryPresetsTest, NegativeZerosAndShortPresets) {
  const std::vector<double> mangler = Values(plugin->PresetAt(4)->data);
  EXPECT_TRUE(std::signbit(mangler[ToIndex(ParamIndex::PhaserFrequency1ModStrength)]));
  EXPECT_FALSE(std::signbit(mangler[ToIndex(ParamIndex::PhaserFrequency2ModStrength)]));
  EXPECT_TRUE(std::signbit(mangler[ToIndex(ParamIndex::PhaserFrequency3ModStrength)]));

  // A user change before a recall does not leak into a short preset.
  plugin->ParamAt(ToIndex(ParamIndex::Output))->SetPlain(0.3);
  ASSERT_TRUE(plugin->RecallPreset(1));
  auto plain = [&](ParamIndex i) { return plugin->ParamAt(ToIndex(i))->GetPlain(); };
  EXPECT_EQ(plain(ParamIndex::CutoffFilterEnable), 0);
  EXPECT_EQ(plain(ParamIndex::DriveEnable), 0);
  EXPECT_EQ(plain(ParamIndex::PhaserEnable), 0);
  EXPECT_EQ(plain(ParamIndex::ChorusEnable), 0);
  EXPECT_EQ(plain(ParamIndex::Output), 1);
  EXPECT_EQ(plain(ParamIndex::BrickwallLimit), 1);
  EXPECT_EQ(plain(ParamIndex::PhaserFrequency1), 3400);
  EXPECT_EQ(plain(ParamIndex::PhaserFrequency1ModSource), static_cast<int>(ModSource::Lfo2));

  ASSERT_TRUE(plugin->RecallPreset(5));
  EXPECT_EQ(plugin->PresetNameAt(5), std::string("[DRUM]  Heavy Comp"));
  EXPECT_EQ(plain(ParamIndex::DriveModSource), static_cast<int>(ModSource::EnvFollower));
  EXPECT_EQ(plain(ParamIndex::DriveModStrength), 0.7);
  EXPECT_EQ(plain(ParamIndex::DriveFeedback), 0);
  EXPECT_EQ(plain(ParamIndex::InputTrim), 0);
}

}  // namespace
}  // namespace quorvel
