#include "effect/DriveStage.h"

#include <algorithm>
#include <cmath>

namespace quorvel {

namespace {

constexpr double kEnvelopeSeconds = 0.0005;

double EnvelopeCoefficient(double sampleRate) {
  return std::exp(-1.0 / (sampleRate * kEnvelopeSeconds));
}

}  // namespace

DriveStage::DriveStage() : coefficient_(EnvelopeCoefficient(44100.0)) {
  for (LadderFilter* ladder : {&ladderL_, &ladderR_}) {
    ladder->SetCutoff(kLadderCutoff);
    ladder->SetResonance(kLadderResonance);
  }
}

void DriveStage::SetAmount(double value) { amount_ = value; }

void DriveStage::SetFeedback(bool on) { feedbackOn_ = on; }

void DriveStage::Reset(double rate) {
  envelope_ = 0.0;
  feedback_ = 0.0;
  coefficient_ = EnvelopeCoefficient(rate);
  ladderL_.Reset(rate);
  ladderR_.Reset(rate);
}

StereoDrive::StereoDrive(DriveStage& s)
    : stage_(s),
      ladders_(s.ladderL_, s.ladderR_),
      coefficient_(s.coefficient_),
      feedbackOn_(s.feedbackOn_),
      envelope_(s.envelope_),
      feedback_(s.feedback_),
      lastAmount_(s.amount_) {}

StereoDrive::~StereoDrive() {
  stage_.envelope_ = envelope_;
  stage_.feedback_ = feedback_;
  stage_.SetAmount(lastAmount_);
}

}  // namespace quorvel
