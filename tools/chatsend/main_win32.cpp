// chatsend: posts one line into the chat room on this desktop, as the program
// does, for trying the stand-in room by hand and for end-to-end tests.
//
//   chatsend [--fade C1 C2 C3 C4 C5] [--wave] TEXT
//
// Without --fade TEXT goes out as it is (markup and all). With --fade it is
// first faded through the five colours, each written #RRGGBB. Exit code 0
// when the line went out, 1 when no room took it, 2 for a bad command line.

#include <windows.h>
#include <shellapi.h>

#include <cstdint>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "chat/chat_send_win32.h"
#include "render/fade.h"

namespace {

int HexDigit(wchar_t ch) {
  if (ch >= L'0' && ch <= L'9') return ch - L'0';
  if (ch >= L'a' && ch <= L'f') return ch - L'a' + 10;
  if (ch >= L'A' && ch <= L'F') return ch - L'A' + 10;
  return -1;
}

// "#RRGGBB" as a colour value 0x00BBGGRR; -1 when it is not one.
std::int32_t ParseColor(const std::wstring& s) {
  if (s.size() != 7 || s[0] != L'#') return -1;
  int d[6];
  for (int i = 0; i < 6; ++i)
    if ((d[i] = HexDigit(s[static_cast<std::size_t>(i) + 1])) < 0) return -1;
  const int r = d[0] * 16 + d[1], g = d[2] * 16 + d[3], b = d[4] * 16 + d[5];
  return (b << 16) | (g << 8) | r;
}

int Usage() {
  std::fputs("usage: chatsend [--fade #RRGGBB #RRGGBB #RRGGBB #RRGGBB #RRGGBB] [--wave] TEXT\n", stderr);
  return 2;
}

int Run() {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  std::vector<std::wstring> args;
  for (int i = 1; argv && i < argc; ++i) args.emplace_back(argv[i]);
  if (argv) LocalFree(argv);

  bool fade = false, wave = false;
  std::int32_t colors[5] = {};
  std::size_t i = 0;
  for (; i < args.size(); ++i) {
    if (args[i] == L"--fade") {
      if (i + 5 >= args.size()) return Usage();
      for (int k = 0; k < 5; ++k)
        if ((colors[k] = ParseColor(args[++i])) < 0) return Usage();
      fade = true;
    } else if (args[i] == L"--wave") {
      wave = true;
    } else {
      break;
    }
  }
  if (i + 1 != args.size()) return Usage();
  const std::u16string text(args[i].begin(), args[i].end());
  const std::u16string line =
      fade ? fader::FadeFiveColors(colors[0], colors[1], colors[2], colors[3], colors[4], text, wave) : text;
  return fader::ChatSend(line) ? 0 : 1;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  try {
    return Run();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "chatsend: %s\n", e.what());
    return 2;
  }
}
