// The Windows module's editor in a host's Win32 window, through the gui extension, as a DAW
// embeds it: run under Wine with a virtual X display (tests/x11/with-xvfb.sh). The test is the
// host: it makes the top-level window and pumps its thread's messages, which is where the
// plug-in's timers and frame clock tick.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "host/clap/ext/Gui.h"
#include "product/ext/EditorSnapshot.h"
#include "tests/integration/QuorvelHarness.h"

// After the framework's headers, whose names its macros would rename.
#include <windows.h>
// Needs windows.h first.
#include <tlhelp32.h>

namespace quorvelTest {
namespace {

constexpr int kEditorWidth = 790;
constexpr int kEditorHeight = 350;
// The LFO 1 rate knob (24 × 23 units at 501, 35).
constexpr int kKnobX = 513;
constexpr int kKnobY = 46;
constexpr RECT kKnobArea{501, 35, 525, 58};

// Threads of this process that started inside `module`. Wine's own helper threads (its RPC
// threads of OLE, for one) come and go as they please and are not counted.
int ThreadsStartedIn(HMODULE module) {
  using QueryThread = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
  constexpr int kThreadStartAddress = 9;  // ThreadQuerySetWin32StartAddress
  const auto query = reinterpret_cast<QueryThread>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationThread")));
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  if (!query || snapshot == INVALID_HANDLE_VALUE) return -1;
  int count = 0;
  THREADENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
    if (entry.th32OwnerProcessID != GetCurrentProcessId()) continue;
    HANDLE thread = OpenThread(THREAD_QUERY_INFORMATION, FALSE, entry.th32ThreadID);
    void* start = nullptr;
    if (thread) {
      query(thread, kThreadStartAddress, &start, sizeof start, nullptr);
      CloseHandle(thread);
    }
    HMODULE owner = nullptr;
    GetModuleHandleExW(
        GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
        static_cast<LPCWSTR>(start), &owner);
    if (start && owner == module) ++count;
  }
  CloseHandle(snapshot);
  return count;
}

std::vector<UINT> keysAtHostWindow;

LRESULT CALLBACK HostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_KEYDOWN) keysAtHostWindow.push_back(static_cast<UINT>(wParam));
  return DefWindowProcW(window, message, wParam, lParam);
}

// A window's pixels as 0xRRGGBB, read back from its device context.
std::vector<uint32_t> Capture(HWND window, int& width, int& height) {
  RECT client{};
  GetClientRect(window, &client);
  width = client.right;
  height = client.bottom;
  std::vector<uint32_t> pixels;
  if (width <= 0 || height <= 0) return pixels;
  HDC source = GetDC(window);
  HDC memory = CreateCompatibleDC(source);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, source, 0, 0, SRCCOPY);
  const auto* data = static_cast<const uint32_t*>(bits);
  for (int i = 0; i < width * height; ++i) pixels.push_back(data[i] & 0xFFFFFF);
  SelectObject(memory, previous);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(window, source);
  return pixels;
}

class EditorWindowTest : public QuorvelTest {
 protected:
  void SetUp() override {
    QuorvelTest::SetUp();
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = HostWindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"QuorvelTestHost";
    RegisterClassW(&windowClass);
    hostWindow_ =
        CreateWindowExW(0, L"QuorvelTestHost", L"Host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                        1000, 500, nullptr, nullptr, windowClass.hInstance, nullptr);
    ASSERT_NE(hostWindow_, nullptr);
    Pump(50);
    instance_ = Create(host);
    ASSERT_TRUE(instance_);
    gui_ = instance_->GetExtension<clap_plugin_gui>(CLAP_EXT_GUI);
    ASSERT_NE(gui_, nullptr);
  }
  void TearDown() override {
    instance_.reset();
    if (hostWindow_) DestroyWindow(hostWindow_);
  }

  bool Open() {
    const clap_plugin* p = instance_->Plugin();
    clap_window window{CLAP_WINDOW_API_WIN32, {}};
    window.win32 = hostWindow_;
    return gui_->create(p, CLAP_WINDOW_API_WIN32, false) && gui_->set_parent(p, &window) &&
           gui_->show(p);
  }
  // The thread's message loop: timers, frame ticks and paints happen here.
  void Pump(int milliseconds) { host.RunMessageLoop(std::chrono::milliseconds(milliseconds)); }
  HWND Editor() const { return FindWindowExW(hostWindow_, nullptr, L"PlugkitWndClass", nullptr); }

  // The open editor's own frame, through the product's snapshot extension, as 0xRRGGBB.
  std::vector<uint32_t> EditorFrame() {
    const auto* snapshot =
        instance_->GetExtension<quorvel_plugin_editor_snapshot>(QUORVEL_EXT_EDITOR_SNAPSHOT);
    std::vector<uint32_t> pixels(kEditorWidth * kEditorHeight);
    uint32_t w = 0, h = 0;
    if (!snapshot ||
        !snapshot->draw(instance_->Plugin(), 1.0, pixels.data(), pixels.size() * 4, &w, &h)) {
      return {};
    }
    for (uint32_t& p : pixels) p &= 0xFFFFFF;
    return pixels;
  }

  static double MeanDifference(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b) {
    if (a.size() != b.size() || a.empty()) return 1e9;
    double sum = 0.0;
    for (size_t i = 0; i < a.size(); ++i) {
      for (int shift = 0; shift < 24; shift += 8) {
        sum += std::abs(static_cast<int>((a[i] >> shift) & 0xFF) -
                        static_cast<int>((b[i] >> shift) & 0xFF));
      }
    }
    return sum / (3.0 * static_cast<double>(a.size()));
  }

  std::vector<uint32_t> KnobPixels(HWND editor) {
    int w = 0, h = 0;
    const std::vector<uint32_t> all = Capture(editor, w, h);
    std::vector<uint32_t> area;
    for (int y = kKnobArea.top; y < kKnobArea.bottom && y < h; ++y) {
      for (int x = kKnobArea.left; x < kKnobArea.right && x < w; ++x)
        area.push_back(all[y * w + x]);
    }
    return area;
  }

  Host host;
  HWND hostWindow_ = nullptr;
  std::unique_ptr<clapHost::PluginInstance> instance_;
  const clap_plugin_gui* gui_ = nullptr;
  InputEventList in;
  OutputEventList out;
};

TEST_F(EditorWindowTest, OpensInTheHostWindowAndShowsItsFrame) {
  ASSERT_TRUE(Open());
  Pump(300);
  const HWND editor = Editor();
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(GetWindowLongW(editor, GWL_STYLE) & 0x56000000, 0x56000000);
  int w = 0, h = 0;
  const std::vector<uint32_t> shown = Capture(editor, w, h);
  EXPECT_EQ(w, kEditorWidth);
  EXPECT_EQ(h, kEditorHeight);
  EXPECT_LT(MeanDifference(shown, EditorFrame()), 0.5);
  // For a look at it beside the Linux snapshot.
  if (const char* path = std::getenv("QUORVEL_WIN32_CAPTURE")) {
    if (FILE* file = std::fopen(path, "wb")) {
      const uint32_t size[2] = {static_cast<uint32_t>(w), static_cast<uint32_t>(h)};
      std::fwrite(size, sizeof size, 1, file);
      std::fwrite(shown.data(), 4, shown.size(), file);
      std::fclose(file);
    }
  }
  gui_->destroy(instance_->Plugin());
}

TEST_F(EditorWindowTest, KnobDragReachesTheHostAsGestureAndValues) {
  ASSERT_TRUE(Open());
  Pump(100);
  const HWND editor = Editor();
  ASSERT_NE(editor, nullptr);
  const double before = GetValue(*instance_, kLfo1Rate);
  SendMessageW(editor, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(kKnobX, kKnobY));
  for (int step = 1; step <= 4; ++step) {
    SendMessageW(editor, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(kKnobX, kKnobY - 10 * step));
    Pump(20);
  }
  SendMessageW(editor, WM_LBUTTONUP, 0, MAKELPARAM(kKnobX, kKnobY - 40));
  Pump(50);
  EXPECT_GT(GetValue(*instance_, kLfo1Rate), before);
  ASSERT_TRUE(instance_->Flush(in, out));
  ASSERT_GE(out.Size(), 3u);
  EXPECT_EQ(out.Header(0).type, CLAP_EVENT_PARAM_GESTURE_BEGIN);
  EXPECT_EQ(out.As<clap_event_param_gesture>(0).param_id, kLfo1Rate);
  EXPECT_EQ(out.Header(1).type, CLAP_EVENT_PARAM_VALUE);
  EXPECT_EQ(out.Header(out.Size() - 1).type, CLAP_EVENT_PARAM_GESTURE_END);

  // A key no control takes goes on to the host's window.
  keysAtHostWindow.clear();
  SendMessageW(editor, WM_KEYDOWN, 'A', 1);
  EXPECT_EQ(keysAtHostWindow, std::vector<UINT>{'A'});
  gui_->destroy(instance_->Plugin());
}

TEST_F(EditorWindowTest, HostChangeRepaintsTheKnob) {
  ASSERT_TRUE(Open());
  Pump(200);
  const HWND editor = Editor();
  ASSERT_NE(editor, nullptr);
  const std::vector<uint32_t> before = KnobPixels(editor);
  in.Add(clapHost::MakeParamValue(0, kLfo1Rate, 0.9));
  ASSERT_TRUE(instance_->Flush(in, out));
  Pump(200);
  EXPECT_NE(KnobPixels(editor), before);
  int w = 0, h = 0;
  EXPECT_LT(MeanDifference(Capture(editor, w, h), EditorFrame()), 0.5);
  gui_->destroy(instance_->Plugin());
}

TEST_F(EditorWindowTest, HideShowAndDestroyLeaveNoWindowOrThread) {
  const clap_plugin* p = instance_->Plugin();
  const HMODULE plugin = GetModuleHandleW(L"Quorvel.clap");
  ASSERT_NE(plugin, nullptr);
  const auto pluginThreads = [plugin] { return ThreadsStartedIn(plugin); };
  ASSERT_EQ(pluginThreads(), 0);
  ASSERT_TRUE(Open());
  Pump(100);
  EXPECT_NE(Editor(), nullptr);
  EXPECT_EQ(pluginThreads(), 1) << "the frame clock";
  ASSERT_TRUE(gui_->hide(p));
  EXPECT_EQ(Editor(), nullptr);
  EXPECT_EQ(pluginThreads(), 0);
  ASSERT_TRUE(gui_->show(p));
  Pump(100);
  EXPECT_NE(Editor(), nullptr);
  gui_->destroy(p);
  EXPECT_EQ(Editor(), nullptr);
  EXPECT_EQ(pluginThreads(), 0);
  // And the same with the instance destroyed while its editor is open.
  ASSERT_TRUE(Open());
  Pump(100);
  instance_.reset();
  EXPECT_EQ(Editor(), nullptr);
  EXPECT_EQ(pluginThreads(), 0);
}

}  // namespace
}  // namespace quorvelTest
