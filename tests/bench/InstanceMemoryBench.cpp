// Resident memory of one more instance, averaged over 64 beside a first one that has already
// loaded what the process shares: editor closed, or open at draw scale 1 or 2. One iteration
// each; the figure is the counter kB_per_instance, not the time.

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "graphics/Graphics.h"
#include "product/Quorvel.h"
#include "tests/product/InProcessFactory.h"
#include "tools/clap-host/Host.h"
#include "tools/clap-host/PluginInstance.h"

namespace {

constexpr int kInstances = 64;

double ResidentKb() {
  long pages = 0, resident = 0;
  if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(statm);
  }
  return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / 1024.0;
}

struct Track {
  Track(bool editor, float scale) {
    std::string error;
    instance = clapHost::PluginInstance::Create(testSupport::kQuorvelFactory, host,
                                                testSupport::kQuorvelTestId, error);
    if (!instance || !instance->Activate(48000.0, 1, 1024)) std::abort();
    auto* plugin = plugkit::ClapPlugin::FromClap(instance->Plugin());
    if (editor && plugin->OpenWindow(nullptr)) {
      plugin->GetGraphics()->Resize(790, 350, scale, true);
      host.FireAllTimers();
    }
  }
  clapHost::Host host;
  std::unique_ptr<clapHost::PluginInstance> instance;
};

void Measure(benchmark::State& state, bool editor, float scale) {
  for (auto _ : state) {
    Track first(editor, scale);
    malloc_trim(0);
    const double before = ResidentKb();
    std::vector<std::unique_ptr<Track>> more;
    for (int i = 0; i < kInstances; ++i) more.push_back(std::make_unique<Track>(editor, scale));
    state.counters["kB_per_instance"] = (ResidentKb() - before) / kInstances;
    more.clear();
  }
  malloc_trim(0);
}

void BM_EditorClosed(benchmark::State& state) { Measure(state, false, 1.0f); }
void BM_EditorOpenScale1(benchmark::State& state) { Measure(state, true, 1.0f); }
void BM_EditorOpenScale2(benchmark::State& state) { Measure(state, true, 2.0f); }

BENCHMARK(BM_EditorClosed)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EditorOpenScale1)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EditorOpenScale2)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
