#include "effect/QuorvelEngine.h"

#include <algorithm>
#include <cmath>

#include "effect/BlockBuffer.h"
#include "effect/BrickwallLimiter.h"
#include "effect/HotLoop.h"
#include "effect/SoftClip.h"
#include "framework/SaturatingCast.h"

namespace quorvel {

namespace {

bool On(double v) { return v >= 0.5; }

double Value(ParamSnapshot values, ParamIndex index) {
  return values[static_cast<size_t>(ToIndex(index))];
}

// A detector sample the follower and gate could not recover from on their own.
double Finite(double x) { return std::isfinite(x) ? x : 0.0; }

}  // namespace

QuorvelEngine::QuorvelEngine() {
  EnsureBuffers(1);
}

void QuorvelEngine::EnsureBuffers(std::size_t n) {
  for (ModulationSlot& slot : slots) slot.EnsureBuffer(n);
  sources.EnsureBuffers(n);
  GrowBlockBuffer(work, n);
  for (std::vector<double>* buffer : {&detL, &detR}) GrowBlockBuffer(*buffer, n);
  GrowBlockBuffer(ladderCoefficients, n);
  GrowBlockBuffer(bandPassCoefficients, n);
  phaser.EnsureBuffer(n);
  chorus.EnsureBuffer(n);
}

void QuorvelEngine::RefreshSettings(ParamSnapshot values, double tempo) {
  using P = ParamIndex;
  sidechainOn = On(Value(values, P::SidechainDetector));
  inputGain = inputTrimGain(Value(values, P::InputTrim));

  sources.ApplySourceSettings(values);

  cutoffOn = On(Value(values, P::CutoffFilterEnable));
  cutoffShape = std::clamp(plugkit::SaturateTruncate<std::int32_t>(std::round(Value(values, P::CutoffFilterShape))), 0, 2);
  ApplySlotSettings(slots, values);
  cutoffBase = Value(values, P::CutoffFilterFrequency);

  const double resonance = Value(values, P::Resonance);
  cutoffL.SetResonance(resonance);
  cutoffR.SetResonance(resonance);
  bandPassL.SetQ(4.0 * resonance + 1.0);
  bandPassR.SetQ(4.0 * resonance + 1.0);

  highPassL.SetFrequency(Value(values, P::HighPassFrequency));
  highPassR.SetFrequency(Value(values, P::HighPassFrequency));

  driveOn = On(Value(values, P::DriveEnable));
  driveBase = Value(values, P::Drive);
  drive.SetFeedback(On(Value(values, P::DriveFeedback)));

  phaserOn = On(Value(values, P::PhaserEnable));
  phaserWetBase = Value(values, P::PhaserWet);
  phaser.SetFrequency1(Value(values, P::PhaserFrequency1));
  phaser.SetFrequency2(Value(values, P::PhaserFrequency2));
  phaser.SetFrequency3(Value(values, P::PhaserFrequency3));
  phaser.SetFeedback(Value(values, P::PhaserFeedback));
  phaser.SetSuperStereo(On(Value(values, P::PhaserSuperStereo)));

  chorusOn = On(Value(values, P::ChorusEnable));
  chorusWetBase = Value(values, P::ChorusWet);
  chorusDelayMs = 50.0 * Value(values, P::ChorusDelay);
  chorus.SetSpread(Value(values, P::ChorusSpread));
  chorus.SetSuperStereo(On(Value(values, P::ChorusSuperStereo)));

  outputBase = Value(values, P::Output);

  motorizedKnobs = On(Value(values, P::MotorizedKnobs));
  limiterOn = On(Value(values, P::BrickwallLimit));

  sources.ConfigureLfos(values, sampleRate, tempo);
}

void QuorvelEngine::OnProcessingReset(ParamSnapshot values, double rate, int maxBlock,
                                      double tempo) {
  sampleRate = rate;
  const int b = std::max(1, maxBlock);
  EnsureBuffers(static_cast<std::size_t>(b));
  RefreshSettings(values, tempo);
  sources.ResetRestarts();
  ResetDsp(rate);
  publishCountdown = 1;
  publishPeriod = std::max(1, plugkit::SaturateTruncate<std::int32_t>(rate / b / 18.0));
  PublishIndicators({});
}

void QuorvelEngine::ResetDsp(double rate) {
  sources.ResetDsp(rate);
  cutoffL.Reset(rate);
  cutoffR.Reset(rate);
  for (HPF* filter : {&bandPassL, &bandPassR, &highPassL, &highPassR}) filter->SetSampleRate(rate);
  drive.Reset(rate);
  phaser.Reset(rate);
  chorus.Reset(rate);
  // A NaN that reached an all-pass stage would otherwise silence every later block.
  phaser.ClearNonFiniteStages();
  chorus.ClearNonFiniteStages();
  limiterIndicator = 0.0;
}

void QuorvelEngine::ProcessAudioBlock(ParamSnapshot values, const double* const* inputs,
                                      double* const* outputs, int n,
                                      const ChannelState& channels,
                                      const plugkit::TransportInfo& transport) {
  if (channels.connectedOutputs < 1) return;
  EnsureBuffers(static_cast<std::size_t>(std::max(n, 0)));
  RefreshSettings(values, transport.tempo);
  if (n < 1) return;
  const auto count = static_cast<std::size_t>(n);

  if (limiterIndicator > 0.0) limiterIndicator = std::max(0.0, limiterIndicator - n / sampleRate);
  sources.RealignLfoRestarts(transport.samplePosition, count);

  CopyInputs(inputs, n, channels);
  sources.RenderLfos(count);
  sources.GenerateModSources(detL.data(), detR.data(), count, inputGain);
  const SourceBuffers standard = sources.StandardSources();

  const ModulatedValues modulated = EvaluateSlots(count, standard);
  PrepareStages(n, modulated);
  RunChain(n, modulated);

  if (GuardNonFinite(n)) ResetDsp(sampleRate);
  WriteOutputs(outputs, n, channels);
  if (limiterOn) {
    const double e0 = channels.Output(0) && outputs[0] ? ApplyBrickwall(outputs[0], n) : 0.0;
    const bool out1 = channels.connectedOutputs >= 2 && channels.Output(1) && outputs[1];
    const double e1 = out1 ? ApplyBrickwall(outputs[1], n) : 0.0;
    limiterIndicator = std::max({limiterIndicator, e0, e1});
  }
  sources.AdvanceLfos(count);

  if (--publishCountdown <= 0) {
    const std::size_t last = count - 1;
    PublishIndicators({standard.envFollower[last], standard.adsr[last],
                       standard.lfo1[last] + 0.5, standard.lfo2[last] + 0.5});
    publishCountdown = publishPeriod;
  }
}

void QuorvelEngine::CopyInputs(const double* const* inputs, int n, const ChannelState& channels) {
  const double* in0 = channels.Input(0) ? inputs[0] : nullptr;
  const double* in1 = channels.Input(1) ? inputs[1] : nullptr;
  const double* sc0 = sidechainOn && channels.Input(2) ? inputs[2] : nullptr;
  const double* sc1 = sidechainOn && channels.Input(3) ? inputs[3] : nullptr;
  for (int i = 0; i < n; ++i) {
    const double l = in0 ? in0[i] : 0.0;
    const double r = in1 ? in1[i] : l;
    work[i] = Pack(l * inputGain, r * inputGain);
    detL[i] = Finite(sc0 ? sc0[i] : l);
    detR[i] = Finite(sc1 ? sc1[i] : (sc0 ? sc0[i] : r));
  }
}

QuorvelEngine::ModulatedValues QuorvelEngine::EvaluateSlots(std::size_t n,
                                                            const SourceBuffers& standard) {
  ModulatedValues v;
  const auto linear = [&](ModSlot s, double min, double max, double base) {
    return SlotAt(s).ModulatedLinear(min, max, base, standard, n).data();
  };
  if (cutoffOn) {
    v.cutoff =
        SlotAt(ModSlot::Cutoff).ModulatedCurve(10.0, 18000.0, cutoffBase, standard, n, 2.5).data();
  }
  if (driveOn) v.drive = linear(ModSlot::Drive, 0.0, 1.0, driveBase);
  if (phaserOn) {
    v.phaserWet = linear(ModSlot::PhaserWet, 0.0, 1.0, phaserWetBase);
    v.phaserFreq1 = linear(ModSlot::PhaserFreq1, -1.0, 1.0, 0.0);
    v.phaserFreq2 = linear(ModSlot::PhaserFreq2, -1.0, 1.0, 0.0);
    v.phaserFreq3 = linear(ModSlot::PhaserFreq3, -1.0, 1.0, 0.0);
  }
  if (chorusOn) {
    const SourceBuffers slow = sources.RenderSlowLfos(n);
    v.chorusWet = linear(ModSlot::ChorusWet, 0.0, 1.0, chorusWetBase);
    v.chorusDelay =
        SlotAt(ModSlot::ChorusDelay).ModulatedCurve(0.0, 50.0, chorusDelayMs, slow, n, 1.5).data();
  }
  v.output = linear(ModSlot::Output, 0.0, 2.0, outputBase);
  return v;
}

namespace {

StereoPair Clip(StereoPair x) {
  return Pack(SoftClip(x[0]), SoftClip(x[1]));
}

}  // namespace

QUORVEL_HOT_LOOP void QuorvelEngine::PrepareStages(int n, const ModulatedValues& v) {
  if (cutoffOn && n > 0) {
    // Band-pass shapes: a resonant high-pass below the ladder's cutoff.
    const bool bandPass = cutoffShape != 0;
    const double corner = cutoffShape == 1 ? 0.25 : 0.75;
    // The coefficients of samples i … i + lanes − 1, one sample per lane of hz. Inlined, so
    // that quads never cross a call, whose convention for them differs with AVX.
    const auto prepare = [&](auto hz, std::size_t i, std::size_t lanes)
                             __attribute__((always_inline)) {
      const auto ladder = cutoffL.CoefficientsAt(hz);
      for (std::size_t k = 0; k < lanes; ++k)
        ladderCoefficients[i + k] = {ladder.resonanceScale[k], ladder.gain[k]};
      if (bandPass) {
        const auto c = bandPassL.CoefficientsAt(corner * hz);
        for (std::size_t k = 0; k < lanes; ++k)
          bandPassCoefficients[i + k] = {c.b0[k], c.b1[k], c.b2[k], c.a1[k], c.a2[k]};
      }
    };
    const double* hz = v.cutoff;
    const auto count = static_cast<std::size_t>(n);
    std::size_t i = 0;
    for (; i + 4 <= count; i += 4)
      prepare(StereoQuad{hz[i], hz[i + 1], hz[i + 2], hz[i + 3]}, i, 4);
    for (; i < count; ++i) prepare(Splat(hz[i]), i, 1);
    // The filters keep the settings of the block's last sample.
    cutoffL.SetCutoff(hz[count - 1]);
    if (bandPass)
      bandPassL.SetFrequency(corner * hz[count - 1]);
  }
  if (phaserOn) phaser.PrepareBlock(v.phaserFreq1, v.phaserFreq2, v.phaserFreq3, n);
  if (chorusOn) chorus.PrepareBlock(v.chorusDelay, n);
}

QUORVEL_HOT_LOOP void QuorvelEngine::RunChain(int n, const ModulatedValues& v) {
  StereoLadder cutoff(cutoffL, cutoffR);
  StereoBiquad bandPass(bandPassL, bandPassR);
  StereoBiquad highPass(highPassL, highPassR);
  StereoDrive driveStage(drive);
  StereoPhaser phaserStage(phaser);
  StereoChorus chorusStage(chorus);
  const bool bandPassOn = cutoffShape != 0;
  // The band-pass is made up in level.
  const double makeUp = cutoffShape == 1 ? 4.0 : 8.0;
  // Every stage after the first one that ran sees its input soft-clipped.
  const bool clipBeforeDrive = cutoffOn;
  const bool clipBeforePhaser = cutoffOn || driveOn;
  const bool clipBeforeChorus = cutoffOn || driveOn || phaserOn;
  StereoPair* w = work.data();

  // Each stage's feedback loop is a long chain of dependent operations. Running the stages a
  // sample apart (the filters on sample i, the drive on i − 1, the phaser on i − 2, the
  // chorus on i − 3) makes their chains independent within one pass of the loop, so the
  // processor works on them side by side.
  const auto filters = [&](int i) {
    const auto at = static_cast<std::size_t>(i);
    StereoPair x = w[i];
    if (cutoffOn) {
      x = cutoff.Process(x, ladderCoefficients[at]);
      if (bandPassOn) x = makeUp * bandPass.Process(x, bandPassCoefficients[at]);
    }
    x = highPass.Process(x);
    w[i] = x;
  };
  const auto drives = [&](int i) {
    StereoPair x = w[i];
    if (clipBeforeDrive) x = Clip(x);
    x = driveStage.Process(x, v.drive[i]);
    w[i] = x;
  };
  const auto phasers = [&](int i) {
    StereoPair x = w[i];
    if (clipBeforePhaser) x = Clip(x);
    x = phaserStage.Process(Clip(x), v.phaserWet[i]);
    w[i] = x;
  };
  const auto choruses = [&](int i) {
    StereoPair x = w[i];
    if (chorusOn) {
      if (clipBeforeChorus) x = Clip(x);
      x = chorusStage.Process(x, v.chorusWet[i]);
    }
    x = x * v.output[i];
    w[i] = x;
  };
  for (int i = 0; i < n + 3; ++i) {
    if (i < n) filters(i);
    if (driveOn && i >= 1 && i <= n) drives(i - 1);
    if (phaserOn && i >= 2 && i <= n + 1) phasers(i - 2);
    if (i >= 3) choruses(i - 3);
  }
}

bool QuorvelEngine::GuardNonFinite(int n) {
  bool silenced = false;
  for (int i = 0; i < n; ++i) {
    if (!std::isfinite(work[i][0]) || !std::isfinite(work[i][1])) {
      work[i] = Splat(0.0);
      silenced = true;
    }
  }
  return silenced;
}

void QuorvelEngine::WriteOutputs(double* const* outputs, int n, const ChannelState& channels) {
  const auto count = static_cast<std::size_t>(n);
  for (int c = 0; c < 2; ++c) {
    double* out = outputs[c];
    if (!out || !channels.Output(c) || (c == 1 && channels.connectedOutputs < 2))
      continue;
    for (std::size_t i = 0; i < count; ++i) out[i] = work[i][c];
  }
  for (int k = 2; k < channels.outputChannels; ++k) {
    if (channels.Output(k) && outputs[k]) std::fill_n(outputs[k], count, 0.0);
  }
}

void QuorvelEngine::PublishIndicators(const SourceValues& values) {
  const auto slot = [this](ModSlot s) {
    const ModulationSlot& m = Slot(s);
    return SlotIndicator{m.Source(), m.Strength(), m.LastNormalized()};
  };
  IndicatorSnapshot state;
  state.cutoffOn = cutoffOn;
  state.driveOn = driveOn;
  state.chorusOn = chorusOn;
  state.phaserOn = phaserOn;
  state.limiterIndicator = limiterIndicator;
  state.cutoff = slot(ModSlot::Cutoff);
  state.drive = slot(ModSlot::Drive);
  state.output = slot(ModSlot::Output);
  state.chorusWet = slot(ModSlot::ChorusWet);
  state.chorusDelay = slot(ModSlot::ChorusDelay);
  state.phaserWet = slot(ModSlot::PhaserWet);
  state.phaserFrequency1 = slot(ModSlot::PhaserFreq1);
  state.phaserFrequency2 = slot(ModSlot::PhaserFreq2);
  state.phaserFrequency3 = slot(ModSlot::PhaserFreq3);
  state.gateOpen = sources.Gate().IsOpen();
  state.gateHolding = sources.Gate().IsHolding();
  state.gateLevel = sources.Gate().Envelope();
  state.followerLevel = sources.Follower().Envelope();
  state.envFloor = sources.EnvFloor();
  state.envCeiling = sources.EnvCeiling();
  state.gateOff = sources.GateOffLevel();
  state.gateOn = sources.GateOnLevel();
  indicators.Publish(state, values);
}

}  // namespace quorvel
