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

QuorvelEngine::QuorvelEngine() { EnsureBuffers(1); }

void QuorvelEngine::EnsureBuffers(std::size_t n) {
  for (ModulationSlot& slot : slots_) slot.EnsureBuffer(n);
  sources_.EnsureBuffers(n);
  GrowBlockBuffer(work_, n);
  for (std::vector<double>* buffer : {&detL_, &detR_}) GrowBlockBuffer(*buffer, n);
  GrowBlockBuffer(ladderCoefficients_, n);
  GrowBlockBuffer(bandPassCoefficients_, n);
  phaser_.EnsureBuffer(n);
  chorus_.EnsureBuffer(n);
}

void QuorvelEngine::RefreshSettings(ParamSnapshot values, double tempo) {
  using P = ParamIndex;
  sidechainOn_ = On(Value(values, P::SidechainDetector));
  inputGain_ = inputTrimGain_(Value(values, P::InputTrim));

  sources_.ApplySourceSettings(values);

  cutoffOn_ = On(Value(values, P::CutoffFilterEnable));
  cutoffShape_ = std::clamp(
      plugkit::SaturateTruncate<std::int32_t>(std::round(Value(values, P::CutoffFilterShape))), 0,
      ChoiceOf(P::CutoffFilterShape).Count() - 1);
  ApplySlotSettings(slots_, values);
  cutoffBase_ = Value(values, P::CutoffFilterFrequency);

  const double resonance = Value(values, P::Resonance);
  cutoffL_.SetResonance(resonance);
  cutoffR_.SetResonance(resonance);
  bandPassL_.SetQ(4.0 * resonance + 1.0);
  bandPassR_.SetQ(4.0 * resonance + 1.0);

  highPassL_.SetFrequency(Value(values, P::HighPassFrequency));
  highPassR_.SetFrequency(Value(values, P::HighPassFrequency));

  driveOn_ = On(Value(values, P::DriveEnable));
  driveBase_ = Value(values, P::Drive);
  drive_.SetFeedback(On(Value(values, P::DriveFeedback)));

  phaserOn_ = On(Value(values, P::PhaserEnable));
  phaserWetBase_ = Value(values, P::PhaserWet);
  phaser_.SetFrequency1(Value(values, P::PhaserFrequency1));
  phaser_.SetFrequency2(Value(values, P::PhaserFrequency2));
  phaser_.SetFrequency3(Value(values, P::PhaserFrequency3));
  phaser_.SetFeedback(Value(values, P::PhaserFeedback));
  phaser_.SetSuperStereo(On(Value(values, P::PhaserSuperStereo)));

  chorusOn_ = On(Value(values, P::ChorusEnable));
  chorusWetBase_ = Value(values, P::ChorusWet);
  chorusDelayMs_ = Chorus::kMsPerDelayUnit * Value(values, P::ChorusDelay);
  chorus_.SetSpread(Value(values, P::ChorusSpread));
  chorus_.SetSuperStereo(On(Value(values, P::ChorusSuperStereo)));

  outputBase_ = Value(values, P::Output);

  motorizedKnobs_ = On(Value(values, P::MotorizedKnobs));
  limiterOn_ = On(Value(values, P::BrickwallLimit));

  sources_.ConfigureLfos(values, sampleRate_, tempo);
}

void QuorvelEngine::OnProcessingReset(ParamSnapshot values, double rate, int maxBlock,
                                      double tempo) {
  sampleRate_ = rate;
  const int b = std::max(1, maxBlock);
  EnsureBuffers(static_cast<std::size_t>(b));
  RefreshSettings(values, tempo);
  sources_.ResetRestarts();
  ResetDsp(rate);
  publishCountdown_ = 1;
  publishPeriod_ = std::max(1, plugkit::SaturateTruncate<std::int32_t>(rate / b / 18.0));
  PublishIndicators({});
}

void QuorvelEngine::ResetDsp(double rate) {
  sources_.ResetDsp(rate);
  cutoffL_.Reset(rate);
  cutoffR_.Reset(rate);
  for (HPF* filter : {&bandPassL_, &bandPassR_, &highPassL_, &highPassR_})
    filter->SetSampleRate(rate);
  drive_.Reset(rate);
  phaser_.Reset(rate);
  chorus_.Reset(rate);
  // A NaN that reached an all-pass stage would otherwise silence every later block.
  phaser_.ClearNonFiniteStages();
  chorus_.ClearNonFiniteStages();
  limiterIndicator_ = 0.0;
}

void QuorvelEngine::ProcessAudioBlock(ParamSnapshot values, const double* const* inputs,
                                      double* const* outputs, int n, const ChannelState& channels,
                                      const plugkit::TransportInfo& transport) {
  if (channels.connectedOutputs < 1) return;
  EnsureBuffers(static_cast<std::size_t>(std::max(n, 0)));
  RefreshSettings(values, transport.tempo);
  if (n < 1) return;
  const auto count = static_cast<std::size_t>(n);

  if (limiterIndicator_ > 0.0)
    limiterIndicator_ = std::max(0.0, limiterIndicator_ - n / sampleRate_);
  sources_.RealignLfoRestarts(transport.samplePosition, count);

  CopyInputs(inputs, n, channels);
  sources_.RenderLfos(count);
  sources_.GenerateModSources(detL_.data(), detR_.data(), count, inputGain_);
  const SourceBuffers standard = sources_.StandardSources();

  const ModulatedValues modulated = EvaluateSlots(count, standard);
  PrepareStages(n, modulated);
  RunChain(n, modulated);

  if (GuardNonFinite(n)) ResetDsp(sampleRate_);
  WriteOutputs(outputs, n, channels);
  if (limiterOn_) {
    const double e0 = channels.Output(0) && outputs[0] ? ApplyBrickwall(outputs[0], n) : 0.0;
    const bool out1 = channels.connectedOutputs >= 2 && channels.Output(1) && outputs[1];
    const double e1 = out1 ? ApplyBrickwall(outputs[1], n) : 0.0;
    limiterIndicator_ = std::max({limiterIndicator_, e0, e1});
  }
  sources_.AdvanceLfos(count);

  if (--publishCountdown_ <= 0) {
    const std::size_t last = count - 1;
    PublishIndicators({standard.envFollower[last], standard.adsr[last], standard.lfo1[last] + 0.5,
                       standard.lfo2[last] + 0.5});
    publishCountdown_ = publishPeriod_;
  }
}

void QuorvelEngine::CopyInputs(const double* const* inputs, int n, const ChannelState& channels) {
  const double* in0 = channels.Input(0) ? inputs[0] : nullptr;
  const double* in1 = channels.Input(1) ? inputs[1] : nullptr;
  const double* sc0 = sidechainOn_ && channels.Input(2) ? inputs[2] : nullptr;
  const double* sc1 = sidechainOn_ && channels.Input(3) ? inputs[3] : nullptr;
  for (int i = 0; i < n; ++i) {
    const double l = in0 ? in0[i] : 0.0;
    const double r = in1 ? in1[i] : l;
    work_[i] = Pack(l * inputGain_, r * inputGain_);
    detL_[i] = Finite(sc0 ? sc0[i] : l);
    detR_[i] = Finite(sc1 ? sc1[i] : (sc0 ? sc0[i] : r));
  }
}

QuorvelEngine::ModulatedValues QuorvelEngine::EvaluateSlots(std::size_t n,
                                                            const SourceBuffers& standard) {
  using P = ParamIndex;
  ModulatedValues v;
  const auto linear = [&](ModSlot s, const RangeParam& p, double base) {
    return SlotAt(s).ModulatedLinear(p.min, p.max, base, standard, n).data();
  };
  // unit: the engine's unit per unit of the setting.
  const auto curved = [&](ModSlot s, const RangeParam& p, double unit, double base,
                          const SourceBuffers& sources) {
    return SlotAt(s).ModulatedCurve(p.min * unit, p.max * unit, base, sources, n, p.curve).data();
  };
  // The phaser's stages move by up to ±1 around their settings.
  const auto shift = [&](ModSlot s) {
    return SlotAt(s).ModulatedLinear(-1.0, 1.0, 0.0, standard, n).data();
  };
  if (cutoffOn_) {
    v.cutoff =
        curved(ModSlot::Cutoff, RangeOf(P::CutoffFilterFrequency), 1.0, cutoffBase_, standard);
  }
  if (driveOn_) v.drive = linear(ModSlot::Drive, RangeOf(P::Drive), driveBase_);
  if (phaserOn_) {
    v.phaserWet = linear(ModSlot::PhaserWet, RangeOf(P::PhaserWet), phaserWetBase_);
    v.phaserFreq1 = shift(ModSlot::PhaserFreq1);
    v.phaserFreq2 = shift(ModSlot::PhaserFreq2);
    v.phaserFreq3 = shift(ModSlot::PhaserFreq3);
  }
  if (chorusOn_) {
    const SourceBuffers slow = sources_.RenderSlowLfos(n);
    v.chorusWet = linear(ModSlot::ChorusWet, RangeOf(P::ChorusWet), chorusWetBase_);
    v.chorusDelay = curved(ModSlot::ChorusDelay, RangeOf(P::ChorusDelay), Chorus::kMsPerDelayUnit,
                           chorusDelayMs_, slow);
  }
  v.output = linear(ModSlot::Output, RangeOf(P::Output), outputBase_);
  return v;
}

namespace {

StereoPair Clip(StereoPair x) { return Pack(SoftClip(x[0]), SoftClip(x[1])); }

}  // namespace

QUORVEL_HOT_LOOP void QuorvelEngine::PrepareStages(int n, const ModulatedValues& v) {
  if (cutoffOn_ && n > 0) {
    // Band-pass shapes: a resonant high-pass below the ladder's cutoff.
    const bool bandPass = cutoffShape_ != 0;
    const double corner = cutoffShape_ == 1 ? 0.25 : 0.75;
    // The coefficients of samples i … i + lanes − 1, one sample per lane of hz. Inlined, so
    // that quads never cross a call, whose convention for them differs with AVX.
    const auto prepare = [&](auto hz, std::size_t i, std::size_t lanes)
        __attribute__((always_inline)) {
      const auto ladder = cutoffL_.CoefficientsAt(hz);
      for (std::size_t k = 0; k < lanes; ++k)
        ladderCoefficients_[i + k] = {ladder.resonanceScale[k], ladder.gain[k]};
      if (bandPass) {
        const auto c = bandPassL_.CoefficientsAt(corner * hz);
        for (std::size_t k = 0; k < lanes; ++k)
          bandPassCoefficients_[i + k] = {c.b0[k], c.b1[k], c.b2[k], c.a1[k], c.a2[k]};
      }
    };
    const double* hz = v.cutoff;
    const auto count = static_cast<std::size_t>(n);
    std::size_t i = 0;
    for (; i + 4 <= count; i += 4)
      prepare(StereoQuad{hz[i], hz[i + 1], hz[i + 2], hz[i + 3]}, i, 4);
    for (; i < count; ++i) prepare(Splat(hz[i]), i, 1);
    // The filters keep the settings of the block's last sample.
    cutoffL_.SetCutoff(hz[count - 1]);
    if (bandPass) bandPassL_.SetFrequency(corner * hz[count - 1]);
  }
  if (phaserOn_) phaser_.PrepareBlock(v.phaserFreq1, v.phaserFreq2, v.phaserFreq3, n);
  if (chorusOn_) chorus_.PrepareBlock(v.chorusDelay, n);
}

QUORVEL_HOT_LOOP void QuorvelEngine::RunChain(int n, const ModulatedValues& v) {
  StereoLadder cutoff(cutoffL_, cutoffR_);
  StereoBiquad bandPass(bandPassL_, bandPassR_);
  StereoBiquad highPass(highPassL_, highPassR_);
  StereoDrive driveStage(drive_);
  StereoPhaser phaserStage(phaser_);
  StereoChorus chorusStage(chorus_);
  const bool bandPassOn = cutoffShape_ != 0;
  // The band-pass is made up in level.
  const double makeUp = cutoffShape_ == 1 ? 4.0 : 8.0;
  // Every stage after the first one that ran sees its input soft-clipped.
  const bool clipBeforeDrive = cutoffOn_;
  const bool clipBeforePhaser = cutoffOn_ || driveOn_;
  const bool clipBeforeChorus = cutoffOn_ || driveOn_ || phaserOn_;
  StereoPair* w = work_.data();

  // Each stage's feedback loop is a long chain of dependent operations. Running the stages a
  // sample apart (the filters on sample i, the drive on i − 1, the phaser on i − 2, the
  // chorus on i − 3) makes their chains independent within one pass of the loop, so the
  // processor works on them side by side.
  const auto filters = [&](int i) {
    const auto at = static_cast<std::size_t>(i);
    StereoPair x = w[i];
    if (cutoffOn_) {
      x = cutoff.Process(x, ladderCoefficients_[at]);
      if (bandPassOn) x = makeUp * bandPass.Process(x, bandPassCoefficients_[at]);
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
    if (chorusOn_) {
      if (clipBeforeChorus) x = Clip(x);
      x = chorusStage.Process(x, v.chorusWet[i]);
    }
    x = x * v.output[i];
    w[i] = x;
  };
  for (int i = 0; i < n + 3; ++i) {
    if (i < n) filters(i);
    if (driveOn_ && i >= 1 && i <= n) drives(i - 1);
    if (phaserOn_ && i >= 2 && i <= n + 1) phasers(i - 2);
    if (i >= 3) choruses(i - 3);
  }
}

bool QuorvelEngine::GuardNonFinite(int n) {
  bool silenced = false;
  for (int i = 0; i < n; ++i) {
    if (!std::isfinite(work_[i][0]) || !std::isfinite(work_[i][1])) {
      work_[i] = Splat(0.0);
      silenced = true;
    }
  }
  return silenced;
}

void QuorvelEngine::WriteOutputs(double* const* outputs, int n, const ChannelState& channels) {
  const auto count = static_cast<std::size_t>(n);
  for (int c = 0; c < 2; ++c) {
    double* out = outputs[c];
    if (!out || !channels.Output(c) || (c == 1 && channels.connectedOutputs < 2)) continue;
    for (std::size_t i = 0; i < count; ++i) out[i] = work_[i][c];
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
  state.cutoffOn = cutoffOn_;
  state.driveOn = driveOn_;
  state.chorusOn = chorusOn_;
  state.phaserOn = phaserOn_;
  state.limiterIndicator = limiterIndicator_;
  state.cutoff = slot(ModSlot::Cutoff);
  state.drive = slot(ModSlot::Drive);
  state.output = slot(ModSlot::Output);
  state.chorusWet = slot(ModSlot::ChorusWet);
  state.chorusDelay = slot(ModSlot::ChorusDelay);
  state.phaserWet = slot(ModSlot::PhaserWet);
  state.phaserFrequency1 = slot(ModSlot::PhaserFreq1);
  state.phaserFrequency2 = slot(ModSlot::PhaserFreq2);
  state.phaserFrequency3 = slot(ModSlot::PhaserFreq3);
  state.gateOpen = sources_.Gate().IsOpen();
  state.gateHolding = sources_.Gate().IsHolding();
  state.gateLevel = sources_.Gate().Envelope();
  state.followerLevel = sources_.Follower().Envelope();
  state.envFloor = sources_.EnvFloor();
  state.envCeiling = sources_.EnvCeiling();
  state.gateOff = sources_.GateOffLevel();
  state.gateOn = sources_.GateOnLevel();
  indicators_.Publish(state, values);
}

}  // namespace quorvel
