// process must neither allocate nor lock in normal operation. This executable replaces the
// global operator new and interposes pthread_mutex_lock for the whole process (the module
// included, as it resolves both from the executable), counting calls on the audio thread.

#include <dlfcn.h>
#include <pthread.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "tests/integration/QuorvelHarness.h"
#include "tools/clap-host/MemoryStreams.h"
#include "tools/clap-host/PresetDiscovery.h"

namespace {

thread_local bool tCounting = false;
std::atomic<int> gAllocations{0};
std::atomic<int> gLocks{0};

void* Allocate(std::size_t size) {
  if (tCounting) ++gAllocations;
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}

void* AllocateAligned(std::size_t size, std::align_val_t alignment) {
  if (tCounting) ++gAllocations;
  const auto align = static_cast<std::size_t>(alignment);
  const std::size_t rounded = (size + align - 1) / align * align;
  if (void* p = std::aligned_alloc(align, rounded == 0 ? align : rounded)) return p;
  throw std::bad_alloc();
}

}  // namespace

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  try {
    return Allocate(size);
  } catch (...) {
    return nullptr;
  }
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  try {
    return Allocate(size);
  } catch (...) {
    return nullptr;
  }
}
void* operator new(std::size_t size, std::align_val_t a) { return AllocateAligned(size, a); }
void* operator new[](std::size_t size, std::align_val_t a) { return AllocateAligned(size, a); }
void* operator new(std::size_t size, std::align_val_t a, const std::nothrow_t&) noexcept {
  try {
    return AllocateAligned(size, a);
  } catch (...) {
    return nullptr;
  }
}
void* operator new[](std::size_t size, std::align_val_t a, const std::nothrow_t&) noexcept {
  try {
    return AllocateAligned(size, a);
  } catch (...) {
    return nullptr;
  }
}
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete(void* p, std::align_val_t, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, std::align_val_t, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }

extern "C" __attribute__((visibility("default"))) int pthread_mutex_lock(pthread_mutex_t* mutex) {
  using Lock = int (*)(pthread_mutex_t*);
  static const Lock next = reinterpret_cast<Lock>(dlsym(RTLD_NEXT, "pthread_mutex_lock"));
  if (tCounting) ++gLocks;
  return next(mutex);
}

namespace quorvelTest {
namespace {

// Counts the allocations and locks of one call made on this thread.
template <class Call>
std::pair<int, int> Count(Call&& call) {
  gAllocations = 0;
  gLocks = 0;
  tCounting = true;
  call();
  tCounting = false;
  return {gAllocations.load(), gLocks.load()};
}

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
