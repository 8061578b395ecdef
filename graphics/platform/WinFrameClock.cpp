#include "graphics/platform/WinFrameClock.h"

#include "graphics/platform/WinApi.h"

namespace plugkit::gfx {
namespace {

constexpr DWORD kFallbackIntervalMs = 16;
constexpr DWORD kAdapterRetryMs = 1000;

// The display driver's kernel-mode thunks, as gdi32 exports them.
using KmtHandle = UINT;
struct KmtOpenAdapterFromHdc {
  HDC hDc;
  KmtHandle hAdapter;
  LUID adapterLuid;
  UINT vidPnSourceId;
};
struct KmtCloseAdapter {
  KmtHandle hAdapter;
};
struct KmtWaitForVerticalBlankEvent {
  KmtHandle hAdapter;
  KmtHandle hDevice;
  UINT vidPnSourceId;
};
using OpenAdapterFromHdc = LONG(WINAPI*)(KmtOpenAdapterFromHdc*);
using CloseAdapter = LONG(WINAPI*)(const KmtCloseAdapter*);
using WaitForVerticalBlank = LONG(WINAPI*)(const KmtWaitForVerticalBlankEvent*);

template <class Function>
Function Lookup(HMODULE module, const char* name) {
  return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)))
                : nullptr;
}

void Tick(WinFrameClock::Shared& shared) {
  const std::uint32_t count = shared.count.fetch_add(1, std::memory_order_relaxed) + 1;
  PostMessageW(shared.window, WinFrameClock::kTickMessage, count, 0);
}

void SleepLoop(WinFrameClock::Shared& shared) {
  while (!shared.shutdown.load(std::memory_order_relaxed)) {
    Sleep(kFallbackIntervalMs);
    Tick(shared);
  }
}

DWORD WINAPI ClockThread(void* parameter) {
  // The thread owns one reference to the state for its whole life.
  std::unique_ptr<std::shared_ptr<WinFrameClock::Shared>> owner(
      static_cast<std::shared_ptr<WinFrameClock::Shared>*>(parameter));
  WinFrameClock::Shared& shared = **owner;
  SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL);
  const HMODULE gdi = GetModuleHandleW(L"gdi32.dll");
  const auto open = Lookup<OpenAdapterFromHdc>(gdi, "D3DKMTOpenAdapterFromHdc");
  const auto close = Lookup<CloseAdapter>(gdi, "D3DKMTCloseAdapter");
  const auto wait = Lookup<WaitForVerticalBlank>(gdi, "D3DKMTWaitForVerticalBlankEvent");
  if (!open || !close || !wait) {
    SleepLoop(shared);
    return 0;
  }
  KmtOpenAdapterFromHdc adapter{};
  bool adapterOpen = false;
  DWORD lastTry = 0;
  bool tried = false;
  while (!shared.shutdown.load(std::memory_order_relaxed)) {
    if (!adapterOpen) {
      const DWORD now = GetTickCount();
      if (!tried || now - lastTry >= kAdapterRetryMs) {
        tried = true;
        lastTry = now;
        adapter = {};
        adapter.hDc = shared.deviceContext;
        adapterOpen = open(&adapter) >= 0;
      }
      if (!adapterOpen) Sleep(kFallbackIntervalMs);
    } else {
      KmtWaitForVerticalBlankEvent blank{adapter.hAdapter, 0, adapter.vidPnSourceId};
      if (wait(&blank) < 0) {
        KmtCloseAdapter closing{adapter.hAdapter};
        close(&closing);
        adapterOpen = false;
        Sleep(kFallbackIntervalMs);
      }
    }
    Tick(shared);
  }
  if (adapterOpen) {
    KmtCloseAdapter closing{adapter.hAdapter};
    close(&closing);
  }
  return 0;
}

}  // namespace

bool WinFrameClock::Start(HWND window, HDC deviceContext) {
  Stop();
  shared_ = std::make_shared<Shared>();
  shared_->window = window;
  shared_->deviceContext = deviceContext;
  auto* reference = new std::shared_ptr<Shared>(shared_);
  thread_ = CreateThread(nullptr, 0, ClockThread, reference, 0, nullptr);
  if (!thread_) {
    delete reference;
    shared_.reset();
    return false;
  }
  return true;
}

void WinFrameClock::Stop() {
  if (!thread_) return;
  shared_->shutdown = true;
  WaitForSingleObject(thread_, kStopTimeoutMs);
  CloseHandle(thread_);
  thread_ = nullptr;
  shared_.reset();
}

std::uint32_t WinFrameClock::Count() const {
  return shared_ ? shared_->count.load(std::memory_order_relaxed) : 0;
}

bool WinFrameClock::SystemSupportsVSync() {
  // RtlGetVersion tells the true version; GetVersionEx lies to programs without a manifest.
  using GetVersion = LONG(WINAPI*)(OSVERSIONINFOW*);
  const auto getVersion = Lookup<GetVersion>(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion");
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof info;
  if (!getVersion || getVersion(&info) < 0) return false;
  return info.dwMajorVersion > 6 || (info.dwMajorVersion == 6 && info.dwMinorVersion >= 2);
}

}  // namespace plugkit::gfx
