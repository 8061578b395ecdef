// process must neither allocate nor lock in normal operation, counted on the audio thread.

#include "tests/integration/CountingAllocator.h"
#include "tests/integration/QuorvelHarness.h"
#include "tools/clap-host/MemoryStreams.h"
#include "tools/clap-host/PresetDiscovery.h"

namespace quorvelTest {
namespace {

using countingAllocator::Count;

TEST_F(QuorvelTest, CountersSeeWhatTheModuleDoes) {
  // A state save builds a chunk on the heap; provider creation takes the module lock.
  Host host;
  auto instance = Create(host);
  ASSERT_TRUE(instance);
  const auto& state = RequireExtension<clap_plugin_state>(*instance, CLAP_EXT_STATE);
  clapHost::MemoryOutputStream stream;
  const auto [allocations, unusedLocks] =
      Count([&] { state.save(instance->Plugin(), stream.Clap()); });
  EXPECT_GT(allocations, 0);

  const auto* discovery = module_->PresetDiscoveryFactory();
  ASSERT_NE(discovery, nullptr);
  clapHost::Indexer indexer;
  const clap_preset_discovery_provider* provider = nullptr;
  const auto [unusedAllocations, locks] =
      Count([&] { provider = discovery->create(discovery, indexer.Clap(), kPluginId); });
  ASSERT_NE(provider, nullptr);
  provider->destroy(provider);
  EXPECT_GT(locks, 0);
}

TEST_F(QuorvelTest, ProcessWithAutomationNeitherAllocatesNorLocks) {
  Host host;
  auto instance = Create(host);
  ASSERT_TRUE(instance);
  for (const SampleSize size : {SampleSize::Float32, SampleSize::Float64}) {
    ASSERT_TRUE(instance->Activate(48000, 1, 512));
    ASSERT_TRUE(instance->StartProcessing());
    AudioBlock audio({2, 2}, {2}, 512, size);
    InputEventList in;
    OutputEventList out;
    clap_event_transport transport = clapHost::MakeTransport();
    transport.flags |=
        CLAP_TRANSPORT_HAS_TEMPO | CLAP_TRANSPORT_IS_PLAYING | CLAP_TRANSPORT_HAS_BEATS_TIMELINE;
    for (int block = 0; block < 300; ++block) {
      in.Clear();
      for (uint32_t e = 0; e < 12; ++e) {
        const auto id = static_cast<clap_id>((block * 7 + e * 5) % kParamCount);
        in.Add(clapHost::MakeParamValue(e * 40, id, ((block + e) % 11) / 10.0));
      }
      for (uint32_t channel = 0; channel < 2; ++channel) {
        audio.FillInput(0, channel, block % 3 == 0 ? 0.0 : 0.4);
        audio.FillInput(1, channel, 0.1);
      }
      transport.song_pos_beats = int64_t{block} * CLAP_BEATTIME_FACTOR / 8;
      clap_process_status status = CLAP_PROCESS_ERROR;
      const auto [allocations, locks] =
          Count([&] { status = instance->Process(audio, in, out, &transport); });
      ASSERT_NE(status, CLAP_PROCESS_ERROR);
      ASSERT_EQ(allocations, 0) << "block " << block;
      ASSERT_EQ(locks, 0) << "block " << block;
    }
    EXPECT_EQ(out.Size(), 0u);
    instance->StopProcessing();
    instance->Deactivate();
  }
}

}  // namespace
}  // namespace quorvelTest
