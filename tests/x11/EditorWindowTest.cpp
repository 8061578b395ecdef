// The editor in a host's X11 window, through the gui extension: run under tests/x11/with-xvfb.sh.

#include <dirent.h>
#include <gtest/gtest.h>
#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "graphics/Control.h"
#include "graphics/Graphics.h"
#include "graphics/platform/GraphicsHeadless.h"
#include "host/clap/ext/Gui.h"
#include "product/Quorvel.h"
#include "tests/HostLibraryNames.h"
#include "tests/product/InProcessFactory.h"
#include "tools/clap-host/Host.h"
#include "tools/clap-host/PluginInstance.h"

// Xlib last: its macros clash with names of the framework and of GoogleTest.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace quorvelTest {
namespace {

constexpr int kLfo1Rate = 2;  // Double

using testSupport::kQuorvelFactory;
using testSupport::kQuorvelTestId;

int OpenFileCount() {
  int count = 0;
  if (DIR* dir = opendir("/proc/self/fd")) {
    while (readdir(dir)) ++count;
    closedir(dir);
  }
  return count;
}

// One plug-in instance with its own host, as a DAW track holds it.
struct Track {
  explicit Track(clapHost::HostConfig config = {}) : host(std::make_unique<Host>(config)) {
    std::string error;
    instance = clapHost::PluginInstance::Create(kQuorvelFactory, *host, kQuorvelTestId, error);
    if (!instance) ADD_FAILURE() << error;
    plugin = plugkit::ClapPlugin::FromClap(instance->Plugin());
    gui = instance->GetExtension<clap_plugin_gui>(CLAP_EXT_GUI);
  }
  bool Open(Window parent) {
    clap_window window{CLAP_WINDOW_API_X11, {}};
    window.x11 = parent;
    return gui->create(instance->Plugin(), CLAP_WINDOW_API_X11, false) &&
           gui->set_parent(instance->Plugin(), &window);
  }
  void Destroy() { gui->destroy(instance->Plugin()); }
  Window EditorWindow() const {
    plugkit::gfx::Graphics* g = plugin->GetGraphics();
    return g ? static_cast<Window>(reinterpret_cast<uintptr_t>(g->NativeWindow())) : 0;
  }

  std::unique_ptr<Host> host;
  std::unique_ptr<clapHost::PluginInstance> instance;
  plugkit::ClapPlugin* plugin = nullptr;
  const clap_plugin_gui* gui = nullptr;
};

class EditorWindowTest : public testing::Test {
 protected:
  void SetUp() override {
    // The editor remembers its zoom in the preferences: keep the user's out of it.
    static char config[] = "/tmp/quorvel-x11-test-XXXXXX";
    static const bool made = mkdtemp(config) != nullptr;
    ASSERT_TRUE(made);
    setenv("XDG_CONFIG_HOME", config, 1);
    display = XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr) << "run under tests/x11/with-xvfb.sh";
    parent = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 2000, 1000, 0, 0, 0);
    XMapWindow(display, parent);
    XSync(display, False);
  }
  void TearDown() override {
    if (!display) return;
    XDestroyWindow(display, parent);
    XCloseDisplay(display);
  }

  // Lets the server deliver what it has, then runs every host timer of the tracks.
  void Pump(std::vector<Track*> tracks, int ticks = 3) {
    for (int i = 0; i < ticks; ++i) {
      XSync(display, False);
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
      for (Track* t : tracks) t->host->FireAllTimers();
    }
  }

  int ChildCount(Window window) {
    Window root = 0, up = 0;
    Window* children = nullptr;
    unsigned count = 0;
    XQueryTree(display, window, &root, &up, &children, &count);
    if (children) XFree(children);
    return static_cast<int>(count);
  }

  // The window's pixels as 0xRRGGBB.
  std::vector<uint32_t> Capture(Window window, int& width, int& height) {
    XWindowAttributes attributes{};
    XGetWindowAttributes(display, window, &attributes);
    width = attributes.width;
    height = attributes.height;
    XImage* image = XGetImage(display, window, 0, 0, static_cast<unsigned>(width),
                              static_cast<unsigned>(height), AllPlanes, ZPixmap);
    std::vector<uint32_t> pixels;
    if (!image) return pixels;
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) pixels.push_back(XGetPixel(image, x, y) & 0xFFFFFF);
    }
    XDestroyImage(image);
    return pixels;
  }

  // The centre of the parameter's first control, in root-window pixels.
  bool ControlCentre(Track& track, int param, int& x, int& y) {
    plugkit::gfx::Graphics* g = track.plugin->GetGraphics();
    for (int i = 0; g && i < g->ControlCount(); ++i) {
      const plugkit::gfx::Control* c = g->GetControl(i);
      if (c->ParamIndex(0) != param || c->IsHidden()) continue;
      const float scale = g->DrawScale() * g->ScreenScale();
      Window child = 0;
      return XTranslateCoordinates(display, track.EditorWindow(), DefaultRootWindow(display),
                                   static_cast<int>(c->DrawRect().MW() * scale),
                                   static_cast<int>(c->DrawRect().MH() * scale), &x, &y, &child);
    }
    return false;
  }

  Display* display = nullptr;
  Window parent = 0;
  InputEventList in;
  OutputEventList out;
};

TEST_F(EditorWindowTest, KnobDragReachesTheHostAsGestureAndValues) {
  Track track;
  ASSERT_TRUE(track.Open(parent));
  Pump({&track});
  int x = 0, y = 0;
  ASSERT_TRUE(ControlCentre(track, kLfo1Rate, x, y));
  const double before = track.plugin->ParamAt(kLfo1Rate)->GetPlain();

  XTestFakeMotionEvent(display, -1, x, y, 0);
  XTestFakeButtonEvent(display, 1, True, 0);
  Pump({&track});
  for (int step = 1; step <= 4; ++step) {
    XTestFakeMotionEvent(display, -1, x, y - 10 * step, 0);
    Pump({&track}, 1);
  }
  XTestFakeButtonEvent(display, 1, False, 0);
  Pump({&track});

  EXPECT_GT(track.plugin->ParamAt(kLfo1Rate)->GetPlain(), before);
  ASSERT_TRUE(track.instance->Flush(in, out));
  ASSERT_GE(out.Size(), 3u);
  EXPECT_EQ(out.Header(0).type, CLAP_EVENT_PARAM_GESTURE_BEGIN);
  EXPECT_EQ(out.As<clap_event_param_gesture>(0).param_id, uint32_t{kLfo1Rate});
  EXPECT_EQ(out.Header(1).type, CLAP_EVENT_PARAM_VALUE);
  EXPECT_EQ(out.Header(out.Size() - 1).type, CLAP_EVENT_PARAM_GESTURE_END);

  // The locked pointer stayed where the press happened.
  Window root = 0, child = 0;
  int rootX = 0, rootY = 0, winX = 0, winY = 0;
  unsigned mask = 0;
  XQueryPointer(display, DefaultRootWindow(display), &root, &child, &rootX, &rootY, &winX, &winY,
                &mask);
  EXPECT_EQ(rootX, x);
  EXPECT_EQ(rootY, y);
  track.Destroy();
}

TEST_F(EditorWindowTest, KeysNoControlHandlesGoOnToTheHostsWindow) {
  Track track;
  ASSERT_TRUE(track.Open(parent));
  Pump({&track});
  XSelectInput(display, parent, KeyPressMask);
  // A click on the background gives the editor the keyboard focus.
  Window child = 0;
  int x = 0, y = 0;
  XTranslateCoordinates(display, track.EditorWindow(), DefaultRootWindow(display), 2, 2, &x, &y,
                        &child);
  XTestFakeMotionEvent(display, -1, x, y, 0);
  XTestFakeButtonEvent(display, 1, True, 0);
  XTestFakeButtonEvent(display, 1, False, 0);
  Pump({&track});
  XTestFakeKeyEvent(display, XKeysymToKeycode(display, XK_a), True, 0);
  XTestFakeKeyEvent(display, XKeysymToKeycode(display, XK_a), False, 0);
  Pump({&track});
  XEvent event{};
  ASSERT_TRUE(XCheckTypedWindowEvent(display, parent, KeyPress, &event));
  EXPECT_TRUE(event.xkey.send_event);
  EXPECT_EQ(XLookupKeysym(&event.xkey, 0), static_cast<KeySym>(XK_a));
  track.Destroy();
}

TEST_F(EditorWindowTest, HostChangeRepaintsTheWindowLikeTheHeadlessRendering) {
  Track track;
  ASSERT_TRUE(track.Open(parent));
  Pump({&track});
  int w = 0, h = 0;
  const std::vector<uint32_t> before = Capture(track.EditorWindow(), w, h);

  in.Add(clapHost::MakeParamValue(0, kLfo1Rate, 0.9));
  track.instance->Flush(in, out);
  Pump({&track});
  const std::vector<uint32_t> after = Capture(track.EditorWindow(), w, h);
  EXPECT_NE(before, after);

  // The same state drawn by the headless layer of a second instance (sharing the caches).
  Track reference;
  reference.instance->Flush(in, out);
  ASSERT_NE(reference.plugin->OpenWindow(nullptr), nullptr);
  for (int i = 0; i < 3; ++i) reference.host->FireAllTimers();
  auto* headless = dynamic_cast<plugkit::gfx::GraphicsHeadless*>(reference.plugin->GetGraphics());
  ASSERT_NE(headless, nullptr);
  headless->RenderAll();
  ASSERT_EQ(headless->SurfaceWidth(), w);
  ASSERT_EQ(headless->SurfaceHeight(), h);
  const auto* bgra = headless->Pixels();
  int differing = 0;
  for (size_t i = 0; i < after.size(); ++i) {
    const uint32_t expected = bgra[i * 4] | bgra[i * 4 + 1] << 8 | bgra[i * 4 + 2] << 16;
    if (expected != after[i]) ++differing;
  }
  EXPECT_EQ(differing, 0);
  reference.plugin->CloseWindow();
  track.Destroy();
}

TEST_F(EditorWindowTest, TwoEditorsDrawOnAfterOneCloses) {
  Track first;
  Track second;
  ASSERT_TRUE(first.Open(parent));
  ASSERT_TRUE(second.Open(parent));
  Pump({&first, &second});
  first.Destroy();
  EXPECT_EQ(ChildCount(parent), 1);

  int w = 0, h = 0;
  const std::vector<uint32_t> before = Capture(second.EditorWindow(), w, h);
  in.Add(clapHost::MakeParamValue(0, kLfo1Rate, 0.1));
  second.instance->Flush(in, out);
  Pump({&first, &second});
  EXPECT_NE(Capture(second.EditorWindow(), w, h), before);
  second.Destroy();
}

TEST_F(EditorWindowTest, SizeSetBeforeOpeningAndKeptAcrossHideAndShow) {
  Track track;
  const clap_plugin* p = track.instance->Plugin();
  ASSERT_TRUE(track.gui->create(p, CLAP_WINDOW_API_X11, false));
  ASSERT_TRUE(track.gui->set_size(p, 1580, 700));
  clap_window window{CLAP_WINDOW_API_X11, {}};
  window.x11 = parent;
  ASSERT_TRUE(track.gui->set_parent(p, &window));
  Pump({&track});
  const auto geometry = [&](unsigned& w, unsigned& h) {
    Window root = 0;
    int x = 0, y = 0;
    unsigned border = 0, depth = 0;
    XGetGeometry(display, track.EditorWindow(), &root, &x, &y, &w, &h, &border, &depth);
  };
  unsigned w = 0, h = 0;
  geometry(w, h);
  EXPECT_EQ(w, 1580u);
  EXPECT_EQ(h, 700u);

  ASSERT_TRUE(track.gui->hide(p));
  EXPECT_EQ(ChildCount(parent), 0);
  ASSERT_TRUE(track.gui->show(p));
  Pump({&track});
  geometry(w, h);
  EXPECT_EQ(w, 1580u);
  EXPECT_EQ(h, 700u);
  uint32_t gw = 0, gh = 0;
  ASSERT_TRUE(track.gui->get_size(p, &gw, &gh));
  EXPECT_EQ(gw, 1580u);
  EXPECT_EQ(gh, 700u);
  EXPECT_EQ(track.plugin->GetGraphics()->DrawScale(), 2.0f);
  track.Destroy();
}

TEST_F(EditorWindowTest, EditorsOwnResizeIsNotRepeatedWhenTheHostAnswers) {
  Track track;
  ASSERT_TRUE(track.Open(parent));
  Pump({&track});
  // The corner control's way: a new draw scale, the host asked for the new size.
  track.plugin->GetGraphics()->Resize(790, 350, 1.5f, true);
  const auto requests = track.host->ResizeRequests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0], std::make_pair(1185u, 525u));
  ASSERT_TRUE(track.gui->set_size(track.instance->Plugin(), 1185, 525));
  EXPECT_EQ(track.plugin->GetGraphics()->DrawScale(), 1.5f);
  EXPECT_EQ(track.host->ResizeRequests().size(), 1u);
  track.Destroy();
}

TEST_F(EditorWindowTest, WithoutHostTimersTheFrameClockRunsFromMainThreadCallbacks) {
  clapHost::HostConfig config;
  config.timerSupport = clapHost::Offer::Absent;
  Track track(config);
  ASSERT_TRUE(track.Open(parent));
  int w = 0, h = 0;
  bool drawn = false;
  for (int i = 0; i < 200 && !drawn; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    track.host->PumpMainThread();
    const std::vector<uint32_t> pixels = Capture(track.EditorWindow(), w, h);
    drawn = std::any_of(pixels.begin(), pixels.end(), [](uint32_t p) { return p != 0; });
  }
  EXPECT_TRUE(drawn);
  track.Destroy();
}

TEST_F(EditorWindowTest, DestroyingTheInstanceWithTheEditorOpenLeavesNothingBehind) {
  const int files = OpenFileCount();
  {
    Track track;
    ASSERT_TRUE(track.Open(parent));
    Pump({&track});
    EXPECT_EQ(ChildCount(parent), 1);
    track.instance->Destroy();
    EXPECT_TRUE(track.host->Timers().empty()) << "frame clock and instance timer stopped";
  }
  XSync(display, False);
  EXPECT_EQ(ChildCount(parent), 0);
  EXPECT_EQ(OpenFileCount(), files);
}

TEST_F(EditorWindowTest, RepeatedOpenAndDestroyLeaksNothing) {
  Track track;
  // A second editor keeps the shared caches warm, as in a session with several editors.
  Track other;
  ASSERT_TRUE(other.Open(parent));
  const auto cycle = [&] {
    ASSERT_TRUE(track.Open(parent));
    track.host->FireAllTimers();
    track.Destroy();
  };
  for (int i = 0; i < 20; ++i) cycle();
  const int files = OpenFileCount();
  const size_t heap = mallinfo2().uordblks;
  for (int i = 0; i < 200; ++i) cycle();
  XSync(display, False);
  EXPECT_EQ(OpenFileCount(), files);
  EXPECT_EQ(ChildCount(parent), 1);
  EXPECT_EQ(track.host->Timers().size(), 1u) << "only the instance timer";
  EXPECT_LT(mallinfo2().uordblks - std::min(heap, mallinfo2().uordblks), 2u << 20);
  other.Destroy();
}

}  // namespace
}  // namespace quorvelTest
