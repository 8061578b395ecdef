// The process call as hosts drive it: validation, input events of every kind and shape,
// buffers of both sample sizes and any connection, output events and the process status.

#include <cmath>
#include <random>

#include "tests/integration/QuorvelHarness.h"

namespace quorvelTest {
namespace {

class ProcessCallTest : public QuorvelTest {
 public:
  void Start(HostConfig config = {}, double rate = 48000, uint32_t maxFrames = 512) {
    host = std::make_unique<Host>(config);
    instance = Create(*host);
    ASSERT_TRUE(instance);
    ASSERT_TRUE(instance->Activate(rate, 1, maxFrames));
    ASSERT_TRUE(instance->StartProcessing());
  }

  clap_process_status Run(AudioBlock& audio) { return instance->Process(audio, in, out); }

  std::unique_ptr<Host> host;
  std::unique_ptr<clapHost::PluginInstance> instance;
  InputEventList in;
  OutputEventList out;
};

// True when every output sample is finite and not subnormal.
bool OutputsClean(AudioBlock& audio, std::string& where) {
  for (uint32_t port = 0; port < audio.OutputCount(); ++port) {
    for (uint32_t channel = 0; channel < audio.Outputs()[port].channel_count; ++channel) {
      for (uint32_t frame = 0; frame < audio.Frames(); ++frame) {
        const double sample = audio.Output(port, channel, frame);
        if (!std::isfinite(sample) || std::fpclassify(sample) == FP_SUBNORMAL) {
          where = "port " + std::to_string(port) + " channel " + std::to_string(channel) +
                  " frame " + std::to_string(frame) + ": " + std::to_string(sample);
          return false;
        }
      }
    }
  }
  return true;
}

TEST_F(ProcessCallTest, InvalidProcessStructuresAreRefusedWithoutHarm) {
  Start();
  EXPECT_EQ(instance->ProcessRaw(nullptr), CLAP_PROCESS_ERROR);

  AudioBlock audio({2}, {2}, 64, SampleSize::Float32);
  clap_process process{};
  process.frames_count = 64;
  process.audio_inputs_count = 1;
  process.audio_outputs = audio.Outputs();
  process.audio_outputs_count = 1;
  process.in_events = in.Clap();
  process.out_events = out.Clap();
  EXPECT_EQ(instance->ProcessRaw(&process), CLAP_PROCESS_ERROR) << "inputs counted, not given";
  process.audio_inputs = audio.Inputs();
  process.audio_outputs = nullptr;
  EXPECT_EQ(instance->ProcessRaw(&process), CLAP_PROCESS_ERROR) << "outputs counted, not given";
  process.audio_outputs = audio.Outputs();
  EXPECT_NE(instance->ProcessRaw(&process), CLAP_PROCESS_ERROR);

  float* saved = audio.Inputs()[0].data32[1];
  audio.Inputs()[0].data32[1] = nullptr;
  EXPECT_EQ(Run(audio), CLAP_PROCESS_ERROR) << "a channel without samples";
  audio.Inputs()[0].data32[1] = saved;
  float** channels = audio.Outputs()[0].data32;
  audio.Outputs()[0].data32 = nullptr;
  EXPECT_EQ(Run(audio), CLAP_PROCESS_ERROR) << "an output port of neither sample size";
  audio.Outputs()[0].data32 = channels;

  // Events and lists that are not there at all.
  process.in_events = nullptr;
  process.out_events = nullptr;
  EXPECT_NE(instance->ProcessRaw(&process), CLAP_PROCESS_ERROR);
}

TEST_F(ProcessCallTest, MalformedAndForeignEventsChangeNothing) {
  Start();
  const double before = PlainValue(*instance, kInputTrim);
  auto shortEvent = clapHost::MakeParamValue(0, kInputTrim, 1.0);
  shortEvent.header.size = sizeof(clap_event_param_value) - 1;
  in.Add(shortEvent);
  auto tinyHeader = clapHost::MakeParamValue(0, kInputTrim, 1.0);
  tinyHeader.header.size = 15;
  in.Add(tinyHeader);
  auto foreign = clapHost::MakeParamValue(0, kInputTrim, 1.0);
  foreign.header.space_id = 1;
  in.Add(foreign);
  in.Add(clapHost::MakeParamValue(0, 60, 1.0));
  in.Add(clapHost::MakeParamValue(0, 0xFFFFFFFFu, 1.0));
  in.Add(clapHost::MakeParamValue(0, kInputTrim, std::nan("")));
  in.Add(clapHost::MakeParamValue(0, kInputTrim, HUGE_VAL));
  in.AddNull();
  auto shortNote = clapHost::MakeNote(0, true, 0, 60, 1.0);
  shortNote.header.size = 39;
  in.Add(shortNote);
  auto shortMidi = clapHost::MakeMidi(0, 0xB0, 1, 2);
  shortMidi.header.size = 23;
  in.Add(shortMidi);
  in.AddSysexPointer(0, nullptr, 12);
  AudioBlock audio({2}, {2}, 64, SampleSize::Float64);
  EXPECT_NE(Run(audio), CLAP_PROCESS_ERROR);
  EXPECT_EQ(PlainValue(*instance, kInputTrim), before);
  EXPECT_EQ(out.Size(), 0u) << "no malformed MIDI passed on";
}

TEST_F(ProcessCallTest, ParameterEventsAreNormalizedForDoublesAndPlainForOtherKinds) {
  Start();
  in.Add(clapHost::MakeParamValue(3, kCutoffFrequency, 0.5));
  in.Add(clapHost::MakeParamValue(5, kLfo1Shape, 0.5));
  in.Add(clapHost::MakeParamValue(7, kCutoffModSource, 3.0));
  in.Add(clapHost::MakeParamValue(9, kLfo1Rate, -0.5));
  in.Add(clapHost::MakeParamValue(9, kInputTrim, 1.5));
  AudioBlock audio({2}, {2}, 0, SampleSize::Float32);
  EXPECT_NE(Run(audio), CLAP_PROCESS_ERROR) << "a block of no frames";
  EXPECT_DOUBLE_EQ(PlainValue(*instance, kCutoffFrequency), 10 + std::pow(0.5, 2.5) * 17990);
  EXPECT_EQ(PlainValue(*instance, kLfo1Shape), 1.0) << "0.5 rounds away from zero";
  EXPECT_EQ(PlainValue(*instance, kCutoffModSource), 3.0);
  EXPECT_EQ(PlainValue(*instance, kLfo1Rate), 0.0) << "below 0 normalized is the minimum";
  EXPECT_EQ(PlainValue(*instance, kInputTrim), 24.0) << "above 1 normalized is the maximum";
  EXPECT_DOUBLE_EQ(GetValue(*instance, kCutoffFrequency), 0.5);
}

TEST_F(ProcessCallTest, MidiLeavesInTimeOrderAndLateMessagesMoveToTheNextBlock) {
  Start();
  in.Add(clapHost::MakeMidi(2, 0xB3, 7, 100));
  in.Add(clapHost::MakeNote(5, true, 1, 60, 0.5));
  in.Add(clapHost::MakeNote(6, false, 1, 60, 0.0));
  in.Add(clapHost::MakeMidi(70, 0xC0, 5, 0));
  in.AddSysex(4, {0xF0, 0x7D, 0x01, 0xF7});
  AudioBlock audio({2}, {2}, 64, SampleSize::Float32);
  Run(audio);
  ASSERT_EQ(out.Size(), 3u) << "the SysEx goes to the editor, not back to the host";
  EXPECT_EQ(out.Header(0).type, CLAP_EVENT_MIDI);
  EXPECT_EQ(out.Header(0).time, 2u);
  const auto midi = out.As<clap_event_midi>(0);
  EXPECT_EQ(midi.data[0], 0xB3);
  EXPECT_EQ(midi.data[2], 100);
  ASSERT_EQ(out.Header(1).type, CLAP_EVENT_NOTE_ON);
  const auto note = out.As<clap_event_note>(1);
  EXPECT_EQ(note.header.size, sizeof(clap_event_note));
  EXPECT_EQ(note.header.time, 5u);
  EXPECT_EQ(note.channel, 1);
  EXPECT_EQ(note.key, 60);
  EXPECT_EQ(note.note_id, -1);
  EXPECT_DOUBLE_EQ(note.velocity, 64.0 / 127.0) << "0.5 × 127 rounds to 64";
  EXPECT_EQ(out.Header(2).type, CLAP_EVENT_NOTE_OFF);

  out.Clear();
  in.Clear();
  Run(audio);
  ASSERT_EQ(out.Size(), 1u);
  EXPECT_EQ(out.Header(0).time, 6u) << "offset 70 in the previous 64-frame block";
}

TEST_F(ProcessCallTest, UnconnectedAndSurplusChannelsAreServed) {
  HostConfig config;
  config.tail = Offer::Absent;
  Start(config, 44100, 256);
  const std::vector<std::vector<uint32_t>> inputShapes = {{2}, {1}, {2, 2}, {2, 1},
                                                          {},  {4}, {0, 2}};
  for (const SampleSize size : {SampleSize::Float32, SampleSize::Float64}) {
    for (const auto& inputs : inputShapes) {
      for (const std::vector<uint32_t>& outputs :
           std::vector<std::vector<uint32_t>>{{2}, {1}, {}, {4}, {2, 2}}) {
        AudioBlock audio(inputs, outputs, 256, size);
        for (uint32_t port = 0; port < inputs.size(); ++port) {
          for (uint32_t channel = 0; channel < inputs[port]; ++channel) {
            for (uint32_t frame = 0; frame < 256; ++frame) {
              audio.SetInput(port, channel, frame, 0.5 * std::sin(frame * 0.05 + channel));
            }
          }
        }
        audio.FillOutputs(std::nan(""));
        EXPECT_EQ(Run(audio), CLAP_PROCESS_CONTINUE);
        std::string where;
        const bool written =
            outputs.empty() || outputs[0] == 0 || !std::isnan(audio.Output(0, 0, 0));
        EXPECT_TRUE(written && OutputsClean(audio, where))
            << inputs.size() << " input ports, " << outputs.size() << " output ports: " << where;
      }
    }
  }
}

// Runs a few blocks of noise with changing parameters and checks every output sample.
void ExpectCleanRun(ProcessCallTest& test, double rate, uint32_t block, SampleSize size,
                    bool inPlace, std::mt19937& random) {
  ASSERT_TRUE(test.instance->Activate(rate, 1, block));
  ASSERT_TRUE(test.instance->StartProcessing());
  AudioBlock audio({2}, {2}, block, size);
  if (inPlace) {
    audio.Outputs()[0].data32 = audio.Inputs()[0].data32;
    audio.Outputs()[0].data64 = audio.Inputs()[0].data64;
  }
  std::uniform_real_distribution<double> sample(-1.0, 1.0);
  std::uniform_real_distribution<double> normalized(0.0, 1.0);
  const uint32_t blocks = std::max<uint32_t>(2, 8192 / block);
  for (uint32_t b = 0; b < std::min<uint32_t>(blocks, 64); ++b) {
    for (uint32_t channel = 0; channel < 2; ++channel) {
      for (uint32_t frame = 0; frame < block; ++frame) {
        audio.SetInput(0, channel, frame, sample(random));
      }
    }
    test.in.Clear();
    for (int e = 0; e < 4; ++e) {
      const auto id = static_cast<clap_id>(random() % kParamCount);
      test.in.Add(clapHost::MakeParamValue(0, id, normalized(random) * 4.0));
    }
    ASSERT_NE(test.Run(audio), CLAP_PROCESS_ERROR);
    std::string where;
    ASSERT_TRUE(OutputsClean(audio, where))
        << rate << " Hz, block " << block << (inPlace ? " in place " : " ")
        << (size == SampleSize::Float32 ? "32" : "64") << "-bit: " << where;
  }
  test.instance->StopProcessing();
  test.instance->Deactivate();
}

TEST_F(ProcessCallTest, EveryRateBlockSizeAndSampleSizeYieldsCleanSamples) {
  host = std::make_unique<Host>();
  instance = Create(*host);
  ASSERT_TRUE(instance);
  std::mt19937 random(11);
  for (const double rate : {1000.0, 22050.0, 44100.0, 192000.0, 768000.0}) {
    for (const uint32_t block : {1u, 37u, 512u, 16384u}) {
      for (const SampleSize size : {SampleSize::Float32, SampleSize::Float64}) {
        for (const bool inPlace : {false, true}) {
          ExpectCleanRun(*this, rate, block, size, inPlace, random);
          if (HasFatalFailure()) return;
        }
      }
    }
  }
}

TEST_F(ProcessCallTest, EveryFactoryPresetProcessesCleanly) {
  Start({}, 48000, 256);
  const auto& presets = RequireExtension<clap_plugin_preset_load>(*instance, CLAP_EXT_PRESET_LOAD);
  std::mt19937 random(3);
  std::uniform_real_distribution<double> sample(-1.0, 1.0);
  AudioBlock audio({2, 2}, {2}, 256, SampleSize::Float64);
  for (int preset = 0; preset < 27; ++preset) {
    ASSERT_TRUE(
        presets.from_location(instance->Plugin(), 1, nullptr, std::to_string(preset).c_str()));
    for (int b = 0; b < 40; ++b) {
      for (uint32_t port = 0; port < 2; ++port) {
        for (uint32_t channel = 0; channel < 2; ++channel) {
          for (uint32_t frame = 0; frame < 256; ++frame) {
            audio.SetInput(port, channel, frame, b % 10 < 5 ? sample(random) : 0.0);
          }
        }
      }
      Run(audio);
      std::string where;
      ASSERT_TRUE(OutputsClean(audio, where)) << "preset " << preset << ": " << where;
    }
  }
}

TEST_F(ProcessCallTest, TransportIsOptionalAndOddValuesAreSafe) {
  Start();
  AudioBlock audio({2}, {2}, 128, SampleSize::Float32);
  clap_event_transport transport = clapHost::MakeTransport();
  transport.flags = CLAP_TRANSPORT_HAS_TEMPO | CLAP_TRANSPORT_HAS_BEATS_TIMELINE |
                    CLAP_TRANSPORT_HAS_SECONDS_TIMELINE | CLAP_TRANSPORT_HAS_TIME_SIGNATURE |
                    CLAP_TRANSPORT_IS_PLAYING | CLAP_TRANSPORT_IS_LOOP_ACTIVE;
  in.Add(clapHost::MakeParamValue(0, 4, 1.0));  // LFO 1 tempo sync on
  for (const double tempo : {0.0, -20.0, std::nan(""), HUGE_VAL, 1e-300, 999.0}) {
    transport.tempo = tempo;
    transport.song_pos_beats = INT64_MIN;
    transport.song_pos_seconds = INT64_MAX;
    transport.bar_start = INT64_MAX;
    transport.loop_start_beats = INT64_MIN;
    transport.loop_end_beats = INT64_MAX;
    transport.tsig_num = 0;
    transport.tsig_denom = 0;
    audio.FillInput(0, 0, 0.3);
    ASSERT_NE(instance->Process(audio, in, out, &transport), CLAP_PROCESS_ERROR);
    std::string where;
    EXPECT_TRUE(OutputsClean(audio, where)) << "tempo " << tempo << ": " << where;
    ASSERT_NE(instance->Process(audio, in, out), CLAP_PROCESS_ERROR) << "no transport";
  }
}

}  // namespace
}  // namespace quorvelTest
