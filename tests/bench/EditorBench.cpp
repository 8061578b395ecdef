// Time per frame of the editor, drawn headlessly: a full redraw, a frame tick with nothing to
// draw, and idle updates with steady and with moving meters and lamps.

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

#include "editor/IndicatorUpdate.h"
#include "editor/QuorvelEditor.h"
#include "effect/IndicatorValues.h"
#include "effect/QuorvelParameters.h"
#include "graphics/GraphicsEditorDelegate.h"
#include "graphics/platform/GraphicsHeadless.h"
#include "resources/ResourceTable.h"

namespace {

using plugkit::gfx::GraphicsHeadless;

class EditorHost : public plugkit::GraphicsEditorDelegate {
 public:
  explicit EditorHost(float scale) : GraphicsEditorDelegate(quorvel::kParamCount) {
    plugkit::SetEmbeddedResources(quorvel::ResourceTable);
    quorvel::DefineParameters(*this);
    SetMakeGraphicsFunction([scale](plugkit::GraphicsEditorDelegate& delegate) {
      return quorvel::MakeHeadlessGraphics(delegate, quorvel::kEditorWidth, quorvel::kEditorHeight,
                                           quorvel::kEditorFrameRate, scale);
    });
    SetLayoutFunction(
        [](plugkit::gfx::Graphics& graphics) { quorvel::LayoutEditor(graphics, {}); });
    OpenWindow(nullptr);
    editor_ = dynamic_cast<GraphicsHeadless*>(GetGraphics());
  }
  ~EditorHost() override { CloseWindow(); }
  bool NotifyEditorResized(int, int, bool) override { return true; }

  GraphicsHeadless& Editor() { return *editor_; }

  // One tick of the 20 ms timer and of the frame clock.
  void Tick(const quorvel::IndicatorValues& values) {
    quorvel::UpdateIndicators(editor_, values, switches_);
    editor_->RenderFrame();
  }

 private:
  GraphicsHeadless* editor_ = nullptr;
  quorvel::MotorSwitches switches_{true, true, true, true, true};
};

// Every stage on, the meters and lamps at a level that depends on the step.
void Publish(quorvel::IndicatorValues& values, int step) {
  const double phase = 0.5 + 0.45 * std::sin(step * 0.7);
  quorvel::IndicatorSnapshot state;
  state.cutoffOn = state.driveOn = state.chorusOn = state.phaserOn = true;
  state.limiterIndicator = phase;
  state.gateOpen = step % 2 == 0;
  state.gateLevel = phase;
  state.followerLevel = 1.0 - phase;
  state.envFloor = 0.2;
  state.envCeiling = 0.9;
  state.gateOff = 0.3;
  state.gateOn = 0.5;
  for (quorvel::SlotIndicator* slot :
       {&state.cutoff, &state.drive, &state.output, &state.chorusWet, &state.chorusDelay,
        &state.phaserWet, &state.phaserFrequency1, &state.phaserFrequency2,
        &state.phaserFrequency3}) {
    slot->source = quorvel::ModSource::Lfo1;
    slot->strength = 1.0;
    slot->lastNormalized = phase;
  }
  values.Publish(state, {phase, phase, phase, 1.0 - phase});
}

void BM_FullRedraw(benchmark::State& state) {
  EditorHost host(static_cast<float>(state.range(0)));
  for (auto _ : state) host.Editor().RenderAll();
}
BENCHMARK(BM_FullRedraw)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// A frame-clock tick between idle updates: nothing is dirty, nothing is drawn.
void BM_FrameTickNothingDirty(benchmark::State& state) {
  EditorHost host(1.0f);
  host.Editor().RenderAll();
  const int presented = host.Editor().FramesPresented();
  for (auto _ : state) host.Editor().RenderFrame();
  if (host.Editor().FramesPresented() != presented) state.SkipWithError("a clean tick drew");
}
BENCHMARK(BM_FrameTickNothingDirty)->Unit(benchmark::kMicrosecond);

// An idle update with the values of the last one: every indicator is handed its value and
// none has anything new to show.
void BM_IdleTickSteadyValues(benchmark::State& state) {
  EditorHost host(static_cast<float>(state.range(0)));
  quorvel::IndicatorValues values;
  Publish(values, 0);
  host.Tick(values);
  const int presented = host.Editor().FramesPresented();
  for (auto _ : state) host.Tick(values);
  if (host.Editor().FramesPresented() != presented) state.SkipWithError("a steady update drew");
}
BENCHMARK(BM_IdleTickSteadyValues)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

void BM_TickMetersMoving(benchmark::State& state) {
  EditorHost host(static_cast<float>(state.range(0)));
  quorvel::IndicatorValues values;
  int step = 0;
  for (auto _ : state) {
    Publish(values, ++step);
    host.Tick(values);
  }
}
BENCHMARK(BM_TickMetersMoving)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
