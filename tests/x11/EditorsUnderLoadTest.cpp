// Editors in host windows coming and going while their instances, and others, play on threads
// of their own: what the editors share (the caches, the display connection, the timers) must
// neither disturb the audio threads nor break the editors. Run under tests/x11/with-xvfb.sh.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <deque>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "host/clap/ext/Gui.h"
#include "product/Quorvel.h"
#include "tests/editor/EditorTestSupport.h"
#include "tests/product/InProcessFactory.h"
#include "tools/clap-host/Host.h"
#include "tools/clap-host/PluginInstance.h"

// Xlib last: its macros clash with names of the framework and of GoogleTest.
#include <X11/Xlib.h>

namespace quorvelTest {
namespace {

constexpr size_t kPlaying = 8;
constexpr int kRounds = 16;

struct Track {
  Track() : host(std::make_unique<clapHost::Host>()) {
    std::string error;
    instance = clapHost::PluginInstance::Create(testSupport::kQuorvelFactory, *host,
                                                testSupport::kQuorvelTestId, error);
    if (!instance) ADD_FAILURE() << error;
    gui = instance->GetExtension<clap_plugin_gui>(CLAP_EXT_GUI);
  }
  bool Open(Window parent) {
    clap_window window{CLAP_WINDOW_API_X11, {}};
    window.x11 = parent;
    return gui->create(instance->Plugin(), CLAP_WINDOW_API_X11, false) &&
           gui->set_parent(instance->Plugin(), &window) && gui->show(instance->Plugin());
  }
  void Close() { gui->destroy(instance->Plugin()); }

  std::unique_ptr<clapHost::Host> host;
  std::unique_ptr<clapHost::PluginInstance> instance;
  const clap_plugin_gui* gui = nullptr;
};

// [audio-thread] Random blocks and automation until stopped; the count of non-finite samples.
int PlayUntil(clapHost::PluginInstance& instance, uint32_t seed, const std::atomic<bool>& stop) {
  clapHost::AudioBlock audio({2}, {2}, 512, clapHost::SampleSize::Float32);
  clapHost::InputEventList in;
  clapHost::OutputEventList out;
  std::mt19937 random(seed);
  int bad = 0;
  if (!instance.StartProcessing()) return -1;
  while (!stop.load()) {
    audio.SetFrames(1 + random() % 512);
    for (uint32_t channel = 0; channel < 2; ++channel) {
      for (uint32_t i = 0; i < audio.Frames(); ++i) {
        audio.SetInput(0, channel, i, (random() % 2000) / 2000.0 - 0.5);
      }
    }
    in.Clear();
    out.Clear();
    in.Add(clapHost::MakeParamValue(random() % audio.Frames(),
                                    static_cast<clap_id>(random() % quorvel::kParamCount),
                                    (random() % 5) / 4.0));
    instance.Process(audio, in, out);
    for (uint32_t channel = 0; channel < 2; ++channel) {
      for (uint32_t i = 0; i < audio.Frames(); ++i) {
        if (!std::isfinite(audio.Output(0, channel, i))) ++bad;
      }
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  instance.StopProcessing();
  return bad;
}

TEST(EditorsUnderLoadTest, WindowsComeAndGoWhileInstancesPlay) {
  quorvel::test::ScratchConfigHome config;
  Display* display = XOpenDisplay(nullptr);
  ASSERT_NE(display, nullptr) << "run under tests/x11/with-xvfb.sh";
  const Window parent =
      XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 2000, 1000, 0, 0, 0);
  XMapWindow(display, parent);
  XSync(display, False);

  std::vector<Track> playing(kPlaying);
  for (Track& track : playing) ASSERT_TRUE(track.instance->Activate(48000.0, 1, 512));
  std::atomic<bool> stop{false};
  std::vector<int> nonFinite(kPlaying, 0);
  std::vector<std::thread> threads;
  for (size_t k = 0; k < kPlaying; ++k) {
    threads.emplace_back(
        [&, k] { nonFinite[k] = PlayUntil(*playing[k].instance, static_cast<uint32_t>(k), stop); });
  }
  std::vector<bool> open(kPlaying, false);
  std::deque<Track> extras;
  for (int round = 0; round < kRounds; ++round) {
    const size_t k = static_cast<size_t>(round) % kPlaying;
    if (open[k]) {
      playing[k].Close();
    } else {
      EXPECT_TRUE(playing[k].Open(parent)) << "round " << round;
      if (round % 3 == 0)
        EXPECT_TRUE(playing[k].gui->set_size(playing[k].instance->Plugin(), 1580, 700));
    }
    open[k] = !open[k];
    // An instance created with its editor open, destroyed two rounds later as it is.
    extras.emplace_back();
    EXPECT_TRUE(extras.back().Open(parent));
    if (extras.size() > 2) extras.pop_front();
    for (int tick = 0; tick < 3; ++tick) {
      XSync(display, False);
      for (Track& track : playing) track.host->FireAllTimers();
      for (Track& track : extras) track.host->FireAllTimers();
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
  }
  stop.store(true);
  for (std::thread& thread : threads) thread.join();
  for (size_t k = 0; k < kPlaying; ++k) {
    if (open[k]) playing[k].Close();
    EXPECT_EQ(nonFinite[k], 0) << "instance " << k;
    EXPECT_TRUE(playing[k].host->ThreadViolations().empty()) << "instance " << k;
  }
  extras.clear();
  XDestroyWindow(display, parent);
  XCloseDisplay(display);
}

}  // namespace
}  // namespace quorvelTest
