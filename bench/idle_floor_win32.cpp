// idle_floor: the least a window with a 1 ms timer can cost under Wine, for
// scripts/bench-wine.sh to measure beside the program: a bare window with an
// edit control, and a timer whose tick does nothing. With --log FILE it also
// writes "answered" there each time the edit control gets Enter, so that the
// time from a key to its answer has a floor too.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <cstdio>

namespace {

std::FILE* g_log = nullptr;

LRESULT CALLBACK EditProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
  if (msg == WM_CHAR && wp == 13 && g_log) {
    std::fputs("answered\n", g_log);
    std::fflush(g_log);
  }
  return DefSubclassProc(hwnd, msg, wp, lp);
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_TIMER:
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (argv && argc == 3 && lstrcmpW(argv[1], L"--log") == 0) g_log = _wfopen(argv[2], L"w");

  WNDCLASSW wc{};
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = L"IdleFloor";
  RegisterClassW(&wc);
  HWND hwnd = CreateWindowExW(0, L"IdleFloor", L"Idle floor", WS_POPUP | WS_BORDER, 440, 350, 400, 100, nullptr,
                              nullptr, instance, nullptr);
  HWND edit = CreateWindowExW(0, L"Edit", L"", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 10, 40, 380, 20, hwnd,
                              nullptr, instance, nullptr);
  SetWindowSubclass(edit, EditProc, 1, 0);
  ShowWindow(hwnd, SW_SHOW);
  SetFocus(edit);
  SetTimer(hwnd, 1, 1, nullptr);

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  if (g_log) std::fclose(g_log);
  LocalFree(argv);
  return 0;
}
