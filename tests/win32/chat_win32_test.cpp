// The chat bridge on real windows: the same answers as the made-up tree, the
// binding's messages and bytes, and posting into the stand-in room across
// processes (chatroom.exe from this program's folder), hung and closed too.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "chat/chat_room.h"
#include "chat/chat_send_win32.h"
#include "chat/window_tree_win32.h"
#include "render/fade.h"
#include "tests/support/fake_window_tree.h"

namespace {

using fader::Win32WindowTree;
using fader::test::FakeWindowTree;
using Handle = fader::WindowTree::Handle;
using Call = FakeWindowTree::Call;

// ------------------------------------------------- windows of this process

struct Received {
  HWND hwnd;
  UINT msg;
  WPARAM wparam;
  LPARAM lparam;
  std::string bytes;
};
std::vector<Received> g_received;

// An ANSI procedure, so a set-text arrives as the bytes the binding sent.
LRESULT CALLBACK RecordingProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  if (msg == WM_SETTEXT) {
    g_received.push_back({hwnd, msg, wparam, 0, lparam ? reinterpret_cast<const char*>(lparam) : ""});
  } else if (msg == WM_CHAR) {
    g_received.push_back({hwnd, msg, wparam, lparam, {}});
  }
  return DefWindowProcA(hwnd, msg, wparam, lparam);
}

// The client's classes, registered here under other spellings: every search
// below then also shows that class names compare without regard to case.
const std::map<std::string, std::string>& Spellings() {
  static const std::map<std::string, std::string> m = {
      {"AOL Frame25", "aol FRAME25"}, {"AOL Child", "Aol Child"},     {"RICHCNTL", "RichCntl"},
      {"_AOL_Listbox", "_aol_listbox"}, {"_AOL_Icon", "_Aol_ICON"},   {"_AOL_Static", "_AOL_STATIC"},
      {"_AOL_Panel", "_AOL_Panel"},     {"Notepad", "Notepad"}};
  return m;
}

void RegisterTestClasses() {
  static bool done = false;
  if (done) return;
  for (const auto& [cls, spelling] : Spellings()) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = RecordingProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = spelling.c_str();
    ASSERT_NE(RegisterClassExA(&wc), 0) << spelling;
  }
  done = true;
}

struct Node {
  std::string cls;
  std::vector<Node> kids;
};

Node RoomNode(int rich = 2) {
  Node n{"AOL Child", {}};
  for (int i = 0; i < rich; ++i) n.kids.push_back({"RICHCNTL", {}});
  n.kids.push_back({"_AOL_Listbox", {}});
  n.kids.push_back({"_AOL_Icon", {}});
  n.kids.push_back({"_AOL_Static", {}});
  return n;
}

Node Client(std::vector<Node> docs) { return Node{"AOL Frame25", {Node{"MDIClient", std::move(docs)}}}; }

// One tree built twice: in the fake and as real windows, node for node, so
// that answers can be compared by node number.
class TwinTree {
 public:
  explicit TwinTree(const std::vector<Node>& top) {
    RegisterTestClasses();
    // Nodes are numbered in order, depth first. A new top-level window goes
    // on top of the others, so the real ones are made last to first.
    std::vector<int> first_id;
    int id = 1;
    for (const Node& n : top) {
      first_id.push_back(id);
      id += Size(n);
    }
    for (std::size_t i = 0; i < top.size(); ++i) BuildFake(top[i], 0, first_id[i]);
    for (std::size_t i = top.size(); i-- > 0;) BuildReal(top[i], nullptr, first_id[i]);
  }
  TwinTree(const TwinTree&) = delete;
  TwinTree& operator=(const TwinTree&) = delete;
  ~TwinTree() {
    for (HWND h : top_) DestroyWindow(h);
    g_received.clear();
  }

  FakeWindowTree fake;
  int NodeOfFake(Handle h) const { return Lookup(fake_nodes_, h); }
  int NodeOfReal(Handle h) const { return Lookup(real_nodes_, h); }
  Handle FakeOf(int node) const { return fake_of_.at(node); }
  HWND RealOf(int node) const { return reinterpret_cast<HWND>(real_of_.at(node)); }

 private:
  static int Lookup(const std::map<Handle, int>& m, Handle h) {
    if (h == 0) return 0;
    auto it = m.find(h);
    return it == m.end() ? -1 : it->second;
  }

  static int Size(const Node& n) {
    int size = 1;
    for (const Node& k : n.kids) size += Size(k);
    return size;
  }

  // Both return the number after the last node of the subtree.
  int BuildFake(const Node& n, Handle parent, int id) {
    const Handle f = fake.Add(parent, n.cls);
    fake_nodes_[f] = id;
    fake_of_[id++] = f;
    for (const Node& k : n.kids) id = BuildFake(k, f, id);
    return id;
  }

  int BuildReal(const Node& n, HWND parent, int id) {
    HWND h;
    const DWORD style = parent ? WS_CHILD : WS_OVERLAPPED;
    if (n.cls == "MDIClient") {
      CLIENTCREATESTRUCT ccs{};
      ccs.idFirstChild = 50000;
      h = CreateWindowExA(0, "MDICLIENT", nullptr, style, 0, 0, 100, 100, parent, nullptr,
                          GetModuleHandleA(nullptr), &ccs);
    } else {
      h = CreateWindowExA(0, Spellings().at(n.cls).c_str(), "", style, 0, 0, 100, 100, parent, nullptr,
                          GetModuleHandleA(nullptr), nullptr);
    }
    EXPECT_NE(h, nullptr) << n.cls;
    if (!parent) top_.push_back(h);
    real_nodes_[Win32WindowTree::FromHwnd(h)] = id;
    real_of_[id] = Win32WindowTree::FromHwnd(h);
    ++id;
    for (const Node& k : n.kids) id = BuildReal(k, h, id);
    return id;
  }

  std::vector<HWND> top_;
  std::map<Handle, int> fake_nodes_, real_nodes_;
  std::map<int, Handle> fake_of_, real_of_;
};

// The real tree with a hook before each call, as the fake has.
class HookedTree : public fader::WindowTree {
 public:
  std::function<void(const Call&)> before_call;
  std::size_t sends = 0;
  Handle FindTopLevel(std::string_view cls) override {
    Hook(Call::TopLevel(cls));
    return real_.FindTopLevel(cls);
  }
  Handle FindChild(Handle parent, Handle after, std::string_view cls) override {
    Hook(Call::Child(parent, after, cls));
    return real_.FindChild(parent, after, cls);
  }
  Delivery Send(Handle window, const fader::Message& msg) override {
    Hook(Call::Sent(window, msg));
    ++sends;
    return real_.Send(window, msg);
  }

 private:
  void Hook(const Call& next) {
    if (before_call) before_call(next);
  }
  Win32WindowTree real_;
};

struct Shape {
  const char* name;
  std::vector<Node> top;
};

std::vector<Shape> Shapes() {
  Node non_room{"AOL Child", {{"RICHCNTL", {}}, {"_AOL_Listbox", {}}, {"_AOL_Static", {}}}};
  Node deep{"AOL Child", {Node{"_AOL_Panel", RoomNode().kids}}};
  return {
      {"first room after a document that is none", {Client({non_room, RoomNode(3), RoomNode()})}},
      {"the four classes only as grandchildren", {Client({deep})}},
      {"a room with one rich-text control", {Client({non_room, RoomNode(1)})}},
      {"client without documents", {Client({})}},
      {"only the first frame is searched", {Client({non_room}), Client({RoomNode()})}},
      {"no frame, a top-level room", {{"Notepad", {}}, RoomNode()}},
  };
}

TEST(Win32WindowTree, FindsTheSameRoomAndInputBoxAsTheFakeTree) {
  for (const Shape& shape : Shapes()) {
    SCOPED_TRACE(shape.name);
    TwinTree twin(shape.top);
    Win32WindowTree real;
    EXPECT_EQ(twin.NodeOfReal(fader::FindChatRoom(real)), twin.NodeOfFake(fader::FindChatRoom(twin.fake)));

    const bool fake_sent = fader::ChatSend(twin.fake, u"x");
    const bool real_sent = fader::ChatSend(real, u"x");
    EXPECT_EQ(real_sent, fake_sent);
    const auto fake_sends = twin.fake.Sends();
    if (fake_sent) {
      ASSERT_EQ(g_received.size(), 2u);
      for (const Received& r : g_received)
        EXPECT_EQ(twin.NodeOfReal(Win32WindowTree::FromHwnd(r.hwnd)), twin.NodeOfFake(fake_sends.at(0).window));
    } else {
      EXPECT_TRUE(g_received.empty());
    }
  }
}

TEST(Win32WindowTree, ClassNamesCompareWithoutRegardToCase) {
  TwinTree twin({Client({RoomNode()})});
  Win32WindowTree real;
  const Handle frame = real.FindTopLevel("AOL Frame25");
  EXPECT_EQ(twin.NodeOfReal(frame), 1);
  EXPECT_EQ(real.FindTopLevel("aol frame25"), frame);
  const Handle area = real.FindChild(frame, 0, "mdiclient");
  const Handle doc = real.FindChild(area, 0, "AOL CHILD");
  const Handle first = real.FindChild(doc, 0, "RICHCNTL");
  EXPECT_NE(first, 0u);
  EXPECT_EQ(real.FindChild(doc, 0, "richcntl"), first);
  EXPECT_EQ(real.FindChild(doc, 0, "rIcHcNtL"), first);
  EXPECT_EQ(twin.NodeOfReal(real.FindChild(doc, first, "richcntl")), 5);  // frame, area, doc, display, input
}

TEST(Win32WindowTree, ADocumentClosedDuringTheWalkEndsItAsInTheFake) {
  Node non_room{"AOL Child", {{"RICHCNTL", {}}}};
  TwinTree twin({Client({non_room, RoomNode()})});
  HookedTree real;
  // Node 3 is the first document; it goes after its room test, before the
  // search for the next one, in both trees.
  real.before_call = [&](const Call& next) {
    if (next.kind == Call::kChild && next.after == Win32WindowTree::FromHwnd(twin.RealOf(3)))
      DestroyWindow(twin.RealOf(3));
  };
  twin.fake.before_call = [&](const Call& next) {
    if (next.kind == Call::kChild && next.after == twin.FakeOf(3)) twin.fake.Destroy(twin.FakeOf(3));
  };
  EXPECT_EQ(fader::FindChatRoom(real), 0u);
  EXPECT_EQ(fader::FindChatRoom(twin.fake), 0u);
}

TEST(Win32WindowTree, SendsTheCodePageBytesWithWParamZeroThenEnter) {
  if (GetACP() != 1252) GTEST_SKIP() << "the expected bytes are those of Windows-1252; code page " << GetACP();
  TwinTree twin({Client({RoomNode()})});
  ASSERT_TRUE(fader::ChatSend(u"\u00ed\u00e1\u00e9\u00f8\u00fd\u00fa\u00b7\u2022"));
  ASSERT_EQ(g_received.size(), 2u);
  const HWND input = twin.RealOf(5);
  EXPECT_EQ(g_received[0].hwnd, input);
  EXPECT_EQ(g_received[0].msg, static_cast<UINT>(WM_SETTEXT));
  EXPECT_EQ(g_received[0].wparam, 0u);
  EXPECT_EQ(g_received[0].bytes, "\xED\xE1\xE9\xF8\xFD\xFA\xB7\x95");
  EXPECT_EQ(g_received[1].hwnd, input);
  EXPECT_EQ(g_received[1].msg, static_cast<UINT>(WM_CHAR));
  EXPECT_EQ(g_received[1].wparam, 13u);
  EXPECT_EQ(g_received[1].lparam, 0);
}

TEST(Win32WindowTree, EmptyTextSetsAnEmptyBoxAndStillSendsEnter) {
  TwinTree twin({Client({RoomNode()})});
  SetWindowTextA(twin.RealOf(5), "old");
  g_received.clear();
  ASSERT_TRUE(fader::ChatSend(u""));
  ASSERT_EQ(g_received.size(), 2u);
  EXPECT_EQ(g_received[0].bytes, "");
  EXPECT_EQ(GetWindowTextLengthA(twin.RealOf(5)), 0);
  EXPECT_EQ(g_received[1].wparam, 13u);
}

TEST(Win32WindowTree, AnInputBoxDestroyedBeforeTheSendGetsNeitherMessage) {
  TwinTree twin({Client({RoomNode()})});
  HookedTree real;
  // Found, then gone before the set-text reaches it.
  real.before_call = [&](const Call& next) {
    if (next.kind == Call::kSend && real.sends == 0) DestroyWindow(twin.RealOf(5));
  };
  EXPECT_FALSE(fader::ChatSend(real, u"too late"));
  EXPECT_EQ(real.sends, 1u);  // the Enter character is not sent after a lost set-text
  EXPECT_TRUE(g_received.empty());
}

TEST(Win32WindowTree, NoClientOnTheDesktopPostsNothing) {
  ASSERT_EQ(FindWindowA("AOL Frame25", nullptr), nullptr) << "another chat client is open";
  EXPECT_FALSE(fader::ChatSend(u"nobody"));
}

// ------------------------------------------------ the stand-in room, across processes

std::wstring HereDir() {
  wchar_t path[MAX_PATH];
  const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring p(path, n);
  return p.substr(0, p.find_last_of(L"\\/") + 1);
}

std::vector<std::string> ReadLines(const std::wstring& path) {
  std::vector<std::string> lines;
  FILE* f = _wfopen(path.c_str(), L"rb");
  if (!f) return lines;
  std::string all;
  char buf[4096];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) all.append(buf, n);
  std::fclose(f);
  std::size_t start = 0, nl;
  while ((nl = all.find('\n', start)) != std::string::npos) {
    lines.push_back(all.substr(start, nl - start));
    start = nl + 1;
  }
  return lines;
}

struct FrameSearch {
  DWORD pid;
  HWND found;
};

BOOL CALLBACK FindFrameOf(HWND h, LPARAM lp) {
  auto* search = reinterpret_cast<FrameSearch*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(h, &pid);
  char cls[64] = {};
  GetClassNameA(h, cls, sizeof cls);
  if (pid == search->pid && lstrcmpiA(cls, "AOL Frame25") == 0) {
    search->found = h;
    return FALSE;
  }
  return TRUE;
}

// chatroom.exe with a log of its own; closed (or ended) when it goes.
class StandInRoom {
 public:
  explicit StandInRoom(const std::wstring& options) {
    static int serial = 0;
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    log_ = std::wstring(temp) + L"fader-chatroom-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(++serial) + L".log";
    DeleteFileW(log_.c_str());
    const std::wstring exe = HereDir() + L"chatroom.exe";
    std::wstring cmd = L"\"" + exe + L"\" --log \"" + log_ + L"\" " + options;
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    started_ = CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi_);
  }
  StandInRoom(const StandInRoom&) = delete;
  StandInRoom& operator=(const StandInRoom&) = delete;
  ~StandInRoom() {
    if (!started_) return;
    if (HWND f = Frame()) PostMessageW(f, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(pi_.hProcess, 10000) != WAIT_OBJECT_0) {
      TerminateProcess(pi_.hProcess, 1);
      WaitForSingleObject(pi_.hProcess, 10000);
    }
    CloseHandle(pi_.hThread);
    CloseHandle(pi_.hProcess);
    DeleteFileW(log_.c_str());
  }

  // Up when its log says so; false if it never came up (or exited).
  bool WaitReady() {
    if (!started_) return false;
    for (int i = 0; i < 600; ++i) {
      const auto lines = ReadLines(log_);
      if (!lines.empty() && lines[0].rfind("ready ", 0) == 0) return Frame() != nullptr;
      if (WaitForSingleObject(pi_.hProcess, 50) == WAIT_OBJECT_0) return false;
    }
    return false;
  }

  // The log after its "ready" line.
  std::vector<std::string> Messages() const {
    auto lines = ReadLines(log_);
    if (!lines.empty()) lines.erase(lines.begin());
    return lines;
  }

  HWND Frame() const {
    FrameSearch search{pi_.dwProcessId, nullptr};
    EnumWindows(FindFrameOf, reinterpret_cast<LPARAM>(&search));
    return search.found;
  }

  // Waits (up to a generous bound) until the room's thread answers again.
  bool WaitResponsive() const {
    DWORD_PTR r;
    return SendMessageTimeoutW(Frame(), WM_NULL, 0, 0, SMTO_NORMAL, 60000, &r) != 0;
  }

 private:
  std::wstring log_;
  PROCESS_INFORMATION pi_{};
  bool started_ = false;
};

// Text of a window of another process, through WM_GETTEXT.
std::wstring ControlText(HWND h) {
  const LRESULT n = SendMessageW(h, WM_GETTEXTLENGTH, 0, 0);
  std::wstring buf(static_cast<std::size_t>(n) + 1, L'\0');
  const LRESULT got = SendMessageW(h, WM_GETTEXT, buf.size(), reinterpret_cast<LPARAM>(buf.data()));
  buf.resize(static_cast<std::size_t>(got));
  return buf;
}

struct RoomWindows {
  HWND room, display, input;
};

RoomWindows FindRoomWindows() {
  Win32WindowTree tree;
  const Handle room = fader::FindChatRoom(tree);
  const Handle display = tree.FindChild(room, 0, "RICHCNTL");
  const Handle input = tree.FindChild(room, display, "RICHCNTL");
  return {Win32WindowTree::ToHwnd(room), Win32WindowTree::ToHwnd(display), Win32WindowTree::ToHwnd(input)};
}

TEST(StandInRoom, PostedLineArrivesAsTheCodePageBytesThenEnter) {
  if (GetACP() != 1252) GTEST_SKIP() << "the expected bytes are those of Windows-1252; code page " << GetACP();
  StandInRoom room(L"");
  ASSERT_TRUE(room.WaitReady());
  ASSERT_TRUE(fader::ChatSend(u"\u00ed\u00e1\u00e9\u00f8\u00fd\u00fa\u00b7\u2022 a\u4e00b"));
  // Synchronous: once ChatSend is back the room has posted and logged.
  EXPECT_EQ(room.Messages(), (std::vector<std::string>{"room=1 msg=WM_SETTEXT cp=1252 bytes=EDE1E9F8FDFAB79520613F62",
                                                       "room=1 msg=WM_CHAR wparam=13", "room=1 posted"}));
  const RoomWindows w = FindRoomWindows();
  EXPECT_EQ(ControlText(w.display), L"You:\t\u00ed\u00e1\u00e9\u00f8\u00fd\u00fa\u00b7\u2022 a?b");
  EXPECT_EQ(ControlText(w.input), L"");
}

TEST(StandInRoom, ShowsAFadedLineWithoutItsTags) {
  StandInRoom room(L"");
  ASSERT_TRUE(room.WaitReady());
  const std::u16string line = fader::FadeFiveColors(0x0000FF, 0x00FFFF, 0x00FF00, 0xFFFF00, 0xFF0000, u"Hello world", true);
  ASSERT_TRUE(fader::ChatSend(line));
  ASSERT_TRUE(fader::ChatSend(u"<b>second</b> <unknown>line &amp;"));
  EXPECT_EQ(ControlText(FindRoomWindows().display), L"You:\tHello world\r\nYou:\tsecond line &amp;");
}

TEST(StandInRoom, LongLineArrivesWhole) {
  StandInRoom room(L"");
  ASSERT_TRUE(room.WaitReady());
  std::u16string text;
  for (int i = 0; i < 3000; ++i) text += u"<font color=\"#00FF80\">" + std::u16string(1, static_cast<char16_t>(u'a' + i % 26));
  ASSERT_TRUE(fader::ChatSend(text));
  const auto messages = room.Messages();
  ASSERT_EQ(messages.size(), 3u);
  std::string hex;
  for (char16_t ch : text) {
    char b[3];
    std::snprintf(b, sizeof b, "%02X", static_cast<unsigned>(ch));
    hex += b;
  }
  EXPECT_EQ(messages[0], "room=1 msg=WM_SETTEXT cp=" + std::to_string(GetACP()) + " bytes=" + hex);
}

TEST(StandInRoom, FirstRoomBehindDocumentsGetsTheLine) {
  StandInRoom room(L"--rooms 2 --documents 2");
  ASSERT_TRUE(room.WaitReady());
  const RoomWindows w = FindRoomWindows();
  EXPECT_EQ(ControlText(w.room), L"Chat room 1");
  // The walk passed both documents: they come first in child order.
  Win32WindowTree tree;
  const Handle area = tree.FindChild(tree.FindTopLevel("AOL Frame25"), 0, "MDIClient");
  EXPECT_EQ(ControlText(Win32WindowTree::ToHwnd(tree.FindChild(area, 0, "AOL Child"))), L"Document 1");
  ASSERT_TRUE(fader::ChatSend(u"to room one"));
  EXPECT_EQ(room.Messages(), (std::vector<std::string>{"room=1 msg=WM_SETTEXT cp=" + std::to_string(GetACP()) +
                                                           " bytes=746F20726F6F6D206F6E65",
                                                       "room=1 msg=WM_CHAR wparam=13", "room=1 posted"}));
}

TEST(StandInRoom, HungInputBoxReturnsFalseAndGetsNoEnter) {
  StandInRoom room(L"--hang-input 8000");
  ASSERT_TRUE(room.WaitReady());
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(fader::ChatSend(u"held"));
  const auto first = std::chrono::steady_clock::now();
  // The caller goes on: a second line while the room still hangs fails too.
  EXPECT_FALSE(fader::ChatSend(u"again"));
  const auto second = std::chrono::steady_clock::now();
  std::printf("hung room: first ChatSend %.2f s, second %.2f s\n",
              std::chrono::duration<double>(first - start).count(),
              std::chrono::duration<double>(second - first).count());
  ASSERT_TRUE(room.WaitResponsive());
  const auto messages = room.Messages();
  ASSERT_FALSE(messages.empty());
  EXPECT_EQ(messages[0], "room=1 msg=WM_SETTEXT cp=" + std::to_string(GetACP()) + " bytes=68656C64");
  for (const std::string& m : messages) {
    EXPECT_EQ(m.find("WM_CHAR"), std::string::npos) << m;
    EXPECT_EQ(m.find("posted"), std::string::npos) << m;
  }
}

TEST(StandInRoom, RoomClosedBetweenFindingAndSendingTakesNoLine) {
  StandInRoom room(L"");
  ASSERT_TRUE(room.WaitReady());
  HookedTree tree;
  HWND closed = nullptr;
  // The room and its input box are found; the room closes before the set-text.
  tree.before_call = [&](const Call& next) {
    if (next.kind == Call::kSend && tree.sends == 0) {
      closed = FindRoomWindows().room;
      SendMessageW(closed, WM_CLOSE, 0, 0);
    }
  };
  EXPECT_FALSE(fader::ChatSend(tree, u"gone"));
  ASSERT_NE(closed, nullptr);
  EXPECT_FALSE(IsWindow(closed));
  EXPECT_EQ(tree.sends, 1u);
  EXPECT_TRUE(room.Messages().empty());
}

TEST(StandInRoom, ClosedRoomTakesNoLine) {
  StandInRoom room(L"");
  ASSERT_TRUE(room.WaitReady());
  const RoomWindows w = FindRoomWindows();
  ASSERT_NE(w.room, nullptr);
  SendMessageW(w.room, WM_CLOSE, 0, 0);
  ASSERT_FALSE(IsWindow(w.room));
  EXPECT_FALSE(fader::ChatSend(u"anyone?"));
  EXPECT_TRUE(room.Messages().empty());
}

}  // namespace
