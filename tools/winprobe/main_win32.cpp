// winprobe: reads what another program's windows hold, for the end-to-end
// tests, which drive the program with real input and must see its state
// rather than guess it from timing or from a layout that fonts can change.
//
//   winprobe text-at X Y          the text of the window at screen point X, Y
//                                 (the topmost child there), as UTF-8
//   winprobe item-rect TITLE ID   the client area of dialog item ID of the
//                                 top-level window titled TITLE, on the
//                                 screen: "LEFT TOP WIDTH HEIGHT"
//   winprobe clipboard            the text on the clipboard as programs see
//                                 it, as UTF-8 (under Wine it follows the X
//                                 clipboard a moment after it changes)
//   winprobe region TITLE         the window region of the top-level window
//                                 titled TITLE, a line "LEFT TOP RIGHT BOTTOM"
//                                 a rectangle, in window coordinates
//   winprobe post TITLE MESSAGE   posts MESSAGE (a number, or the name of a
//                                 registered message) to the top-level window
//                                 titled TITLE
//
// Exit code 0 with the answer on stdout; 1 when there is no such window or it
// does not answer within 5 s; 2 for a bad command line.

#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

constexpr UINT kAnswerMs = 5000;

bool ReadNumber(const wchar_t* text, long& out) {
  wchar_t* end = nullptr;
  out = std::wcstol(text, &end, 10);
  return end != text && *end == L'\0';
}

void PrintUtf8(const std::wstring& text) {
  if (text.empty()) return;
  const int n =
      WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(), n, nullptr, nullptr);
  std::fwrite(utf8.data(), 1, utf8.size(), stdout);
}

// The text as UTF-8 on stdout, exactly, with no line break after it.
int PrintText(HWND hwnd) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kAnswerMs, &length)) return 1;
  std::wstring text(length + 1, L'\0');
  DWORD_PTR got = 0;
  if (!SendMessageTimeoutW(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                           kAnswerMs, &got)) {
    return 1;
  }
  text.resize(got);
  PrintUtf8(text);
  return 0;
}

int Clipboard() {
  if (!OpenClipboard(nullptr)) return 1;
  int code = 1;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* text = static_cast<const wchar_t*>(GlobalLock(data))) {
      PrintUtf8(text);
      GlobalUnlock(data);
      code = 0;
    }
  }
  CloseClipboard();
  return code;
}

int TextAt(long x, long y) {
  const POINT pt{x, y};
  HWND hwnd = WindowFromPoint(pt);
  return hwnd ? PrintText(hwnd) : 1;
}

int ItemRect(const wchar_t* title, long id) {
  // The first window of that title that has the item: a dialog of the same
  // title may be on its way out beside the one on the screen.
  HWND item = nullptr;
  for (HWND dialog = nullptr; !item && (dialog = FindWindowExW(nullptr, dialog, nullptr, title));) {
    item = GetDlgItem(dialog, static_cast<int>(id));
  }
  RECT rc{};
  if (!item || !GetClientRect(item, &rc)) return 1;
  MapWindowPoints(item, nullptr, reinterpret_cast<POINT*>(&rc), 2);
  std::printf("%ld %ld %ld %ld\n", rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top);
  return 0;
}

int Region(const wchar_t* title) {
  HWND window = FindWindowW(nullptr, title);
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  int code = 1;
  if (window && region && GetWindowRgn(window, region) != ERROR) {
    const DWORD size = GetRegionData(region, 0, nullptr);
    std::vector<DWORD> words((size + sizeof(DWORD) - 1) / sizeof(DWORD));
    auto* data = reinterpret_cast<RGNDATA*>(words.data());
    if (size && GetRegionData(region, size, data) == size) {
      const auto* rects = reinterpret_cast<const RECT*>(data->Buffer);
      for (DWORD i = 0; i < data->rdh.nCount; ++i) {
        std::printf("%ld %ld %ld %ld\n", rects[i].left, rects[i].top, rects[i].right, rects[i].bottom);
      }
      code = 0;
    }
  }
  if (region) DeleteObject(region);
  return code;
}

int Post(const wchar_t* title, const wchar_t* message) {
  HWND window = FindWindowW(nullptr, title);
  long number = 0;
  const UINT msg = ReadNumber(message, number) ? static_cast<UINT>(number) : RegisterWindowMessageW(message);
  return window && msg && PostMessageW(window, msg, 0, 0) ? 0 : 1;
}

int Run(int argc, wchar_t** argv) {
  long a = 0, b = 0;
  if (argc == 4 && std::wcscmp(argv[1], L"text-at") == 0 && ReadNumber(argv[2], a) && ReadNumber(argv[3], b)) {
    return TextAt(a, b);
  }
  if (argc == 4 && std::wcscmp(argv[1], L"item-rect") == 0 && ReadNumber(argv[3], a)) return ItemRect(argv[2], a);
  if (argc == 2 && std::wcscmp(argv[1], L"clipboard") == 0) return Clipboard();
  if (argc == 3 && std::wcscmp(argv[1], L"region") == 0) return Region(argv[2]);
  if (argc == 4 && std::wcscmp(argv[1], L"post") == 0) return Post(argv[2], argv[3]);
  std::fputs("usage: winprobe text-at X Y | item-rect TITLE ID | clipboard | region TITLE | post TITLE MESSAGE\n", stderr);
  return 2;
}

}  // namespace

int main() {
  // Aware of dpi, so that its points and places are the screen's pixels, as
  // X has them, at any scale: a reader that is not would be given another
  // program's aware window in 96-dpi terms. Vista's, so looked up.
  using SetAware = BOOL(WINAPI*)();
  if (const auto set_aware = reinterpret_cast<SetAware>(reinterpret_cast<void (*)()>(
          GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetProcessDPIAware")))) {
    set_aware();
  }
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (!argv) return 2;
  const int code = Run(argc, argv);
  LocalFree(argv);
  std::fflush(stdout);
  return code;
}
