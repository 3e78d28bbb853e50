// A document window of class "AOL Child": a chat room, or a document that is
// no room. A room has, in child order, a display and an input box (its second
// rich-text control), a people list, a send button and a label; a document
// has a text box, a list and a label.
#pragma once

#include <windows.h>

#include <memory>

#include "tools/chatroom/room_box_win32.h"

namespace fader::room {

struct Doc {
  int number = 0;
  bool room = false;
  HWND hwnd = nullptr;
  std::unique_ptr<Box> display;
  std::unique_ptr<Box> input;  // rooms only
  HWND list = nullptr;
  HWND icon = nullptr;  // rooms only
  HWND label = nullptr;
};

LRESULT CALLBACK DocProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam);

// Opens doc in the frame's MDI client; null when it cannot.
HWND OpenDoc(Doc& doc, int x, int y, int width, int height);

// A room posts its input box's line: the display shows it, the input box
// empties and the log says so. Nothing happens in a document that is no room.
void PostLine(Doc& doc);

}  // namespace fader::room
