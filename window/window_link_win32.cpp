#include "window/window_link_win32.h"

#include <array>
#include <string_view>

namespace fader {
namespace {

struct Link {
  HWND window = nullptr;
  void* object = nullptr;
  const char* what = nullptr;
};

// The program's one GUI thread makes and destroys every window of its
// classes: the window and the ten of its fifteen controls that are of the
// program's own classes, a few more in tests.
std::array<Link, 64> g_links;

void* g_being_created = nullptr;
const char* g_kind_being_created = nullptr;
int g_destroying = 0;

// Kinds compare by name: a literal need not have one address in every file.
// The same pointer, which nearly every message brings, needs no comparing.
bool SameKind(const char* a, const char* b) { return a && b && (a == b || std::string_view(a) == b); }

Link* Find(HWND window) {
  for (Link& link : g_links) {
    if (link.window == window) return &link;
  }
  return nullptr;
}

}  // namespace

namespace link_detail {

bool LinkIfBeingCreated(HWND window, const char* what) {
  if (!window || !g_being_created || !SameKind(g_kind_being_created, what) || Find(window)) return false;
  Link* free = Find(nullptr);
  if (!free) return false;
  *free = Link{window, g_being_created, what};
  g_being_created = nullptr;  // the first WM_NCCREATE is the window's own
  return true;
}

void* Linked(HWND window, const char* what) {
  const Link* link = window ? Find(window) : nullptr;
  return link && SameKind(link->what, what) ? link->object : nullptr;
}

void Unlink(HWND window) {
  if (Link* link = window ? Find(window) : nullptr) *link = Link{};
}

bool Destroying() { return g_destroying > 0; }

}  // namespace link_detail

const wchar_t* RegisterWindowClass(const wchar_t* name, WNDPROC proc, HCURSOR cursor) {
  WNDCLASSEXW wc{};
  HINSTANCE inst = GetModuleHandleW(nullptr);
  if (GetClassInfoExW(inst, name, &wc)) return name;
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = proc;
  wc.hInstance = inst;
  wc.hCursor = cursor;
  wc.lpszClassName = name;
  return RegisterClassExW(&wc) ? name : nullptr;
}

HWND CreateLinkedWindow(void* object, const char* what, DWORD ex_style, const wchar_t* cls, const wchar_t* text,
                        DWORD style, int x, int y, int width, int height, HWND parent, int id) {
  if (!cls) return nullptr;
  g_being_created = object;
  g_kind_being_created = what;
  HWND window = CreateWindowExW(ex_style, cls, text, style, x, y, width, height, parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
  const bool linked = window && link_detail::Linked(window, what) == object;
  g_being_created = nullptr;
  g_kind_being_created = nullptr;
  if (window && !linked) {
    // A window the program cannot reach its object from would be a dead one.
    DestroyLinkedWindow(window);
    return nullptr;
  }
  return window;
}

bool DestroyLinkedWindow(HWND window) {
  ++g_destroying;
  const bool done = DestroyWindow(window) != FALSE;
  --g_destroying;
  return done;
}

void NoteEscapedException(const char* where) noexcept {
  OutputDebugStringA("mirtane: an exception reached the window procedure of ");
  OutputDebugStringA(where);
  OutputDebugStringA("\n");
}

}  // namespace fader
