// One sample through a stage's paired path, the way the engine runs a block of one, at the
// stage's current settings.

#pragma once

#include "effect/Chorus.h"
#include "effect/DriveStage.h"
#include "effect/Phaser.h"

namespace testSupport {

inline void Unpack(quorvel::StereoPair y, double& left, double& right) {
  left = y[0];
  right = y[1];
}

inline void ProcessSample(quorvel::Chorus& chorus, double& left, double& right) {
  const double delayMs = chorus.DelayMs();
  chorus.PrepareBlock(&delayMs, 1);
  quorvel::StereoChorus both(chorus);
  Unpack(both.Process(quorvel::Pack(left, right), chorus.Wet()), left, right);
}

inline void ProcessSample(quorvel::Phaser& phaser, double& left, double& right, double m1,
                          double m2, double m3) {
  phaser.PrepareBlock(&m1, &m2, &m3, 1);
  quorvel::StereoPhaser both(phaser);
  Unpack(both.Process(quorvel::Pack(left, right), phaser.Wet()), left, right);
}

inline void ProcessSample(quorvel::DriveStage& drive, double& left, double& right) {
  quorvel::StereoDrive both(drive);
  Unpack(both.Process(quorvel::Pack(left, right), drive.Amount()), left, right);
}

}  // namespace testSupport
