// chatroom: a stand-in for the chat client, for development and tests.
//
// A frame of class "AOL Frame25" with a real MDI client ("MDIClient") holds
// document windows of class "AOL Child". A chat room has, in child order, a
// display and an input box (both rich-edit controls under the class name
// "RICHCNTL", so the input box is the second one), a people list
// "_AOL_Listbox", a send button "_AOL_Icon" and a label "_AOL_Static".
// Documents that are no rooms have a text box, a list and a label but no
// button. In the MDI client's child order (the order FindWindowEx walks) the
// documents come first, then room 1, room 2, ... A click into a room makes it
// the active one and so the first, as in the real client.
//
// When a room's input box gets the Enter character (WM_CHAR 13), or its send
// button is clicked, the room posts the line: the display shows it rendered
// (font colours and faces, <b> <i> <u>, <sup> <sub>; other tags dropped,
// nothing unescaped) and the input box empties. A text set into an input box
// longer than 2,048 bytes shows only its start there; the room posts it whole
// unless that start was edited (room_input_win32.h).
//
// Command line:
//   --log FILE        log the messages the rich-text controls receive (below);
//                     the file is emptied first, every line flushed at once
//   --rooms N         chat rooms to open, 0 to 16 (default 1)
//   --documents N     documents that are no rooms, 0 to 16 (default 0)
//   --hang-input MS   a room's input box sleeps MS milliseconds (at most
//                     600000) on every WM_SETTEXT before it takes the text, as
//                     a hung client would (default 0)
//   --slow-enter MS   a room's input box takes MS milliseconds (at most
//                     600000) over the Enter character: it sleeps, then posts
//                     the line as usual, as a client slow to answer would
//                     (default 0)
//   --title TEXT      the frame's title (default "Stand-in chat room")
// A bad command line prints what is wrong to stderr and exits with code 2.
//
// Log lines; <who> is room=N for room N's input box, display=N for its
// display, document=N for document N's text box:
//   ready rooms=N documents=M cp=C            once every window is up
//   <who> msg=WM_SETTEXT cp=C bytes=HEX       the text exactly as the box's ANSI
//   <who> msg=EM_REPLACESEL cp=C bytes=HEX      window procedure got it, no NUL;
//                                               C is the room's ANSI code page
//   <who> msg=WM_CHAR wparam=N                the character as an ANSI byte
//   <who> msg=WM_KEYDOWN wparam=N             the virtual key
//   <who> msg=WM_PASTE wparam=0
//   room=N posted                             after room N posted a line
// HEX is two upper-case hexadecimal digits per byte, nothing between.

#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "tools/chatroom/room_app_win32.h"
#include "tools/chatroom/room_options.h"
#include "tools/chatroom/room_windows_win32.h"

namespace fader::room {

App* g_app = nullptr;

namespace {

std::vector<std::u16string> Arguments() {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  std::vector<std::u16string> args;
  for (int i = 1; argv && i < argc; ++i) {
    const std::wstring a(argv[i]);
    args.emplace_back(a.begin(), a.end());
  }
  if (argv) LocalFree(argv);
  return args;
}

int RunRoom(HINSTANCE instance) {
  App app;
  g_app = &app;
  app.instance = instance;
  app.code_page = GetACP();
  try {
    app.options = ParseOptions(Arguments());
  } catch (const UsageError& e) {
    std::fprintf(stderr, "chatroom: %s\n%s", e.what(), kUsage);
    return 2;
  }
  if (!app.options.log.empty() && !app.log.Open(app.options.log)) {
    std::fprintf(stderr, "chatroom: cannot open the log file\n");
    return 2;
  }
  if (!RegisterClasses() || !OpenWindows()) {
    std::fprintf(stderr, "chatroom: cannot create its windows\n");
    return 3;
  }
  app.log.Line("ready rooms=" + std::to_string(app.options.rooms) +
               " documents=" + std::to_string(app.options.documents) + " cp=" + std::to_string(app.code_page));

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (TranslateMDISysAccel(app.client, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  g_app = nullptr;
  return static_cast<int>(msg.wParam);
}

}  // namespace
}  // namespace fader::room

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  try {
    return fader::room::RunRoom(instance);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "chatroom: %s\n", e.what());
    return 3;
  }
}
