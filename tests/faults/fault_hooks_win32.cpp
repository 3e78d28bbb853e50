// The test build's fault injection: before the program's main runs, every
// Windows function it imports (fault_list_win32.h) is routed through a stub
// that counts its calls and, for the one function named in MIRTANE_FAULT,
// fails a call: returns the function's failure value and sets its last error
// without calling it. The program users get has none of this.
//
//   MIRTANE_FAULT="NAME K"       the K-th call of NAME fails (K from 1)
//   MIRTANE_FAULT="NAME K+"      every call from the K-th on fails
//   MIRTANE_FAULT="NAME send"    the first call once the first line's Enter
//                                is taken from the queue
//   MIRTANE_FAULT="NAME send+"   every call from then on
//   NAME "new" is operator new (fault_new_win32.cpp): it throws bad_alloc.
//   MIRTANE_FAULT_LOG=FILE       what happened, one line each (below)
//
// Log lines:
//   hooked NAME ...              the functions routed through a stub
//   cannot-fail NAME ...         those of them that have no failure to report
//   fault NAME K                 the K-th call of NAME was made to fail
//   send                         the first Enter was taken from the queue
//   beep                         MessageBeep was called
//   done NAME RESULT             ChooseColorW, MessageBoxW or Shell_NotifyIconA returned
//   debug TEXT                   OutputDebugStringA (an exception that reached
//                                a window procedure says so there)
//   handled 0xMSG                a mouse button or key release (WM_LBUTTONUP,
//                                WM_RBUTTONUP, WM_KEYUP) was handled: the
//                                program asked for its next message
//   live gdi=G icons=I windows=W the program's GDI objects, icons and windows
//                                now, on the registered message
//                                "mirtane.faults.snapshot"
//   calls NAME TOTAL AT_SEND AFTER_SEND   at exit, for every function
//                                called: all its calls, those before the
//                                first Enter, and those until the next
//                                message after it
#include "tests/faults/fault_list_win32.h"  // first: it asks for Vista's declarations

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <tuple>
#include <type_traits>

#include "tests/faults/fault_counter.h"

namespace fault {
namespace {

enum Index : std::size_t {
#define FAULT_INDEX(name, failure, error) k##name,
  FAULT_FUNCTIONS(FAULT_INDEX)
#undef FAULT_INDEX
      kHookCount
};

struct Hook {
  const char* name;
  std::intptr_t failure;
  DWORD error;
  void* stub;
  void* real = nullptr;
  Counter counter;
};

template <std::size_t I, typename F>
struct Stub;

std::array<Hook, kHookCount>& Hooks();

// -- the log ---------------------------------------------------------------

HANDLE g_log = INVALID_HANDLE_VALUE;

void Log(const char* line) {
  if (g_log == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(g_log, line, static_cast<DWORD>(std::strlen(line)), &written, nullptr);
  WriteFile(g_log, "\n", 1, &written, nullptr);
}

// -- the program's GDI objects and icons, for the snapshot -----------------

std::set<void*>* g_gdi = nullptr;
std::set<void*>* g_icons = nullptr;
UINT g_snapshot_message = 0;

void Track(std::set<void*>* set, void* handle) {
  if (set && handle) set->insert(handle);
}

void Untrack(std::set<void*>* set, void* handle) {
  if (set) set->erase(handle);
}

BOOL CALLBACK CountChildren(HWND, LPARAM count) {
  ++*reinterpret_cast<int*>(count);
  return TRUE;
}

BOOL CALLBACK CountWindow(HWND window, LPARAM count) {
  ++*reinterpret_cast<int*>(count);
  EnumChildWindows(window, CountChildren, count);
  return TRUE;
}

void Snapshot() {
  int windows = 0;
  EnumThreadWindows(GetCurrentThreadId(), CountWindow, reinterpret_cast<LPARAM>(&windows));
  char line[96];
  std::snprintf(line, sizeof line, "live gdi=%u icons=%u windows=%d", static_cast<unsigned>(g_gdi->size()),
                static_cast<unsigned>(g_icons->size()), windows);
  Log(line);
}

// -- the first send ----------------------------------------------------------

bool g_send_seen = false;
bool g_send_open = false;  // its Enter is being handled
UINT g_handling = 0;       // a release being handled, logged once it was

// The program asks for its next message: what it took before is handled.
void AtEachMessage() {
  if (g_handling) {
    char line[32];
    std::snprintf(line, sizeof line, "handled 0x%X", g_handling);
    Log(line);
    g_handling = 0;
  }
  if (g_send_open) {
    g_send_open = false;
    for (Hook& h : Hooks()) h.counter.MarkSendEnd();
    NewCounter().MarkSendEnd();
  }
}

void Retrieved(const MSG* msg) {
  if (!msg) return;
  if (msg->message == WM_CHAR && msg->wParam == 13 && !g_send_seen) {
    g_send_seen = g_send_open = true;
    for (Hook& h : Hooks()) h.counter.MarkSend();
    NewCounter().MarkSend();
    Log("send");
  }
  if (g_snapshot_message && msg->message == g_snapshot_message) Snapshot();
  // A click or a key is done with once the program asks for the next
  // message; a modal dialog it opened has closed by then.
  if (msg->message == WM_LBUTTONUP || msg->message == WM_RBUTTONUP || msg->message == WM_KEYUP) {
    g_handling = msg->message;
  }
}

unsigned long long Ull(std::uint64_t n) { return static_cast<unsigned long long>(n); }

void LogCalls() {
  static bool logged = false;
  if (logged) return;
  logged = true;
  if (g_send_open) AtEachMessage();
  char line[160];
  for (const Hook& h : Hooks()) {
    const Counter& c = h.counter;
    if (c.Calls() == 0) continue;
    std::snprintf(line, sizeof line, "calls %s %llu %llu %llu", h.name, Ull(c.Calls()), Ull(c.AtSend()),
                  Ull(c.AfterSend()));
    Log(line);
  }
  const Counter& n = NewCounter();
  std::snprintf(line, sizeof line, "calls new %llu %llu %llu", Ull(n.Calls()), Ull(n.AtSend()), Ull(n.AfterSend()));
  Log(line);
}

// -- what a stub does around the real call ----------------------------------

// The n-th argument of a call.
template <std::size_t N, typename... A>
auto Arg(A... args) {
  return std::get<N>(std::tuple<A...>(args...));
}

template <typename R>
R FailureValue(std::intptr_t value) {
  if constexpr (std::is_pointer_v<R>) {
    return reinterpret_cast<R>(value);
  } else {
    return static_cast<R>(value);
  }
}

// Before the call: the program's call count, and whether this call fails.
bool ShouldFail(std::size_t i) {
  Hook& h = Hooks()[i];
  if (!h.counter.Call()) return false;
  char line[96];
  std::snprintf(line, sizeof line, "fault %s %llu", h.name, Ull(h.counter.Calls()));
  Log(line);
  return true;
}

template <std::size_t I, typename R, typename... A>
void Observe(R result, A... args) {
  if constexpr (I == kCreateCompatibleDC || I == kCreateDIBSection || I == kCreateFontIndirectW ||
                I == kCreateRectRgn || I == kCreateSolidBrush || I == kGetDC || I == kBeginPaint) {
    Track(g_gdi, result);
  } else if constexpr (I == kSetWindowRgn) {
    if (result) Untrack(g_gdi, Arg<1>(args...));  // the system owns it now
  } else if constexpr (I == kLoadImageW) {
    if (Arg<2>(args...) == IMAGE_ICON) Track(g_icons, result);
  } else if constexpr (I == kGetMessageW) {
    if (result > 0) Retrieved(Arg<0>(args...));
  } else if constexpr (I == kPeekMessageW) {
    if (result && (Arg<4>(args...) & PM_REMOVE)) {
      Retrieved(Arg<0>(args...));
    }
  } else if constexpr (I == kChooseColorW || I == kMessageBoxW || I == kShell_NotifyIconA) {
    char line[96];
    std::snprintf(line, sizeof line, "done %s %ld", Hooks()[I].name, static_cast<long>(result));
    Log(line);
  } else if constexpr (I == kMessageBeep) {
    Log("beep");
  }
}

// An object the program hands back is no longer the program's, even when
// the system then refuses to delete it: the program did its part.
template <std::size_t I, typename... A>
void Release(A... args) {
  if constexpr (I == kDeleteObject || I == kDeleteDC) {
    Untrack(g_gdi, Arg<0>(args...));
  } else if constexpr (I == kReleaseDC) {
    Untrack(g_gdi, Arg<1>(args...));
  } else if constexpr (I == kEndPaint) {
    Untrack(g_gdi, Arg<1>(args...)->hdc);
  } else if constexpr (I == kDestroyIcon) {
    Untrack(g_icons, Arg<0>(args...));
  }
}

template <std::size_t I, typename R, typename... A>
struct Stub<I, R WINAPI(A...)> {
  static R WINAPI Call(A... args) {
    using Real = R(WINAPI*)(A...);
    const auto real = reinterpret_cast<Real>(Hooks()[I].real);
    if (g_module_inside) return real(args...);
    if constexpr (I == kGetMessageW || I == kPeekMessageW) AtEachMessage();
    if constexpr (I == kOutputDebugStringA) {
      char line[512];
      std::snprintf(line, sizeof line, "debug %s", Arg<0>(args...));
      if (char* end = std::strchr(line, '\n')) *end = '\0';
      Log(line);
    }
    g_module_inside = true;
    Release<I>(args...);
    g_module_inside = false;
    const bool fail = ShouldFail(I);
    if constexpr (I == kExitProcess) LogCalls();  // the program ends in it
    if (fail) {
      reinterpret_cast<decltype(&::SetLastError)>(Hooks()[kSetLastError].real)(Hooks()[I].error);
      if constexpr (!std::is_void_v<R>) return FailureValue<R>(Hooks()[I].failure);
      else return;
    }
    if constexpr (std::is_void_v<R>) {
      real(args...);
    } else {
      R result = real(args...);
      g_module_inside = true;
      Observe<I>(result, args...);
      g_module_inside = false;
      return result;
    }
  }
};

// FormatMessageA's va_list* carries x86-64's ms_abi attribute, which a
// template argument drops; the stub only hands the pointer on.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wignored-attributes"
std::array<Hook, kHookCount>& Hooks() {
  static std::array<Hook, kHookCount> hooks{{
#define FAULT_HOOK(name, failure, error) \
  {#name, static_cast<std::intptr_t>(failure), static_cast<DWORD>(error), \
   reinterpret_cast<void*>(&Stub<k##name, std::remove_pointer_t<decltype(&::name)>>::Call), nullptr, {}},
      FAULT_FUNCTIONS(FAULT_HOOK)
#undef FAULT_HOOK
  }};
  return hooks;
}
#pragma GCC diagnostic pop

// -- routing the program's imports through the stubs -------------------------

Hook* HookNamed(const char* name) {
  for (Hook& h : Hooks()) {
    if (std::strcmp(h.name, name) == 0) return &h;
  }
  return nullptr;
}

void RouteImports() {
  auto* base = reinterpret_cast<std::uint8_t*>(GetModuleHandleW(nullptr));
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  std::string hooked = "hooked", cannot = "cannot-fail";
  for (auto* desc = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); desc->Name;
       ++desc) {
    auto* names = reinterpret_cast<const IMAGE_THUNK_DATA*>(base + desc->OriginalFirstThunk);
    auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + desc->FirstThunk);
    for (; names->u1.AddressOfData; ++names, ++slots) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
      const auto* by_name = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
      Hook* h = HookNamed(reinterpret_cast<const char*>(by_name->Name));
      if (!h) continue;
      DWORD old = 0;
      if (!VirtualProtect(&slots->u1.Function, sizeof(void*), PAGE_READWRITE, &old)) continue;
      h->real = reinterpret_cast<void*>(slots->u1.Function);
      slots->u1.Function = reinterpret_cast<ULONG_PTR>(h->stub);
      VirtualProtect(&slots->u1.Function, sizeof(void*), old, &old);
      (h->failure == kCannotFail ? cannot : hooked) += std::string(" ") + h->name;
    }
  }
  Log((hooked + cannot.substr(11)).c_str());
  Log(cannot.c_str());
}

std::string Environment(const wchar_t* name) {
  wchar_t value[1024];
  const DWORD n = GetEnvironmentVariableW(name, value, 1024);
  if (n == 0 || n >= 1024) return {};
  char utf8[4096];
  const int m = WideCharToMultiByte(CP_UTF8, 0, value, static_cast<int>(n), utf8, sizeof utf8, nullptr, nullptr);
  return std::string(utf8, m > 0 ? static_cast<std::size_t>(m) : 0);
}

// "NAME K", "NAME K+", "NAME send", "NAME send+".
void Arm(const std::string& choice) {
  const auto space = choice.find(' ');
  if (space == std::string::npos) return;
  const std::string name = choice.substr(0, space);
  std::string when = choice.substr(space + 1);
  const bool onwards = !when.empty() && when.back() == '+';
  if (onwards) when.pop_back();
  Counter* counter = name == "new" ? &NewCounter() : nullptr;
  if (!counter) {
    Hook* h = HookNamed(name.c_str());
    if (!h || h->failure == kCannotFail) {
      Log(("no failure to make: " + name).c_str());
      return;
    }
    counter = &h->counter;
  }
  if (when == "send") {
    counter->ArmAtSend(onwards);
  } else {
    counter->Arm(std::strtoull(when.c_str(), nullptr, 10), onwards);
  }
}

struct Install {
  Install() {
    g_module_inside = true;  // its own calls (VirtualProtect, ...) are not the program's
    const std::string log = Environment(L"MIRTANE_FAULT_LOG");
    if (!log.empty()) {
      wchar_t path[1024];
      const int n = MultiByteToWideChar(CP_UTF8, 0, log.c_str(), -1, path, 1024);
      if (n > 0) {
        g_log = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
      }
    }
    g_gdi = new std::set<void*>;
    g_icons = new std::set<void*>;
    g_snapshot_message = RegisterWindowMessageW(L"mirtane.faults.snapshot");
    RouteImports();
    Arm(Environment(L"MIRTANE_FAULT"));
    std::atexit(LogCalls);
    g_on_new_fault = [] {
      char line[64];
      std::snprintf(line, sizeof line, "fault new %llu", Ull(NewCounter().Calls()));
      Log(line);
    };
    NewCounter().Start();
    g_module_inside = false;
  }
};

// Before the program's main, after the C runtime's own start-up.
Install g_install;

}  // namespace
}  // namespace fault
