#include <gtest/gtest.h>

#include <vector>

#include "framework/PluginProcessor.h"

namespace plugkit {
namespace {

PluginConfig ProcessorConfig() {
  PluginConfig config;
  config.channelLayouts = "1-1 2-1 2-2 2.1-2 2.2-2";
  config.latencySamples = 7;
  return config;
}

// Records what ProcessAudioBlock saw, then runs the default copy.
class RecordingProcessor : public PluginProcessor {
 public:
  RecordingProcessor() : PluginProcessor(ProcessorConfig()) {}
  void ProcessAudioBlock(double** inputs, double** outputs, int frames) override {
    seenInputs.assign(inputs, inputs + ChannelSlotCount(Direction::Input));
    seenFrames = frames;
    PluginProcessor::ProcessAudioBlock(inputs, outputs, frames);
  }
  bool EmitMidi(const MidiMessage& message) override {
    emitted.push_back(message);
    return message.status != 0;
  }
  std::vector<double*> seenInputs;
  std::vector<MidiMessage> emitted;
  int seenFrames = -1;
};

TEST(ChannelLayoutTest, ParsesBusesTotalsAndWildcards) {
  const ParsedChannelLayouts parsed = ParseChannelLayouts("1-1 2-1 2-2 2.1-2 2.2-2");
  ASSERT_EQ(parsed.layouts.size(), 5u);
  EXPECT_EQ(parsed.maxInputChannels, 4);
  EXPECT_EQ(parsed.maxOutputChannels, 2);
  EXPECT_EQ(parsed.maxInputBuses, 2);
  EXPECT_EQ(parsed.maxOutputBuses, 1);
  const ChannelLayout& sidechain = parsed.layouts[3];
  ASSERT_EQ(sidechain.inputBuses.size(), 2u);
  EXPECT_EQ(sidechain.inputBuses[0].channelCount, 2);
  EXPECT_EQ(sidechain.inputBuses[1].channelCount, 1);
  EXPECT_EQ(sidechain.outputBuses[0].direction, Direction::Output);

  const ParsedChannelLayouts odd = ParseChannelLayouts("0-2 *-* 3  x.2");
  ASSERT_EQ(odd.layouts.size(), 4u);
  EXPECT_TRUE(odd.layouts[0].inputBuses.empty());  // 0 adds no bus
  EXPECT_EQ(odd.layouts[1].inputBuses[0].channelCount, BusLayout::kWildcardChannels);
  EXPECT_TRUE(odd.layouts[2].outputBuses.empty());  // no "-": no output part
  EXPECT_EQ(odd.layouts[3].inputBuses.size(), 1u);  // "x" reads as 0
  EXPECT_EQ(odd.maxInputChannels, 3);
  EXPECT_EQ(odd.maxOutputChannels, 2);
}

TEST(PluginProcessorTest, ConstructionAndBusQueries) {
  RecordingProcessor p;
  EXPECT_EQ(p.ChannelSlotCount(Direction::Input), 4);
  EXPECT_EQ(p.ChannelSlotCount(Direction::Output), 2);
  EXPECT_EQ(p.SampleRate(), 48000);
  EXPECT_EQ(p.LatencySamples(), 7);
  EXPECT_EQ(p.TailSamples(), 0);
  EXPECT_EQ(p.Transport().tempo, 120);
  EXPECT_EQ(p.Transport().ppqPosition, -1);
  int layout = -1;
  EXPECT_EQ(p.MaxBusCount(Direction::Input, &layout), 2);
  EXPECT_EQ(layout, 4);
  EXPECT_EQ(p.MaxBusCount(Direction::Output, &layout), 1);
  EXPECT_EQ(layout, 4);
  EXPECT_FALSE(p.IsChannelConnected(Direction::Input, 7));
  EXPECT_FALSE(p.IsChannelConnected(Direction::Input, -1));

  std::string name;
  p.BusName(Direction::Input, 0, 2, name);
  EXPECT_EQ(name, "Main");
  p.BusName(Direction::Input, 1, 2, name);
  EXPECT_EQ(name, "Aux");
  p.BusName(Direction::Input, 0, 1, name);
  EXPECT_EQ(name, "Input");
  p.BusName(Direction::Input, 2, 3, name);
  EXPECT_EQ(name, "Input 2");
  p.BusName(Direction::Output, 0, 1, name);
  EXPECT_EQ(name, "Output");
  p.BusName(Direction::Output, 1, 2, name);
  EXPECT_EQ(name, "Output 1");

  const MidiMessage list[] = {{0, 0x90, 60, 100}, {1, 0, 0, 0}, {2, 0x80, 60, 0}};
  EXPECT_FALSE(p.EmitMidiList(list));
  EXPECT_EQ(p.emitted.size(), 3u);  // a failure does not stop the rest
  p.HandleMidi(list[0]);
  EXPECT_EQ(p.emitted.size(), 4u);
}

TEST(PluginProcessorTest, SixtyFourBitBuffersAreUsedInPlace) {
  RecordingProcessor p;
  p.PrepareBlockSize(4);
  std::vector<double> in0{1, 2, 3, 4}, in1{5, 6, 7, 8}, out0(4, -1), out1(4, -1);
  double* ins[] = {in0.data(), in1.data()};
  double* outs[] = {out0.data(), out1.data()};

  p.MarkChannelsConnected(Direction::Input, 0, 4, false);
  p.MarkChannelsConnected(Direction::Input, 0, 2, true);
  p.AttachHostBuffers64(Direction::Input, 0, 2, ins);
  p.MarkChannelsConnected(Direction::Output, 0, 2, false);
  p.MarkChannelsConnected(Direction::Output, 0, 99, true);  // cut at the slot count
  p.AttachHostBuffers64(Direction::Output, 0, 2, outs);
  p.RunBlock64(4);

  EXPECT_EQ(p.ConnectedChannelCount(Direction::Input), 2);
  EXPECT_EQ(p.ConnectedChannelCount(Direction::Output), 2);
  EXPECT_EQ(p.seenInputs[0], in0.data());
  EXPECT_EQ(p.seenFrames, 4);
  EXPECT_EQ(out0, in0);
  EXPECT_EQ(out1, in1);
  // The unconnected sidechain reads cleared scratch memory.
  for (int c = 2; c < 4; ++c)
    for (int s = 0; s < 4; ++s) EXPECT_EQ(p.seenInputs[c][s], 0.0);
}

TEST(PluginProcessorTest, ThirtyTwoBitBuffersAreConverted) {
  RecordingProcessor p;
  p.PrepareBlockSize(3);
  std::vector<float> main0{0.5f, -0.5f, 0.25f}, side{1, 2, 3}, out0(3, 9), out1(3, 9);
  float* ins[] = {main0.data(), side.data()};

  // Inputs 0 and 2 connected: the host pointers go to the connected slots in order.
  p.MarkChannelsConnected(Direction::Input, 0, 4, false);
  p.MarkChannelsConnected(Direction::Input, 0, 1, true);
  p.MarkChannelsConnected(Direction::Input, 2, 1, true);
  p.AttachHostBuffers32(Direction::Input, 0, 4, ins, 3);
  // Only output 0 connected; output 1's host buffer must stay untouched.
  float* outs[] = {out0.data()};
  p.MarkChannelsConnected(Direction::Output, 0, 2, false);
  p.MarkChannelsConnected(Direction::Output, 0, 1, true);
  p.AttachHostBuffers32(Direction::Output, 0, 2, outs, 3);
  p.RunBlock32(3);

  EXPECT_EQ(out0, main0);
  EXPECT_EQ(out1, std::vector<float>(3, 9));
  EXPECT_EQ(p.seenInputs[2][2], 3.0);
  EXPECT_EQ(p.seenInputs[1][0], 0.0);

  // The converted sidechain stays in its scratch buffer once it is unconnected again ...
  p.MarkChannelsConnected(Direction::Input, 0, 4, false);
  p.RunBlock32(3);
  EXPECT_EQ(p.seenInputs[2][0], 1.0);
  // ... until a new block size clears it.
  p.PrepareBlockSize(2);
  p.RunBlock32(2);
  EXPECT_EQ(p.seenInputs[2][0], 0.0);
  EXPECT_EQ(p.BlockSize(), 2);

  // More frames than prepared never write past the scratch buffers.
  std::vector<float> big(8, 1.0f);
  float* bigs[] = {big.data()};
  p.MarkChannelsConnected(Direction::Input, 0, 1, true);
  p.AttachHostBuffers32(Direction::Input, 0, 1, bigs, 8);
  p.RunBlock32(2);
  EXPECT_EQ(p.seenInputs[0][1], 1.0);
}

TEST(PluginProcessorTest, DefaultProcessCopiesAndSilences) {
  PluginConfig config;
  config.channelLayouts = "1-3";
  PluginProcessor p(config);
  p.PrepareBlockSize(2);
  std::vector<double> in{1, 2}, o0(2, 5), o1(2, 5), o2(2, 5);
  double* ins[] = {in.data()};
  double* outs[] = {o0.data(), o1.data(), o2.data()};
  p.MarkChannelsConnected(Direction::Input, 0, 1, true);
  p.AttachHostBuffers64(Direction::Input, 0, 1, ins);
  p.MarkChannelsConnected(Direction::Output, 0, 3, true);
  p.AttachHostBuffers64(Direction::Output, 0, 3, outs);
  p.RunBlock64(2);
  EXPECT_EQ(o0, in);
  EXPECT_EQ(o1, std::vector<double>(2, 0));
  EXPECT_EQ(o2, std::vector<double>(2, 0));
}

}  // namespace
}  // namespace plugkit
