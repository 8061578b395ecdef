#include "effect/QuorvelEngine.h"

#include <algorithm>
#include <cmath>

#include "effect/BrickwallLimiter.h"
#include "framework/SaturatingCast.h"
#include "effect/SoftClip.h"

namespace quorvel {

namespace {

bool On(double v) { return v >= 0.5; }

double Value(ParamSnapshot values, ParamIndex index) {
  return values[static_cast<size_t>(ToIndex(index))];
}

void Grow(std::vector<double>& buffer, std::size_t n) {
  if (buffer.size() < n) buffer.resize(n);
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
  for (std::vector<double>* buffer : {&workL, &workR, &detL, &detR}) Grow(*buffer, n);
}

void QuorvelEngine::RefreshSettings(ParamSnapshot values, double tempo) {
  using P = ParamIndex;
  sidechainOn = On(Value(values, P::SidechainDetector));
  inputGain = std::pow(10.0, Value(values, P::InputTrim) / 20.0);

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

  // Every stage after the first one that ran sees its input soft-clipped.
  bool prior = false;
  if (cutoffOn) {
    prior = true;
    RunCutoffFilter(n, standard);
  }
  RunHighPass(n);
  if (driveOn) {
    if (prior) ClipBoth(n);
    prior = true;
    RunDrive(n, standard);
  }
  if (phaserOn) {
    if (prior) ClipBoth(n);
    prior = true;
    ClipBoth(n);
    RunPhaser(n, standard);
  }
  if (chorusOn) {
    if (prior) ClipBoth(n);
    RunChorus(n, standard);
  }
  RunOutputGain(n, standard);

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
    workL[i] = l * inputGain;
    workR[i] = r * inputGain;
    detL[i] = Finite(sc0 ? sc0[i] : l);
    detR[i] = Finite(sc1 ? sc1[i] : (sc0 ? sc0[i] : r));
  }
}

void QuorvelEngine::RunCutoffFilter(int n, const SourceBuffers& standard) {
  const std::span<const double> f = SlotAt(ModSlot::Cutoff).ModulatedCurve(
      10.0, 18000.0, cutoffBase, standard, static_cast<std::size_t>(n), 2.5);
  double* l = workL.data();
  double* r = workR.data();
  {
    StereoLadder ladders(cutoffL, cutoffR);
    for (int i = 0; i < n; ++i) {
      ladders.SetCutoff(f[i]);
      const StereoPair y = ladders.Process(Pack(l[i], r[i]));
      l[i] = y[0];
      r[i] = y[1];
    }
  }
  if (cutoffShape == 0)
    return;
  // Band-pass shapes: a resonant high-pass below the ladder's cutoff, made up in level.
  const double corner = cutoffShape == 1 ? 0.25 : 0.75;
  const double makeUp = cutoffShape == 1 ? 4.0 : 8.0;
  StereoBiquad bandPass(bandPassL, bandPassR);
  for (int i = 0; i < n; ++i) {
    bandPass.SetFrequency(corner * f[i]);
    const StereoPair y = makeUp * bandPass.Process(Pack(l[i], r[i]));
    l[i] = y[0];
    r[i] = y[1];
  }
}

void QuorvelEngine::RunHighPass(int n) {
  double* l = workL.data();
  double* r = workR.data();
  StereoBiquad highPass(highPassL, highPassR);
  for (int i = 0; i < n; ++i) {
    const StereoPair y = highPass.Process(Pack(l[i], r[i]));
    l[i] = y[0];
    r[i] = y[1];
  }
}

void QuorvelEngine::RunDrive(int n, const SourceBuffers& standard) {
  const std::span<const double> d = SlotAt(ModSlot::Drive).ModulatedLinear(
      0.0, 1.0, driveBase, standard, static_cast<std::size_t>(n));
  drive.ProcessBlock(workL.data(), workR.data(), d.data(), n);
}

void QuorvelEngine::RunPhaser(int n, const SourceBuffers& standard) {
  const auto count = static_cast<std::size_t>(n);
  const std::span<const double> w =
      SlotAt(ModSlot::PhaserWet).ModulatedLinear(0.0, 1.0, phaserWetBase, standard, count);
  const std::span<const double> m1 =
      SlotAt(ModSlot::PhaserFreq1).ModulatedLinear(-1.0, 1.0, 0.0, standard, count);
  const std::span<const double> m2 =
      SlotAt(ModSlot::PhaserFreq2).ModulatedLinear(-1.0, 1.0, 0.0, standard, count);
  const std::span<const double> m3 =
      SlotAt(ModSlot::PhaserFreq3).ModulatedLinear(-1.0, 1.0, 0.0, standard, count);
  phaser.ProcessBlock(workL.data(), workR.data(), w.data(), m1.data(), m2.data(), m3.data(), n);
}

void QuorvelEngine::RunChorus(int n, const SourceBuffers& standard) {
  const auto count = static_cast<std::size_t>(n);
  const SourceBuffers slow = sources.RenderSlowLfos(count);
  const std::span<const double> w =
      SlotAt(ModSlot::ChorusWet).ModulatedLinear(0.0, 1.0, chorusWetBase, standard, count);
  const std::span<const double> t =
      SlotAt(ModSlot::ChorusDelay).ModulatedCurve(0.0, 50.0, chorusDelayMs, slow, count, 1.5);
  chorus.ProcessBlock(workL.data(), workR.data(), w.data(), t.data(), n);
}

void QuorvelEngine::RunOutputGain(int n, const SourceBuffers& standard) {
  const std::span<const double> g = SlotAt(ModSlot::Output).ModulatedLinear(
      0.0, 2.0, outputBase, standard, static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) {
    workL[i] *= g[i];
    workR[i] *= g[i];
  }
}

bool QuorvelEngine::GuardNonFinite(int n) {
  bool silenced = false;
  for (int i = 0; i < n; ++i) {
    if (!std::isfinite(workL[i]) || !std::isfinite(workR[i])) {
      workL[i] = 0.0;
      workR[i] = 0.0;
      silenced = true;
    }
  }
  return silenced;
}

void QuorvelEngine::WriteOutputs(double* const* outputs, int n, const ChannelState& channels) {
  const auto count = static_cast<std::size_t>(n);
  if (channels.Output(0) && outputs[0]) std::copy_n(workL.data(), count, outputs[0]);
  if (channels.connectedOutputs >= 2 && channels.Output(1) && outputs[1])
    std::copy_n(workR.data(), count, outputs[1]);
  for (int k = 2; k < channels.outputChannels; ++k) {
    if (channels.Output(k) && outputs[k]) std::fill_n(outputs[k], count, 0.0);
  }
}

void QuorvelEngine::ClipBoth(int n) {
  SoftClipBlock(workL.data(), n);
  SoftClipBlock(workR.data(), n);
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
