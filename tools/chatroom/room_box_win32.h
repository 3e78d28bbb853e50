// The room's rich-text boxes ("RICHCNTL"): a room's display and input box,
// and a document's text box. Their messages pass through an ANSI subclass
// that logs them, so that a set-text arrives as the 8-bit bytes the room
// logs; the room's own work goes straight to the rich-edit procedure and is
// not logged.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

namespace fader::room {

struct Doc;

struct Box {
  HWND hwnd = nullptr;
  WNDPROC ansi_next = nullptr;
  WNDPROC wide_proc = nullptr;
  std::string who;  // as the log names it
  Doc* doc = nullptr;
  bool input = false;
  // A long line set into the input box, and the start of it the control
  // shows (room_input_win32.h).
  std::u16string held_whole;
  std::u16string held_shown;
};

// Straight to the rich-edit procedure, past the subclass.
LRESULT CallWide(const Box& box, UINT msg, WPARAM wparam, LPARAM lparam);

// The text the control holds.
std::u16string BoxText(const Box& box);

// A box of doc made in parent (doc's window), subclassed and in the room's
// style; null when the control cannot be made.
std::unique_ptr<Box> MakeBox(Doc& doc, HWND parent, bool input, std::string who);

}  // namespace fader::room
