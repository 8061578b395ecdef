// What a host pays to scan and start the module: loading it, the entry's init, the factory and
// its descriptor, and one instance created and activated.

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "tools/clap-host/Host.h"
#include "tools/clap-host/PluginInstance.h"
#include "tools/clap-host/PluginModule.h"

namespace {

constexpr const char* kPluginId = "com.brackmooraudio.quorvel";

std::unique_ptr<clapHost::PluginModule> Open(benchmark::State& state) {
  std::string error;
  auto module = clapHost::PluginModule::Open(QUORVEL_MODULE_PATH, error);
  if (!module) state.SkipWithError(error.c_str());
  return module;
}

// Loading and unloading, as a scanner does for each module. The first load in the process
// (the file in the page cache) is the scanner's cost; the loader keeps the module mapped after
// it, so later loads are cheaper.
void BM_LoadModule(benchmark::State& state) {
  for (auto _ : state) {
    std::string error;
    auto module = clapHost::PluginModule::Load(QUORVEL_MODULE_PATH, error);
    if (!module) state.SkipWithError(error.c_str());
    benchmark::DoNotOptimize(module.get());
  }
}

void BM_EntryInit(benchmark::State& state) {
  std::string error;
  auto module = clapHost::PluginModule::Load(QUORVEL_MODULE_PATH, error);
  if (!module) return state.SkipWithError(error.c_str());
  for (auto _ : state) {
    benchmark::DoNotOptimize(module->Init());
    module->Deinit();
  }
}

void BM_FactoryAndDescriptor(benchmark::State& state) {
  auto module = Open(state);
  if (!module) return;
  for (auto _ : state) {
    const clap_plugin_factory* factory = module->PluginFactory();
    benchmark::DoNotOptimize(factory->get_plugin_count(factory));
    benchmark::DoNotOptimize(factory->get_plugin_descriptor(factory, 0));
  }
}

// create_plugin, init and activate, then the instance destroyed again.
void BM_CreateAndActivate(benchmark::State& state) {
  auto module = Open(state);
  if (!module) return;
  clapHost::Host host;
  for (auto _ : state) {
    std::string error;
    auto instance =
        clapHost::PluginInstance::Create(*module->PluginFactory(), host, kPluginId, error);
    if (!instance || !instance->Activate(48000.0, 1, 1024)) return state.SkipWithError("refused");
  }
}

BENCHMARK(BM_LoadModule)->Name("BM_LoadModuleFirst")->Iterations(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LoadModule)->Name("BM_LoadModuleAgain")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EntryInit)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FactoryAndDescriptor)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CreateAndActivate)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
