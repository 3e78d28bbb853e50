// What the stand-in room's parts share: the chat client's window classes and
// the state of the one room process, which window procedures reach through
// g_app.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "tools/chatroom/room_document_win32.h"
#include "tools/chatroom/room_log_win32.h"
#include "tools/chatroom/room_options.h"

namespace fader::room {

inline constexpr wchar_t kFrameClass[] = L"AOL Frame25";
inline constexpr wchar_t kDocClass[] = L"AOL Child";
inline constexpr wchar_t kRichClass[] = L"RICHCNTL";
inline constexpr wchar_t kListClass[] = L"_AOL_Listbox";
inline constexpr wchar_t kIconClass[] = L"_AOL_Icon";
inline constexpr wchar_t kStaticClass[] = L"_AOL_Static";

struct App {
  Options options;
  LogFile log;
  HINSTANCE instance = nullptr;
  UINT code_page = 0;
  HWND frame = nullptr;
  HWND client = nullptr;
  std::vector<std::unique_ptr<Doc>> docs;
};

// Set while the room runs.
extern App* g_app;

}  // namespace fader::room
