// Every search of room discovery runs even when an earlier one found nothing,
// and a 0 handle goes on as the next parent, so the window system then
// searches the top-level windows. Which room is found (top-level windows can
// stand in for missing parts of the client) and what the client sees searched
// follow from exactly these steps, so none is skipped or reordered.
#include "chat/chat_room.h"

namespace fader {
namespace {

using Handle = WindowTree::Handle;

// All four searches are always made, whatever the earlier ones found.
bool IsChatRoom(WindowTree& tree, Handle doc) {
  const Handle rich = tree.FindChild(doc, 0, "RICHCNTL");
  const Handle list = tree.FindChild(doc, 0, "_AOL_Listbox");
  const Handle icon = tree.FindChild(doc, 0, "_AOL_Icon");
  const Handle label = tree.FindChild(doc, 0, "_AOL_Static");
  return rich != 0 && list != 0 && icon != 0 && label != 0;
}

}  // namespace

Handle FindChatRoom(WindowTree& tree) {
  const Handle frame = tree.FindTopLevel("AOL Frame25");
  const Handle area = tree.FindChild(frame, 0, "MDIClient");
  Handle doc = tree.FindChild(area, 0, "AOL Child");
  if (IsChatRoom(tree, doc)) return doc;
  for (;;) {
    doc = tree.FindChild(area, doc, "AOL Child");
    // Off the end of the documents doc is 0, and so is the result, whatever
    // the test found among the top-level windows.
    if (IsChatRoom(tree, doc)) return doc;
    if (doc == 0) return 0;
  }
}

bool ChatSend(WindowTree& tree, std::u16string_view text) {
  const Handle room = FindChatRoom(tree);
  if (room == 0) return false;

  // The input box is the room's second rich-text control; the first is the
  // display. A room with only one gets the line in that one.
  const Handle first = tree.FindChild(room, 0, "richcntl");
  const Handle second = tree.FindChild(room, first, "richcntl");
  const Handle target = (first != 0 && second != 0) ? second : tree.FindChild(room, 0, "richcntl");

  // Sent whatever target is: with 0 the set-text reaches no window and the
  // Enter character is not sent after it. Nor is it after a set-text that was
  // not answered: the box may take the text later, but with no Enter behind it
  // nothing is posted, so the line stays with the user.
  Message set_text;
  set_text.id = kWmSetText;
  set_text.text = text;
  if (tree.Send(target, set_text) != WindowTree::Delivery::kAnswered) return false;

  // Once the box holds the line, an Enter that is slow to be answered still
  // posts it when the client gets to it: the line has gone out, and sending
  // it again would post it twice.
  Message enter;
  enter.id = kWmChar;
  enter.wparam = 13;
  return tree.Send(target, enter) != WindowTree::Delivery::kNotDelivered && target != 0;
}

}  // namespace fader
