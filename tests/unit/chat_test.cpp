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
using fader::test::FakeWindowTree;
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
  Call c = Call::TopLevel(cls);
  c.result = result;
  return c;
}

Call Child(Handle parent, Handle after, const std::string& cls, Handle result) {
  Call c = Call::Child(parent, after, cls);
  c.result = result;
  return c;
}

Call SendOf(Handle window, std::uint32_t id, std::uintptr_t wparam, const std::u16string& text, Delivery delivery) {
  fader::Message msg;
  msg.id = id;
  msg.wparam = wparam;
  msg.text = text;
  Call c = Call::Sent(window, msg);
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

// The classes a document needs among its direct children to be a room.
const std::vector<std::string> kRoomClasses = {"RICHCNTL", "_AOL_Listbox", "_AOL_Icon", "_AOL_Static"};

// The four searches of the room test on doc.
void ExpectRoomTest(std::vector<Call>& want, Handle doc, Handle rich, Handle list, Handle icon, Handle label) {
  want.push_back(Child(doc, 0, kRoomClasses[0], rich));
  want.push_back(Child(doc, 0, kRoomClasses[1], list));
  want.push_back(Child(doc, 0, kRoomClasses[2], icon));
  want.push_back(Child(doc, 0, kRoomClasses[3], label));
}

// The searches made so far among parent's children for a class, in order.
std::vector<Call> SearchesFor(const FakeWindowTree& t, Handle parent, const std::string& cls) {
  std::vector<Call> out;
  for (const Call& c : t.calls)
    if (c.kind == Call::kChild && c.parent == parent && FakeWindowTree::SameClass(c.cls, cls)) out.push_back(c);
  return out;
}

// True once the room test has searched doc for each of the four classes.
bool RoomTested(const FakeWindowTree& t, Handle doc) {
  for (const std::string& cls : kRoomClasses)
    if (SearchesFor(t, doc, cls).empty()) return false;
  return true;
}

// Every send went to window, and there were count of them.
void ExpectSendsTo(const FakeWindowTree& t, Handle window, std::size_t count) {
  const auto sends = t.Sends();
  EXPECT_EQ(sends.size(), count);
  for (const Call& s : sends) EXPECT_EQ(s.window, window);
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
  for (std::size_t missing = 0; missing < kRoomClasses.size(); ++missing) {
    SCOPED_TRACE("missing " + kRoomClasses[missing]);
    FakeWindowTree t;
    const Client c = AddClient(t);
    std::vector<std::string> kids;
    for (std::size_t i = 0; i < kRoomClasses.size(); ++i)
      if (i != missing) kids.push_back(kRoomClasses[i]);
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
  ExpectSendsTo(t, first.rich[1], 2);
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
  const Client c = AddClient(t);
  for (const std::string& k : kRoomClasses) t.Add(0, k);
  EXPECT_EQ(FindChatRoom(t), 0u);
  // The room test passed on doc 0, so the walk stopped: no second "AOL Child" search.
  for (const std::string& k : kRoomClasses) {
    const auto searches = SearchesFor(t, 0, k);
    ASSERT_EQ(searches.size(), 1u) << k;
    EXPECT_NE(searches[0].result, 0u) << k;
  }
  EXPECT_EQ(SearchesFor(t, c.area, "AOL Child").size(), 1u);
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
  t.before_call = [&](const Call& next) {
    if (next.kind == Call::kChild && next.after == doc) t.Destroy(doc);
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
  // WM_SETTEXT and WM_CHAR as Windows numbers them.
  want.push_back(SendOf(room.rich[1], 12, 0, u"<font color=\"#FF0000\">a", Delivery::kAnswered));
  want.push_back(SendOf(room.rich[1], 258, 13, u"", Delivery::kAnswered));
  EXPECT_EQ(Describe(t.calls), Describe(want));
  EXPECT_EQ(t.Sends()[0].text, u"<font color=\"#FF0000\">a");
}

TEST(ChatSend, RoomWithOneRichTextControlGetsTheLineThereAfterASecondSearch) {
  FakeWindowTree t;
  const Client c = AddClient(t);
  const Room room = AddRoom(t, c.area, 1);
  ASSERT_TRUE(ChatSend(t, u"solo"));

  // After the room test's: the first, the failed search for a second one,
  // then the first searched again.
  EXPECT_EQ(Describe(SearchesFor(t, room.doc, "RICHCNTL")),
            Describe(std::vector<Call>{Child(room.doc, 0, "RICHCNTL", room.rich[0]),
                                       Child(room.doc, 0, "richcntl", room.rich[0]),
                                       Child(room.doc, room.rich[0], "richcntl", 0),
                                       Child(room.doc, 0, "richcntl", room.rich[0])}));
  EXPECT_EQ(Describe(t.Sends()), Describe(std::vector<Call>{SendOf(room.rich[0], fader::kWmSetText, 0, u"solo", Delivery::kAnswered),
                                           SendOf(room.rich[0], fader::kWmChar, 13, u"", Delivery::kAnswered)}));
}

TEST(ChatSend, RoomWithThreeRichTextControlsGetsTheLineInTheSecond) {
  FakeWindowTree t;
  const Client c = AddClient(t);
  const Room room = AddRoom(t, c.area, 3);
  ASSERT_TRUE(ChatSend(t, u"three"));
  ExpectSendsTo(t, room.rich[1], 2);
}

TEST(ChatSend, MixedCaseRichTextControlsAreFoundBySending) {
  FakeWindowTree t;
  const Client c = AddClient(t);
  const Room room = AddRoom(t, c.area, 2, "RichCntl");
  ASSERT_TRUE(ChatSend(t, u"case"));
  ExpectSendsTo(t, room.rich[1], 2);
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

// A set-text the box has not taken gets no Enter behind it, so nothing is
// posted; an Enter answered late still posts the line when the client gets
// to it (sending it again would post it twice).
TEST(ChatSend, WhetherTheLineWentOutFollowsHowTheInputBoxAnswered) {
  struct Case {
    const char* name;
    std::uint32_t late;     // a message answered late, or 0
    std::uint32_t refused;  // a message not delivered, or 0
    bool sent;
    std::vector<Delivery> deliveries;  // of the set-text, then of the Enter if sent
  };
  const Case cases[] = {
      {"set-text late", fader::kWmSetText, 0, false, {Delivery::kTimedOut}},
      {"Enter late", fader::kWmChar, 0, true, {Delivery::kAnswered, Delivery::kTimedOut}},
      {"Enter not delivered", 0, fader::kWmChar, false, {Delivery::kAnswered, Delivery::kNotDelivered}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    FakeWindowTree t;
    const Room room = AddRoom(t, AddClient(t).area);
    if (k.late != 0) t.AnswerLate(k.late);
    if (k.refused != 0) t.Refuse(k.refused);
    EXPECT_EQ(ChatSend(t, u"line"), k.sent);
    std::vector<Call> want = {SendOf(room.rich[1], fader::kWmSetText, 0, u"line", k.deliveries[0])};
    if (k.deliveries.size() > 1) want.push_back(SendOf(room.rich[1], fader::kWmChar, 13, u"", k.deliveries[1]));
    EXPECT_EQ(Describe(t.Sends()), Describe(want));
  }
}

TEST(ChatSend, RichTextControlsGoneAfterTheRoomTestSendToNoWindow) {
  FakeWindowTree t;
  const Client c = AddClient(t);
  const Room room = AddRoom(t, c.area);
  // The room loses its rich-text controls right after it passed the test.
  bool gone = false;
  t.before_call = [&](const Call&) {
    if (gone || !RoomTested(t, room.doc)) return;
    for (Handle h : room.rich) t.Destroy(h);
    gone = true;
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
  ExpectSendsTo(t, first.rich[1], 2);
  t.Destroy(first.doc);
  t.calls.clear();
  ASSERT_TRUE(ChatSend(t, u"two"));
  ExpectSendsTo(t, second.rich[1], 2);
}

}  // namespace
