// quorvel-editor: opens Quorvel's editor in a window of its own through the CLAP gui extension,
// with the demo (or a file) looping through the plug-in so that lamps and meters move. The
// output is played nowhere, or written with --out. Prints the parameter changes the editor
// sends to the host.

#include <poll.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>
#include <thread>

#include "host/clap/ext/Gui.h"
#include "host/clap/ext/Params.h"
#include "tools/clap-host/AudioBlock.h"
#include "tools/clap-host/EventLists.h"
#include "tools/clap-host/Host.h"
#include "tools/clap-host/PluginInstance.h"
#include "tools/clap-host/PluginModule.h"
#include "tools/plugin-render/AudioFile.h"
#include "tools/plugin-render/DemoSignal.h"

// Xlib last: its macros clash with names used above.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRate = 48000;
constexpr uint32_t kBlock = 256;

struct Options {
  std::string input;
  std::string plugin = QUORVEL_DEFAULT_PLUGIN;
  std::string out;
  double seconds = 0.0;  // 0: until the window closes
  bool audio = true;
  bool cpu = false;
};

double ThreadCpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

int Fail(const std::string& message) {
  std::cerr << "quorvel-editor: " << message << "\n";
  return 1;
}

const char* kUsage =
    "usage: quorvel-editor [INPUT] [--plugin PATH.clap] [--out FILE] [--seconds S] [--no-audio]\n"
    "  [--cpu]  print at the end the CPU share spent in the plug-in's timer and main-thread\n"
    "           callbacks (the editor's frame clock and idle updates)";

bool Parse(int argc, char** argv, Options& options, std::string& error) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if ((arg == "--plugin" || arg == "--out" || arg == "--seconds") && !hasValue) {
      error = arg + " needs a value";
      return false;
    }
    if (arg == "--plugin") {
      options.plugin = argv[++i];
    } else if (arg == "--out") {
      options.out = argv[++i];
    } else if (arg == "--seconds") {
      char* end = nullptr;
      options.seconds = std::strtod(argv[++i], &end);
      if (!end || *end || !(options.seconds > 0.0)) {
        error = "--seconds needs a positive number";
        return false;
      }
    } else if (arg == "--cpu") {
      options.cpu = true;
    } else if (arg == "--no-audio") {
      options.audio = false;
    } else if (arg == "--help" || arg == "-h") {
      error = kUsage;
      return false;
    } else if (!arg.empty() && arg[0] == '-') {
      error = "unknown option " + arg + "\n" + kUsage;
      return false;
    } else if (options.input.empty()) {
      options.input = arg;
    } else {
      error = "one input file at most";
      return false;
    }
  }
  return true;
}

// Prints the gestures and values the editor sent, with the parameter's name and text.
void PrintParamEvents(const clapHost::OutputEventList& events, const clap_plugin* plugin,
                      const clap_plugin_params* params) {
  for (size_t i = 0; i < events.Size(); ++i) {
    const clap_event_header& header = events.Header(i);
    if (header.space_id != CLAP_CORE_EVENT_SPACE_ID) continue;
    clap_id id = CLAP_INVALID_ID;
    std::string what;
    if (header.type == CLAP_EVENT_PARAM_VALUE) {
      const auto event = events.As<clap_event_param_value>(i);
      id = event.param_id;
      char text[256] = "?";
      if (params) params->value_to_text(plugin, id, event.value, text, sizeof text);
      what = "= " + std::string(text) + " (" + std::to_string(event.value) + ")";
    } else if (header.type == CLAP_EVENT_PARAM_GESTURE_BEGIN ||
               header.type == CLAP_EVENT_PARAM_GESTURE_END) {
      id = events.As<clap_event_param_gesture>(i).param_id;
      what = header.type == CLAP_EVENT_PARAM_GESTURE_BEGIN ? "gesture begin" : "gesture end";
    } else {
      continue;
    }
    clap_param_info info{};
    std::string name = "#" + std::to_string(id);
    if (params) {
      for (uint32_t k = 0; k < params->count(plugin); ++k) {
        if (params->get_info(plugin, k, &info) && info.id == id) name = info.name;
      }
    }
    std::printf("%s %s\n", name.c_str(), what.c_str());
  }
  std::fflush(stdout);
}

quorvelRender::Audio LoadInput(const Options& options, std::string& error, bool& ok) {
  ok = true;
  if (options.input.empty()) return quorvelRender::MakeDemoSignal(kRate, 8.0, 120.0);
  auto audio = quorvelRender::ReadAudioFile(options.input, error);
  if (!audio || audio->Frames() == 0) {
    ok = false;
    if (error.empty()) error = options.input + " holds no audio";
    return {};
  }
  if (audio->ChannelCount() == 1) audio->channels.push_back(audio->channels[0]);
  return *audio;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  std::string error;
  if (!Parse(argc, argv, options, error)) return Fail(error);
  bool ok = false;
  const quorvelRender::Audio input = LoadInput(options, error, ok);
  if (!ok) return Fail(error);
  const int rate = input.sampleRate > 0 ? input.sampleRate : kRate;

  auto module = clapHost::PluginModule::Open(options.plugin, error);
  if (!module) return Fail("cannot load " + options.plugin + ": " + error);
  const clap_plugin_factory& factory = *module->PluginFactory();
  const clap_plugin_descriptor* descriptor =
      factory.get_plugin_count(&factory) > 0 ? factory.get_plugin_descriptor(&factory, 0) : nullptr;
  if (!descriptor || !descriptor->id) return Fail(options.plugin + " offers no plug-in");
  clapHost::Host host;
  auto instance = clapHost::PluginInstance::Create(factory, host, descriptor->id, error);
  if (!instance) return Fail("cannot create the plug-in: " + error);
  const clap_plugin* plugin = instance->Plugin();
  const auto* gui = instance->GetExtension<clap_plugin_gui>(CLAP_EXT_GUI);
  const auto* params = instance->GetExtension<clap_plugin_params>(CLAP_EXT_PARAMS);
  if (!gui || !gui->create(plugin, CLAP_WINDOW_API_X11, false)) {
    return Fail("the plug-in offers no X11 editor");
  }

  Display* display = XOpenDisplay(nullptr);
  if (!display) return Fail("cannot open the X display (is DISPLAY set?)");
  uint32_t width = 0, height = 0;
  gui->get_size(plugin, &width, &height);
  const Window window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, width,
                                            height, 0, 0, BlackPixel(display, 0));
  XStoreName(display, window, descriptor->name ? descriptor->name : "Quorvel");
  Atom deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
  XSetWMProtocols(display, window, &deleteWindow, 1);
  XMapWindow(display, window);
  XSync(display, False);
  clap_window parent{CLAP_WINDOW_API_X11, {}};
  parent.x11 = window;
  if (!gui->set_parent(plugin, &parent)) return Fail("the editor did not open");

  if (!instance->Activate(rate, 1, kBlock) || !instance->StartProcessing()) {
    return Fail("the plug-in did not start processing");
  }
  clapHost::AudioBlock block({2}, {2}, kBlock, clapHost::SampleSize::Float32);
  clapHost::InputEventList in;
  clapHost::OutputEventList out;
  quorvelRender::Audio rendered{rate, 0, {{}, {}}};
  size_t position = 0;
  uint64_t produced = 0;
  size_t resizesSeen = 0;
  double callbackCpu = 0.0;
  const Clock::time_point start = Clock::now();
  for (bool running = true; running;) {
    while (XPending(display) > 0) {
      XEvent event;
      XNextEvent(display, &event);
      if (event.type == ClientMessage &&
          static_cast<Atom>(event.xclient.data.l[0]) == deleteWindow) {
        running = false;
      }
    }
    // The corner control asks for a new size: the window follows, then tells the plug-in.
    const auto resizes = host.ResizeRequests();
    for (; resizesSeen < resizes.size(); ++resizesSeen) {
      XResizeWindow(display, window, resizes[resizesSeen].first, resizes[resizesSeen].second);
      gui->set_size(plugin, resizes[resizesSeen].first, resizes[resizesSeen].second);
    }
    const double cpuBefore = ThreadCpuSeconds();
    host.PumpMainThread();
    host.PumpTimers();
    callbackCpu += ThreadCpuSeconds() - cpuBefore;
    const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    if (options.seconds > 0.0 && elapsed >= options.seconds) running = false;
    // Audio in real time: as many blocks as the clock says are due.
    while (options.audio && produced + kBlock <= static_cast<uint64_t>(elapsed * rate)) {
      for (uint32_t f = 0; f < kBlock; ++f, position = (position + 1) % input.Frames()) {
        for (uint32_t c = 0; c < 2; ++c) block.SetInput(0, c, f, input.channels[c][position]);
      }
      out.Clear();
      instance->Process(block, in, out);
      PrintParamEvents(out, plugin, params);
      if (!options.out.empty()) {
        for (uint32_t c = 0; c < 2; ++c) {
          for (uint32_t f = 0; f < kBlock; ++f)
            rendered.channels[c].push_back(block.Output(0, c, f));
        }
      }
      produced += kBlock;
    }
    // Sleep until the window has news, a timer falls due or the next block does.
    Clock::time_point wake = host.NextTimerDue();
    if (options.audio) {
      const auto nextBlock =
          start + std::chrono::duration_cast<Clock::duration>(
                      std::chrono::duration<double>(static_cast<double>(produced + kBlock) / rate));
      wake = std::min(wake, nextBlock);
    }
    const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(wake - Clock::now());
    pollfd fd{ConnectionNumber(display), POLLIN, 0};
    poll(&fd, 1,
         static_cast<int>(std::clamp<std::chrono::milliseconds::rep>(wait.count() + 1, 0, 100)));
  }

  if (options.cpu) {
    const double wall = std::chrono::duration<double>(Clock::now() - start).count();
    std::printf("timer and main-thread callbacks: %.3f s CPU in %.1f s, %.2f %% of one core\n",
                callbackCpu, wall, 100.0 * callbackCpu / wall);
  }
  instance->StopProcessing();
  instance->Deactivate();
  gui->destroy(plugin);
  instance.reset();
  XDestroyWindow(display, window);
  XCloseDisplay(display);
  if (!options.out.empty()) {
    const auto format = quorvelRender::OutputFormat(options.out, nullptr, error);
    if (!format || !quorvelRender::WriteAudioFile(options.out, rendered, *format, error)) {
      return Fail(error);
    }
  }
  return 0;
}
