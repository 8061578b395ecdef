#include "effect/Phaser.h"

#include <cmath>

namespace quorvel {

namespace {

// ln 8: a modulation value of ±1 moves a stage by a factor of 8.
constexpr double kDepth = 2.07944154167984;
constexpr double kMinHz = 10.0;
constexpr double kMaxHz = 18000.0;
constexpr double kSweepRate = 1.0;  // one sweep every two seconds
constexpr std::array<double, Phaser::kStageCount> kInitialHz{880.0, 3400.0, 110.0, 12000.0};

// The corner factors 8^m of stages 2 to 4 and their inverses for the right chain. The three
// slots often follow the same source, and a value held from the last sample needs no new
// exponential either.
struct Corners {
  double c1, c2, c3, r1, r2, r3;
};

class Sweep {
 public:
  Corners Next(double m1, double m2, double m3) {
    Corners c;
    Factor(m1, 0, c.c1, c.r1);
    if (m2 == m1) {
      c.c2 = c.c1;
      c.r2 = c.r1;
    } else {
      Factor(m2, 1, c.c2, c.r2);
    }
    if (m3 == m1) {
      c.c3 = c.c1;
      c.r3 = c.r1;
    } else if (m3 == m2) {
      c.c3 = c.c2;
      c.r3 = c.r2;
    } else {
      Factor(m3, 2, c.c3, c.r3);
    }
    return c;
  }

 private:
  void Factor(double m, int slot, double& factor, double& inverse) {
    if (!(m == last[slot])) {
      last[slot] = m;
      lastFactor[slot] = std::exp(kDepth * m);
      lastInverse[slot] = 1.0 / lastFactor[slot];
    }
    factor = lastFactor[slot];
    inverse = lastInverse[slot];
  }

  std::array<double, 3> last{std::nan(""), std::nan(""), std::nan("")};
  std::array<double, 3> lastFactor{};
  std::array<double, 3> lastInverse{};
};

}  // namespace

Phaser::Phaser() {
  lfo.SetTable(GetWaveTable(WaveShape::Triangle));
  lfo.SetSampleRate(44100.0);
  lfo.SetRate(kSweepRate);
  for (int k = 0; k < kStageCount; ++k) {
    for (AllpassStage* stage : {&stagesL[k], &stagesR[k]}) {
      stage->SetSampleRate(44100.0);
      stage->SetFrequency(kInitialHz[k]);
    }
    minScale[k] = 1.0;
    maxScale[k] = 1.0;
  }
  minScale[0] = kMinHz / kInitialHz[0];
  maxScale[0] = kMaxHz / kInitialHz[0];
}

void Phaser::SetStageFrequency(int index, double hz) {
  // Written so that NaN falls to the lower bound.
  const double b = !(hz > kMinHz) ? kMinHz : (hz > kMaxHz ? kMaxHz : hz);
  stagesL[index].SetFrequency(b);
  stagesR[index].SetFrequency(b);
  minScale[index] = kMinHz / b;
  maxScale[index] = kMaxHz / b;
}

void Phaser::SetFrequency1(double hz) {
  SetStageFrequency(1, hz);
}
void Phaser::SetFrequency2(double hz) {
  SetStageFrequency(2, hz);
}
void Phaser::SetFrequency3(double hz) {
  SetStageFrequency(3, hz);
}

void Phaser::SetFeedback(double gain) {
  feedbackGain = gain;
}

void Phaser::SetSuperStereo(bool on) {
  superStereo = on;
}

void Phaser::SetWet(double value) {
  wet = value;
  dry = 1.0 - value;
}

double Phaser::Limit(double scale, int index) const {
  if (scale < minScale[index])
    return minScale[index];
  if (scale > maxScale[index])
    return maxScale[index];
  return scale;
}

void Phaser::Process(double& left, double& right, double m1, double m2, double m3) {
  ProcessBlock(&left, &right, nullptr, &m1, &m2, &m3, 1);
}

void Phaser::ProcessBlock(double* left, double* right, const double* wetValues,
                          const double* m1, const double* m2, const double* m3, int n) {
  if (superStereo)
    ProcessSuperStereo(left, right, wetValues, m1, m2, m3, n);
  else
    ProcessMono(left, right, wetValues, m1, m2, m3, n);
}

void Phaser::ProcessMono(double* left, double* right, const double* wetValues,
                         const double* m1, const double* m2, const double* m3, int n) {
  Sweep sweep;
  for (int i = 0; i < n; ++i) {
    if (wetValues)
      SetWet(wetValues[i]);
    const double in = 0.75 * (left[i] + right[i]);
    const double c0 = std::exp(kDepth * lfo.Tick());
    const Corners c = sweep.Next(m1[i], m2[i], m3[i]);
    const double y1 = stagesL[0].ProcessScaled(Limit(c0, 0), in);
    const double y2 = stagesL[1].ProcessScaled(Limit(c.c1, 1), y1 + feedbackGain * feedbackL);
    const double y3 = stagesL[2].ProcessScaled(Limit(c.c2, 2), y2);
    const double y4 = stagesL[3].ProcessScaled(Limit(c.c3, 3), y3);
    feedbackL = y4;
    left[i] = left[i] * dry + y4 * wet;
    right[i] = right[i] * dry + y4 * wet;
  }
}

void Phaser::ProcessSuperStereo(double* left, double* right, const double* wetValues,
                                const double* m1, const double* m2, const double* m3, int n) {
  // The right chain sweeps half a cycle ahead and moves its stages the opposite way.
  StereoAllpass s1(stagesL[0], stagesR[0]);
  StereoAllpass s2(stagesL[1], stagesR[1]);
  StereoAllpass s3(stagesL[2], stagesR[2]);
  StereoAllpass s4(stagesL[3], stagesR[3]);
  StereoPair feedback = Pack(feedbackL, feedbackR);
  Sweep sweep;
  for (int i = 0; i < n; ++i) {
    if (wetValues)
      SetWet(wetValues[i]);
    const double l = left[i];
    const double r = right[i];
    const double in = 0.75 * (l + r);
    const double c0 = std::exp(kDepth * lfo.Tick());
    const double cR = std::exp(kDepth * lfo.Peek(0.5));
    const Corners c = sweep.Next(m1[i], m2[i], m3[i]);
    const StereoPair y1 = s1.ProcessScaled(Pack(Limit(c0, 0), Limit(cR, 0)), Splat(in));
    const StereoPair y2 = s2.ProcessScaled(Pack(Limit(c.c1, 1), Limit(c.r1, 1)),
                                           y1 + feedbackGain * feedback);
    const StereoPair y3 = s3.ProcessScaled(Pack(Limit(c.c2, 2), Limit(c.r2, 2)), y2);
    const StereoPair y4 = s4.ProcessScaled(Pack(Limit(c.c3, 3), Limit(c.r3, 3)), y3);
    feedback = y4;
    left[i] = l * dry + y4[0] * wet;
    right[i] = r * dry + y4[1] * wet;
  }
  feedbackL = feedback[0];
  feedbackR = feedback[1];
}

void Phaser::Reset(double sampleRate) {
  lfo.SetSampleRate(sampleRate);
  for (int k = 0; k < kStageCount; ++k) {
    stagesL[k].SetSampleRate(sampleRate);
    stagesR[k].SetSampleRate(sampleRate);
  }
  feedbackL = 0.0;
  feedbackR = 0.0;
}

void Phaser::ClearNonFiniteStages() {
  for (int k = 0; k < kStageCount; ++k) {
    stagesL[k].ClearIfNotFinite();
    stagesR[k].ClearIfNotFinite();
  }
}

}  // namespace quorvel
