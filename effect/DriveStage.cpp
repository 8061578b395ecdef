#include "effect/DriveStage.h"

#include <algorithm>
#include <cmath>

namespace quorvel {

namespace {

constexpr double kEnvelopeSeconds = 0.0005;
constexpr double kLadderCutoff = 7800.0;
constexpr double kLadderResonance = 0.3;

double EnvelopeCoefficient(double sampleRate) {
  return std::exp(-1.0 / (sampleRate * kEnvelopeSeconds));
}

}  // namespace

DriveStage::DriveStage() : coefficient(EnvelopeCoefficient(44100.0)) {
  for (LadderFilter* ladder : {&ladderL, &ladderR}) {
    ladder->SetCutoff(kLadderCutoff);
    ladder->SetResonance(kLadderResonance);
  }
}

void DriveStage::SetAmount(double value) {
  amount = value;
}

void DriveStage::SetFeedback(bool on) {
  feedbackOn = on;
}

void DriveStage::Reset(double rate) {
  envelope = 0.0;
  feedback = 0.0;
  coefficient = EnvelopeCoefficient(rate);
  ladderL.Reset(rate);
  ladderR.Reset(rate);
}

void DriveStage::Process(double& left, double& right) {
  StereoDrive both(*this);
  const StereoPair y = both.Process(Pack(left, right), amount);
  left = y[0];
  right = y[1];
}

StereoDrive::StereoDrive(DriveStage& s)
    : stage(s),
      ladders(s.ladderL, s.ladderR),
      coefficient(s.coefficient),
      feedbackOn(s.feedbackOn),
      envelope(s.envelope),
      feedback(s.feedback),
      lastAmount(s.amount) {}

StereoDrive::~StereoDrive() {
  stage.envelope = envelope;
  stage.feedback = feedback;
  stage.SetAmount(lastAmount);
}

}  // namespace quorvel
