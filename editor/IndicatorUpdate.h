#pragma once

namespace plugkit {
class EditorDelegateBase;
}
namespace plugkit::gfx {
class Graphics;
}

namespace quorvel {

class IndicatorValues;

// What decides whether a motorized knob follows its modulation.
struct MotorSwitches {
  bool motorizedKnobs = false;
  bool cutoffOn = false;
  bool driveOn = false;
  bool chorusOn = false;
  bool phaserOn = false;
};

// [thread-safe] The switches as the parameters hold them now (atomic reads).
MotorSwitches ReadMotorSwitches(const plugkit::EditorDelegateBase& params);

// [main-thread] The editor half of the effect's idle call: hands the latest published values
// to the lamps, meters, markers and motorized knobs, found by their tags. Reads the values
// one at a time with atomic loads and never waits on the audio thread. Does nothing without
// an open editor.
void UpdateIndicators(plugkit::gfx::Graphics* graphics, const IndicatorValues& values,
                      const MotorSwitches& switches);

}  // namespace quorvel
