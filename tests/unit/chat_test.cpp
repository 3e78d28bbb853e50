// Room discovery and sending against a window tree made up in memory.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "chat/chat_room.h"
#include "tests/support/fake_window_tree.h"

namespace {

using fader::ChatSend;
using Delivery = fader::WindowTree::Delivery;
using fader::FindChatRoom;
using fader_test::FakeWindowTree;
using Handle = FakeWindowTree::Handle;
using Call = FakeWindowTree::Call;

struct Client {
  Handle frame = 0;
  Handle area = 0;
};

Client AddClient(FakeWindowTree& t) {
  Client c;
  c.frame = t.Add(0, "AOL Frame25");
  c.area = t.Add(c.frame, "MDIClient");
  return c;
}

struct Room {
  Handle doc = 0;
  std::vector<Handle> rich;
};

// A document with the given children; a room has display, input box, people
// list, icon and label, in that order, as the client makes them.
Handle AddDocument(FakeWindowTree& t, Handle area, const std::vector<std::string>& kids) {
  const Handle doc = t.Add(area, "AOL Child");
  for (const std::string& k : kids) t.Add(doc, k);
  return doc;
}

Room AddRoom(FakeWindowTree& t, Handle area, int rich_controls = 2, const std::string& rich_class = "RICHCNTL") {
  Room r;
  r.doc = t.Add(area, "AOL Child");
  for (int i = 0; i < rich_controls; ++i) r.rich.push_back(t.Add(r.doc, rich_class));
  t.Add(r.doc, "_AOL_Listbox");
  t.Add(r.doc, "_AOL_Icon");
  t.Add(r.doc, "_AOL_Static");
  return r;
}

Call Top(const std::string& cls, Handle result) {
  Call c(Call::kTopLevel);
  c.cls = cls;
  c.result = result;
  return c;
}

Call Child(Handle parent, Handle after, const std::string& cls, Handle result) {
  Call c(Call::kChild);
  c.parent = parent;
  c.after = after;
  c.cls = cls;
  c.result = result;
  return c;
}

Call SendOf(Handle window, std::uint32_t id, std::uintptr_t wparam, const std::u16string& text, Delivery delivery) {
  Call c(Call::kSend);
  c.window = window;
  c.id = id;
  c.wparam = wparam;
  c.text = text;
  c.delivery = delivery;
  return c;
}

std::string Describe(const Call& c) {
  switch (c.kind) {
    case Call::kTopLevel:
      return "top(" + c.cls + ")=" + std::to_string(c.result);
    case Call::kChild:
      return "child(" + std::to_string(c.parent) + "," + std::to_string(c.after) + "," + c.cls +
             ")=" + std::to_string(c.result);
    case Call::kSend:
      return "send(" + std::to_string(c.window) + ",msg " + std::to_string(c.id) + ",w " +
             std::to_string(c.wparam) + ",l " + std::to_string(c.lparam) + ",text " +
             std::to_string(c.text.size()) + " units)=" +
             (c.delivery == Delivery::kAnswered ? "answered" : c.delivery == Delivery::kTimedOut ? "late" : "lost");
  }
  return "?";
}

std::vector<std::string> Describe(const std::vector<Call>& calls) {
  std::vector<std::string> out;
  for (const Call& c : calls) out.push_back(Describe(c));
  return out;
}

// The four searches of the room test on doc.
void ExpectRoomTest(std::vector<Call>& want, Handle doc, Handle rich, Handle list, Handle icon, Handle label) {
  want.push_back(Child(doc, 0, "RICHCNTL", rich));
  want.push_back(Child(doc, 0, "_AOL_Listbox", list));
  want.push_back(Child(doc, 0, "_AOL_Icon", icon));
  want.push_back(Child(doc, 0, "_AOL_Static", label));
}

// ---------------------------------------------------------------- discovery

TEST(FindChatRoom, NoClientFindsNothingAndPassesTheZeroHandlesOn) {
  FakeWindowTree t;
  t.Add(0, "Notepad");
  EXPECT_EQ(FindChatRoom(t), 0u);

  // Every search runs; each 0 becomes the next parent (the desktop), and the
  // document walk is made once more before it gives up.
  std::vector<Call> want = {Top("AOL Frame25", 0), Child(0, 0, "MDIClient", 0), Child(0, 0, "AOL Child", 0)};
  ExpectRoomTest(want, 0, 0, 0, 0, 0);
  want.push_back(Child(0, 0, "AOL Child", 0));
  ExpectRoomTest(want, 0, 0, 0, 0, 0);
  EXPECT_EQ(Describe(t.calls), Describe(want));
}

TEST(FindChatRoom, DocumentLackingAnyOneClassIsSkippedForTheNext) {
  const std::vector<std::string> four = {"RICHCNTL", "_AOL_Listbox", "_AOL_Icon", "_AOL_Static"};
  for (std::size_t missing = 0; missing < four.size(); ++missing) {
    SCOPED_TRACE("missing " + four[missing]);
    FakeWindowTree t;
    const Client c = AddClient(t);
    std::vector<std::string> kids;
    for (std::size_t i = 0; i < four.size(); ++i)
      if (i != missing) kids.push_back(four[i]);
    kids.push_back(kids.front());  // a second of a class present does not make up for the missing one
    AddDocument(t, c.area, kids);
    const Room room = AddRoom(t, c.area);
    EXPECT_EQ(FindChatRoom(t), room.doc);
  }
}

TEST(FindChatRoom, AllFourSearchesAreMadeEvenWhenTheFirstFindsNothing) {
  FakeWindowTree t;
  const Client c = AddClient(t);
  const Handle doc = AddDocument(t, c.area, {"_AOL_Icon"});
  EXPECT_EQ(FindChatRoom(t), 0u);

  std::vector<Call> want = {Top("AOL Frame25", c.frame), Child(c.frame, 0, "MDIClient", c.area),
                            Child(c.area, 0, "AOL Child", doc)};
  ExpectRoomTest(want, doc, 0, 0, doc + 1, 0);
  want.push_back(Child(c.area, doc, "AOL Child", 0));
  ExpectRoomTest(want, 0, 0, 0, 0, 0);
  EXPECT_EQ(Describe(t.calls), Describe(want));
}

TEST(FindChatRoom, TheFourClassesOnlyAsGrandchildrenMakeNoRoom) {
  FakeWindowTree t;
  const Client c = AddClient(t);
  const Handle doc = t.Add(c.area, "AOL Child");
  const Handle pane = t.Add(doc, "_AOL_Panel");
  for (const char* k : {"RICHCNTL", "RICHCNTL", "_AOL_Listbox", "_AOL_Icon", "_AOL_Static"}) t.Add(pane, k);
  EXPECT_EQ(FindChatRoom(t), 0u);
  EXPECT_FALSE(ChatSend(t, u"hi"));
  EXPECT_TRUE(t.Sends().empty());
}

TEST(FindChatRoom, OfTwoRoomsTheFirstInChildOrderIsChosen) {
  FakeWindowTree t;
  const Client c = AddClient(t);
  AddDocument(t, c.area, {"RICHCNTL", "_AOL_Listbox"});
  const Room first = AddRoom(t, c.area);
  AddRoom(t, c.area);
  EXPECT_EQ(FindChatRoom(t), first.doc);
  ASSERT_TRUE(ChatSend(t, u"x"));
  for (const Call& s : t.Sends()) EXPECT_EQ(s.window, first.rich[1]);
}

TEST(FindChatRoom, MixedCaseClassNamesPassTheRoomTest) {
  FakeWindowTree t;
  const Client c = AddClient(t);
  const Handle doc = AddDocument(t, c.area, {"RichCntl", "RichCntl", "_aol_listbox", "_Aol_Icon", "_AOL_STATIC"});
  EXPECT_EQ(FindChatRoom(t), doc);
}

TEST(FindChatRoom, OnlyTheFirstClientFrameIsSearched) {
  FakeWindowTree t;
  AddClient(t);  // a frame with no rooms, topmost
  const Client other = AddClient(t);
  AddRoom(t, other.area);
  EXPECT_EQ(FindChatRoom(t), 0u);
}

// A 0 handle searches the top-level windows, so windows there stand in for
// missing parts of the client: those outcomes are part of the behaviour.
TEST(FindChatRoom, WithNoDocumentTopLevelWindowsOfTheFourClassesEndTheWalkAtOnce) {
  FakeWindowTree t;
  AddClient(t);
  for (const char* k : {"RICHCNTL", "_AOL_Listbox", "_AOL_Icon", "_AOL_Static"}) t.Add(0, k);
  EXPECT_EQ(FindChatRoom(t), 0u);
  // Step 4's test passed on doc 0, so the walk stopped: no second "AOL Child" search.
  int child_searches = 0;
  for (const Call& call : t.calls)
    if (call.kind == Call::kChild && call.cls == "AOL Child") ++child_searches;
  EXPECT_EQ(child_searches, 1);
  EXPECT_EQ(t.calls.size(), 7u);
}

TEST(FindChatRoom, WithNoFrameATopLevelRoomWindowIsFound) {
  FakeWindowTree t;
  const Room room = AddRoom(t, 0);
  EXPECT_EQ(FindChatRoom(t), room.doc);
}

TEST(FindChatRoom, ADocumentRemovedDuringTheWalkEndsIt) {
  FakeWindowTree t;
  const Client c = AddClient(t);
  const Handle doc = AddDocument(t, c.area, {"RICHCNTL"});
  AddRoom(t, c.area);
  // Closed after its test, before the search for the next document.
  t.before_call = [&](std::size_t n) {
    if (n == 7) t.Destroy(doc);
  };
  EXPECT_EQ(FindChatRoom(t), 0u);
}

// ------------------------------------------------------------------ sending

TEST(ChatSend, NoClientSendsNothingAndReportsIt) {
  FakeWindowTree t;
  EXPECT_FALSE(ChatSend(t, u"hello"));
  EXPECT_TRUE(t.Sends().empty());
}

TEST(ChatSend, EveryCallInOrderForATypicalClient) {
  FakeWindowTree t;
  const Client c = AddClient(t);
  const Handle info = AddDocument(t, c.area, {"RICHCNTL", "_AOL_Static"});
  const Room room = AddRoom(t, c.area);
  ASSERT_TRUE(ChatSend(t, u"<font color=\"#FF0000\">a"));

  std::vector<Call> want = {Top("AOL Frame25", c.frame), Child(c.frame, 0, "MDIClient", c.area),
                            Child(c.area, 0, "AOL Child", info)};
  ExpectRoomTest(want, info, info + 1, 0, 0, info + 2);
  want.push_back(Child(c.area, info, "AOL Child", room.doc));
  ExpectRoomTest(want, room.doc, room.rich[0], room.rich[1] + 1, room.rich[1] + 2, room.rich[1] + 3);
  want.push_back(Child(room.doc, 0, "richcntl", room.rich[0]));
  want.push_back(Child(room.doc, room.rich[0], "richcntl", room.rich[1]));
  want.push_back(SendOf(room.rich[1], fader::kWmSetText, 0, u"<font color=\"#FF0000\">a", Delivery::kAnswered));
  want.push_back(SendOf(room.rich[1], fader::kWmChar, 13, u"", Delivery::kAnswered));
  EXPECT_EQ(Describe(t.calls), Describe(want));
  EXPECT_EQ(t.Sends()[0].text, u"<font color=\"#FF0000\">a");
}

TEST(ChatSend, RoomWithOneRichTextControlGetsTheLineThereAfterASecondSearch) {
  FakeWindowTree t;
  const Client c = AddClient(t);
  const Room room = AddRoom(t, c.area, 1);
  ASSERT_TRUE(ChatSend(t, u"solo"));

  // first, the failed search for a second one, then the first searched again.
  const std::size_t n = t.calls.size();
  ASSERT_GE(n, 5u);
  EXPECT_EQ(Describe(t.calls[n - 5]), Describe(Child(room.doc, 0, "richcntl", room.rich[0])));
  EXPECT_EQ(Describe(t.calls[n - 4]), Describe(Child(room.doc, room.rich[0], "richcntl", 0)));
  EXPECT_EQ(Describe(t.calls[n - 3]), Describe(Child(room.doc, 0, "richcntl", room.rich[0])));
  EXPECT_EQ(Describe(t.calls[n - 2]), Describe(SendOf(room.rich[0], fader::kWmSetText, 0, u"solo", Delivery::kAnswered)));
  EXPECT_EQ(Describe(t.calls[n - 1]), Describe(SendOf(room.rich[0], fader::kWmChar, 13, u"", Delivery::kAnswered)));
}

TEST(ChatSend, RoomWithThreeRichTextControlsGetsTheLineInTheSecond) {
  FakeWindowTree t;
  const Client c = AddClient(t);
  const Room room = AddRoom(t, c.area, 3);
  ASSERT_TRUE(ChatSend(t, u"three"));
  const auto sends = t.Sends();
  ASSERT_EQ(sends.size(), 2u);
  EXPECT_EQ(sends[0].window, room.rich[1]);
  EXPECT_EQ(sends[1].window, room.rich[1]);
}

TEST(ChatSend, MixedCaseRichTextControlsAreFoundBySending) {
  FakeWindowTree t;
  const Client c = AddClient(t);
  const Room room = AddRoom(t, c.area, 2, "RichCntl");
  ASSERT_TRUE(ChatSend(t, u"case"));
  EXPECT_EQ(t.Sends().at(0).window, room.rich[1]);
}

TEST(ChatSend, EmptyTextStillSetsTheBoxAndSendsEnter) {
  FakeWindowTree t;
  const Client c = AddClient(t);
  const Room room = AddRoom(t, c.area);
  ASSERT_TRUE(ChatSend(t, u""));
  EXPECT_EQ(Describe(t.Sends()), Describe(std::vector<Call>{SendOf(room.rich[1], fader::kWmSetText, 0, u"", Delivery::kAnswered),
                                           SendOf(room.rich[1], fader::kWmChar, 13, u"", Delivery::kAnswered)}));
}

TEST(ChatSend, TextGoesOutUnchanged) {
  FakeWindowTree t;
  const Client c = AddClient(t);
  AddRoom(t, c.area);
  std::u16string text = u"\u00ed\u00e1\u00e9\u00f8\u00fd\u00fa\u00b7\u2022 <b>&amp;";
  text.push_back(u'\0');  // an embedded NUL is the caller's business, not cut here
  text += std::u16string(40000, u'x');
  ASSERT_TRUE(ChatSend(t, text));
  EXPECT_EQ(t.Sends().at(0).text, text);
}

TEST(ChatSend, SetTextNotDeliveredSendsNoEnter) {
  FakeWindowTree t;
  const Client c = AddClient(t);
  const Room room = AddRoom(t, c.area);
  t.Hang(room.rich[1]);
  EXPECT_FALSE(ChatSend(t, u"lost"));
  EXPECT_EQ(Describe(t.Sends()), Describe(std::vector<Call>{SendOf(room.rich[1], fader::kWmSetText, 0, u"lost", Delivery::kTimedOut)}));
}

TEST(ChatSend, EnterNotDeliveredIsReported) {
  FakeWindowTree t;
  const Client c = AddClient(t);
  AddRoom(t, c.area);
  t.Refuse(fader::kWmChar);
  EXPECT_FALSE(ChatSend(t, u"half"));
  ASSERT_EQ(t.Sends().size(), 2u);
  EXPECT_EQ(t.Sends()[0].delivery, Delivery::kAnswered);
}

TEST(ChatSend, EnterAnsweredLateStillCountsAsSentAndSetTextAnsweredLateDoesNot) {
  // The client posts the line when it gets to the Enter: sending it again
  // would post it twice.
  FakeWindowTree t;
  const Client c = AddClient(t);
  AddRoom(t, c.area);
  t.AnswerLate(fader::kWmChar);
  EXPECT_TRUE(ChatSend(t, u"slow"));
  // A box that has not taken the text yet gets no Enter: nothing is posted.
  FakeWindowTree u;
  AddRoom(u, AddClient(u).area);
  u.AnswerLate(fader::kWmSetText);
  EXPECT_FALSE(ChatSend(u, u"held"));
  EXPECT_EQ(u.Sends().size(), 1u);
}

TEST(ChatSend, RichTextControlsGoneAfterTheRoomTestSendToNoWindow) {
  FakeWindowTree t;
  const Client c = AddClient(t);
  const Room room = AddRoom(t, c.area);
  // The room loses its rich-text controls right after it passed the test.
  t.before_call = [&](std::size_t n) {
    if (n == 7)
      for (Handle h : room.rich) t.Destroy(h);
  };
  EXPECT_FALSE(ChatSend(t, u"gone"));
  // The set-text still goes out, to window 0, and is not delivered.
  EXPECT_EQ(Describe(t.Sends()), Describe(std::vector<Call>{SendOf(0, fader::kWmSetText, 0, u"gone", Delivery::kNotDelivered)}));
}

TEST(ChatSend, EachCallSearchesAnew) {
  FakeWindowTree t;
  const Client c = AddClient(t);
  const Room first = AddRoom(t, c.area);
  const Room second = AddRoom(t, c.area);
  ASSERT_TRUE(ChatSend(t, u"one"));
  t.Destroy(first.doc);
  ASSERT_TRUE(ChatSend(t, u"two"));
  const auto sends = t.Sends();
  ASSERT_EQ(sends.size(), 4u);
  EXPECT_EQ(sends[0].window, first.rich[1]);
  EXPECT_EQ(sends[2].window, second.rich[1]);
  EXPECT_EQ(sends[2].text, u"two");
}

}  // namespace
