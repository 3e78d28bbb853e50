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
// unless that start was edited (Wine's rich edit needs seconds to lay out or
// delete a line of that length, long enough for a sender to take the room
// for hung).
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
#include <richedit.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "tools/chatroom/room_markup.h"
#include "tools/chatroom/room_options.h"
#include "tools/chatroom/room_rtf.h"

namespace {

using fader::room::Options;
using fader::room::Run;
using fader::room::Shift;
using fader::room::Style;

constexpr wchar_t kFrameClass[] = L"AOL Frame25";
constexpr wchar_t kDocClass[] = L"AOL Child";
constexpr wchar_t kRichClass[] = L"RICHCNTL";
constexpr wchar_t kListClass[] = L"_AOL_Listbox";
constexpr wchar_t kIconClass[] = L"_AOL_Icon";
constexpr wchar_t kStaticClass[] = L"_AOL_Static";
constexpr wchar_t kBoxProp[] = L"fader.chatroom.box";
constexpr char16_t kDefaultFace[] = u"Arial";
constexpr int kIdSend = 101;
constexpr int kFirstChildId = 50000;

class LogFile {
 public:
  LogFile() = default;
  LogFile(const LogFile&) = delete;
  LogFile& operator=(const LogFile&) = delete;
  ~LogFile() {
    if (file_) std::fclose(file_);
  }
  bool Open(const std::u16string& path) {
    file_ = _wfopen(reinterpret_cast<const wchar_t*>(path.c_str()), L"wb");
    return file_ != nullptr;
  }
  // Flushed at once: tests read the file while the room runs.
  void Line(const std::string& line) {
    if (!file_) return;
    std::fputs(line.c_str(), file_);
    std::fputc('\n', file_);
    std::fflush(file_);
  }

 private:
  FILE* file_ = nullptr;
};

struct Doc;

// A "RICHCNTL" window. Its text messages pass through an ANSI subclass, so
// that a set-text arrives as the 8-bit bytes the room logs; the room's own
// work goes straight to the rich-edit procedure and is not logged.
struct Box {
  HWND hwnd = nullptr;
  WNDPROC ansi_next = nullptr;
  WNDPROC wide_proc = nullptr;
  std::string who;
  Doc* doc = nullptr;
  bool input = false;
  // A long line set into the input box: Wine's rich edit takes seconds to
  // lay out or delete one, so the control shows only its start and the box
  // keeps the whole line for the post, as long as that start is unchanged.
  std::u16string held_whole;
  std::u16string held_shown;
};

// How much of a set text the input box shows, in bytes.
constexpr std::size_t kShownBytes = 2048;

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

struct App {
  Options options;
  LogFile log;
  HINSTANCE instance = nullptr;
  UINT code_page = 0;
  HWND frame = nullptr;
  HWND client = nullptr;
  std::vector<std::unique_ptr<Doc>> docs;
};

App* g_app = nullptr;

LRESULT CallWide(const Box& box, UINT msg, WPARAM wparam, LPARAM lparam) {
  return CallWindowProcW(box.wide_proc, box.hwnd, msg, wparam, lparam);
}

std::u16string BoxText(const Box& box) {
  const LRESULT length = CallWide(box, WM_GETTEXTLENGTH, 0, 0);
  if (length <= 0) return {};
  std::wstring buffer(static_cast<std::size_t>(length) + 1, L'\0');
  const LRESULT got = CallWide(box, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
  buffer.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
  return std::u16string(buffer.begin(), buffer.end());
}

CHARFORMAT2W Format(const Style& style) {
  CHARFORMAT2W cf{};
  cf.cbSize = sizeof(cf);
  cf.dwMask = CFM_COLOR | CFM_FACE | CFM_SIZE | CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_SUBSCRIPT;
  cf.yHeight = 200;  // 10 points
  cf.crTextColor = style.color ? RGB(style.color->red, style.color->green, style.color->blue) : RGB(0, 0, 0);
  const std::u16string_view shown = style.face.empty() ? std::u16string_view(kDefaultFace) : style.face;
  std::wstring face(shown.begin(), shown.end());
  face.resize(std::min<std::size_t>(face.size(), LF_FACESIZE - 1));
  face.copy(cf.szFaceName, face.size());
  if (style.bold) cf.dwEffects |= CFE_BOLD;
  if (style.italic) cf.dwEffects |= CFE_ITALIC;
  if (style.underline) cf.dwEffects |= CFE_UNDERLINE;
  if (style.shift == Shift::kSuper) cf.dwEffects |= CFE_SUPERSCRIPT;
  if (style.shift == Shift::kSub) cf.dwEffects |= CFE_SUBSCRIPT;
  return cf;
}

// Puts the caret at the end of a rich-edit box.
void SelectEnd(const Box& box) {
  CallWide(box, EM_SETSEL, 0, -1);
  CHARRANGE range{};
  CallWide(box, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
  range.cpMin = range.cpMax;
  CallWide(box, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
}

// Appends text in style at the end of a rich-edit box.
void AppendStyled(const Box& box, const std::u16string& text, const Style& style) {
  SelectEnd(box);
  CHARFORMAT2W cf = Format(style);
  CallWide(box, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
  const std::wstring wide(text.begin(), text.end());
  CallWide(box, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(wide.c_str()));
}

// What EM_STREAMIN reads from: the RTF text and how far it has been read.
struct RtfSource {
  std::string rtf;
  std::size_t at = 0;
};

DWORD CALLBACK ReadRtf(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* given) {
  auto* src = reinterpret_cast<RtfSource*>(cookie);
  const std::size_t n = std::min(static_cast<std::size_t>(wanted), src->rtf.size() - src->at);
  src->rtf.copy(reinterpret_cast<char*>(buffer), n, src->at);
  src->at += n;
  *given = static_cast<LONG>(n);
  return 0;
}

// Appends runs at the end of a rich-edit box in one go, streamed in as RTF.
void AppendRuns(const Box& box, const std::vector<Run>& runs) {
  RtfSource source{fader::room::RunsToRtf(runs, kDefaultFace), 0};
  EDITSTREAM stream{};
  stream.dwCookie = reinterpret_cast<DWORD_PTR>(&source);
  stream.pfnCallback = &ReadRtf;
  SelectEnd(box);
  CallWide(box, EM_STREAMIN, SF_RTF | SFF_SELECTION, reinterpret_cast<LPARAM>(&stream));
}

void PostLine(Doc& doc) {
  if (!doc.room || !doc.input || !doc.display) return;
  std::u16string line = BoxText(*doc.input);
  if (!doc.input->held_whole.empty() && line == doc.input->held_shown) line = doc.input->held_whole;
  doc.input->held_whole.clear();
  doc.input->held_shown.clear();
  const Box& display = *doc.display;
  if (CallWide(display, WM_GETTEXTLENGTH, 0, 0) > 0) AppendStyled(display, u"\r", Style{});
  std::vector<Run> runs{Run{u"You:\t", Style{}}};
  runs.front().style.bold = true;
  for (Run& run : fader::room::ReadChatLine(line)) runs.push_back(std::move(run));
  AppendRuns(display, runs);
  CallWide(display, WM_VSCROLL, SB_BOTTOM, 0);
  CallWide(*doc.input, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
  g_app->log.Line("room=" + std::to_string(doc.number) + " posted");
}

std::string AnsiText(LPARAM lparam) {
  return lparam != 0 ? std::string(reinterpret_cast<const char*>(lparam)) : std::string();
}

std::u16string FromAnsi(const std::string& text) {
  if (text.empty()) return {};
  const int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(std::max(n, 0)), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
  return std::u16string(wide.begin(), wide.end());
}

// The input box's set-text: a long text goes into the control cut to its
// start (never inside a double-byte character), and is held whole.
LRESULT SetInputText(Box& box, WNDPROC next, WPARAM wparam, LPARAM lparam, const std::string& text) {
  box.held_whole.clear();
  box.held_shown.clear();
  if (text.size() <= kShownBytes) return CallWindowProcA(next, box.hwnd, WM_SETTEXT, wparam, lparam);
  std::size_t cut = 0;
  while (cut < kShownBytes) cut += IsDBCSLeadByteEx(CP_ACP, static_cast<BYTE>(text[cut])) ? 2 : 1;
  const std::string shown = text.substr(0, cut);
  const LRESULT result = CallWindowProcA(next, box.hwnd, WM_SETTEXT, wparam, reinterpret_cast<LPARAM>(shown.c_str()));
  box.held_whole = FromAnsi(text);
  box.held_shown = BoxText(box);
  return result;
}

LRESULT CALLBACK BoxProcA(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  Box* box = static_cast<Box*>(GetPropW(hwnd, kBoxProp));
  if (!box) return DefWindowProcA(hwnd, msg, wparam, lparam);
  const WNDPROC next = box->ansi_next;
  try {
    LogFile& log = g_app->log;
    switch (msg) {
      case WM_SETTEXT: {
        const std::string text = AnsiText(lparam);
        log.Line(fader::room::TextMessageLine(box->who, "WM_SETTEXT", g_app->code_page, text));
        if (box->input && g_app->options.hang_input_ms > 0) Sleep(g_app->options.hang_input_ms);
        if (box->input) return SetInputText(*box, next, wparam, lparam, text);
        break;
      }
      case EM_REPLACESEL:
        log.Line(fader::room::TextMessageLine(box->who, "EM_REPLACESEL", g_app->code_page, AnsiText(lparam)));
        break;
      case WM_CHAR:
        log.Line(fader::room::ValueMessageLine(box->who, "WM_CHAR", wparam));
        if (box->input && wparam == 13) {
          if (g_app->options.slow_enter_ms > 0) Sleep(g_app->options.slow_enter_ms);
          PostLine(*box->doc);
          return 0;
        }
        break;
      case WM_KEYDOWN:
        log.Line(fader::room::ValueMessageLine(box->who, "WM_KEYDOWN", wparam));
        break;
      case WM_PASTE:
        log.Line(fader::room::ValueMessageLine(box->who, "WM_PASTE", wparam));
        break;
      case WM_NCDESTROY:
        RemovePropW(hwnd, kBoxProp);
        break;
      default:
        break;
    }
  } catch (...) {
    // A message the room cannot log or post still reaches the control.
  }
  return CallWindowProcA(next, hwnd, msg, wparam, lparam);
}

std::unique_ptr<Box> MakeBox(Doc& doc, HWND parent, bool input, std::string who) {
  const DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP |
                      (input ? ES_AUTOHSCROLL : ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL);
  HWND hwnd = CreateWindowExW(WS_EX_CLIENTEDGE, kRichClass, L"", style, 0, 0, 10, 10, parent, nullptr,
                              g_app->instance, nullptr);
  if (!hwnd) return nullptr;
  auto box = std::make_unique<Box>();
  box->hwnd = hwnd;
  box->who = std::move(who);
  box->doc = &doc;
  box->input = input;
  box->wide_proc = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, GWLP_WNDPROC));
  SetPropW(hwnd, kBoxProp, box.get());
  box->ansi_next = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(BoxProcA)));
  // Room for a long session of long faded lines.
  CallWide(*box, EM_EXLIMITTEXT, 0, 64 * 1024 * 1024);
  CHARFORMAT2W cf = Format(Style{});
  CallWide(*box, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&cf));
  return box;
}

HWND MakeChild(const wchar_t* cls, const wchar_t* text, DWORD style, HWND parent, int id) {
  return CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 10, 10, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), g_app->instance, nullptr);
}

// Children in the order the real client makes them: display first, input box
// second, so the input box is the second rich-text control.
bool MakeDocChildren(Doc& doc, HWND hwnd) {
  const std::string n = std::to_string(doc.number);
  doc.display = MakeBox(doc, hwnd, false, (doc.room ? "display=" : "document=") + n);
  if (!doc.display) return false;
  if (doc.room) {
    doc.input = MakeBox(doc, hwnd, true, "room=" + n);
    if (!doc.input) return false;
  }
  doc.list = MakeChild(kListClass, L"", WS_BORDER | WS_VSCROLL | LBS_NOINTEGRALHEIGHT, hwnd, 0);
  for (const wchar_t* person : {L"Guest", L"Host", L"You"})
    SendMessageW(doc.list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(person));
  if (doc.room) doc.icon = MakeChild(kIconClass, L"Send", BS_PUSHBUTTON, hwnd, kIdSend);
  const std::wstring label = doc.room ? L"Chat room " + std::to_wstring(doc.number) + L": 3 people here"
                                      : L"Document " + std::to_wstring(doc.number) + L" (not a chat room)";
  doc.label = MakeChild(kStaticClass, label.c_str(), 0, hwnd, 0);
  if (!doc.room) {
    const wchar_t* info = L"Welcome. This window is a document, not a chat room.";
    CallWide(*doc.display, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(info));
  }
  return doc.list && doc.label && (!doc.room || doc.icon);
}

void LayOut(const Doc& doc, int w, int h) {
  const int m = 6, label_h = 20, input_h = 26, list_w = 140, button_w = 70;
  const int top = m + label_h + m;
  const int bottom = doc.room ? h - input_h - 2 * m : h - m;
  const int body_h = std::max(bottom - top, 10);
  const int left_w = std::max(w - list_w - 3 * m, 10);
  MoveWindow(doc.label, m, m, std::max(w - 2 * m, 10), label_h, TRUE);
  if (doc.display) MoveWindow(doc.display->hwnd, m, top, left_w, body_h, TRUE);
  MoveWindow(doc.list, w - list_w - m, top, list_w, body_h, TRUE);
  if (doc.input) MoveWindow(doc.input->hwnd, m, h - input_h - m, std::max(w - button_w - 3 * m, 10), input_h, TRUE);
  if (doc.icon) MoveWindow(doc.icon, w - button_w - m, h - input_h - m, button_w, input_h, TRUE);
}

LRESULT CALLBACK DocProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  try {
    Doc* doc = reinterpret_cast<Doc*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    switch (msg) {
      case WM_CREATE: {
        const auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lparam);
        const auto* mdi = static_cast<const MDICREATESTRUCTW*>(cs->lpCreateParams);
        doc = reinterpret_cast<Doc*>(mdi->lParam);
        doc->hwnd = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(doc));
        if (!MakeDocChildren(*doc, hwnd)) return -1;
        break;
      }
      case WM_SIZE:
        if (doc) LayOut(*doc, LOWORD(lparam), HIWORD(lparam));
        break;  // DefMDIChildProc must see WM_SIZE too
      case WM_SETFOCUS: {
        const LRESULT r = DefMDIChildProcW(hwnd, msg, wparam, lparam);
        if (doc && doc->input) SetFocus(doc->input->hwnd);
        return r;
      }
      case WM_COMMAND:
        if (doc && LOWORD(wparam) == kIdSend && HIWORD(wparam) == BN_CLICKED) {
          PostLine(*doc);
          if (doc->input) SetFocus(doc->input->hwnd);
          return 0;
        }
        break;
      default:
        break;
    }
  } catch (...) {
    // Fall through to the default handling.
  }
  return DefMDIChildProcW(hwnd, msg, wparam, lparam);
}

LRESULT CALLBACK FrameProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  switch (msg) {
    case WM_CREATE: {
      CLIENTCREATESTRUCT ccs{};
      ccs.idFirstChild = kFirstChildId;
      g_app->client = CreateWindowExW(WS_EX_CLIENTEDGE, L"MDICLIENT", nullptr,
                                      WS_CHILD | WS_CLIPCHILDREN | WS_VSCROLL | WS_HSCROLL | WS_VISIBLE, 0, 0, 10,
                                      10, hwnd, nullptr, g_app->instance, &ccs);
      return g_app->client ? 0 : -1;
    }
    case WM_CLOSE:
      DestroyWindow(hwnd);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefFrameProcW(hwnd, g_app->client, msg, wparam, lparam);
  }
}

// "RICHCNTL" is a rich-edit control under another name; the other three are
// the system's list box, button and label likewise.
bool RegisterSuperclass(const wchar_t* base, HINSTANCE base_instance, const wchar_t* name) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  if (!GetClassInfoExW(base_instance, base, &wc) && !GetClassInfoExW(nullptr, base, &wc)) return false;
  wc.hInstance = g_app->instance;
  wc.lpszClassName = name;
  wc.style &= ~static_cast<UINT>(CS_GLOBALCLASS);
  return RegisterClassExW(&wc) != 0;
}

bool RegisterClasses() {
  HMODULE rich = LoadLibraryW(L"msftedit.dll");
  const wchar_t* rich_class = MSFTEDIT_CLASS;
  if (!rich) {
    rich = LoadLibraryW(L"riched20.dll");
    rich_class = RICHEDIT_CLASSW;
  }
  if (!rich || !RegisterSuperclass(rich_class, rich, kRichClass)) return false;
  if (!RegisterSuperclass(L"LISTBOX", nullptr, kListClass)) return false;
  if (!RegisterSuperclass(L"BUTTON", nullptr, kIconClass)) return false;
  if (!RegisterSuperclass(L"STATIC", nullptr, kStaticClass)) return false;

  WNDCLASSEXW frame{};
  frame.cbSize = sizeof(frame);
  frame.lpfnWndProc = FrameProc;
  frame.hInstance = g_app->instance;
  frame.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
  frame.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  frame.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
  frame.lpszClassName = kFrameClass;
  if (!RegisterClassExW(&frame)) return false;

  WNDCLASSEXW doc{};
  doc.cbSize = sizeof(doc);
  doc.lpfnWndProc = DocProc;
  doc.hInstance = g_app->instance;
  doc.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
  doc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  doc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  doc.lpszClassName = kDocClass;
  return RegisterClassExW(&doc) != 0;
}

HWND MakeDoc(Doc& doc, int x, int y, int w, int h) {
  const std::wstring title = doc.room ? L"Chat room " + std::to_wstring(doc.number)
                                      : L"Document " + std::to_wstring(doc.number);
  MDICREATESTRUCTW mcs{};
  mcs.szClass = kDocClass;
  mcs.szTitle = title.c_str();
  mcs.hOwner = g_app->instance;
  mcs.x = x;
  mcs.y = y;
  mcs.cx = w;
  mcs.cy = h;
  mcs.style = WS_VISIBLE | WS_CLIPCHILDREN;
  mcs.lParam = reinterpret_cast<LPARAM>(&doc);
  return reinterpret_cast<HWND>(SendMessageW(g_app->client, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
}

bool OpenWindows() {
  g_app->frame = CreateWindowExW(0, kFrameClass, reinterpret_cast<const wchar_t*>(g_app->options.title.c_str()),
                                 WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 40, 40, 900, 640, nullptr, nullptr,
                                 g_app->instance, nullptr);
  if (!g_app->frame) return false;

  const Options& o = g_app->options;
  for (int i = 1; i <= o.documents; ++i) {
    auto d = std::make_unique<Doc>();
    d->number = i;
    g_app->docs.push_back(std::move(d));
  }
  for (int i = 1; i <= o.rooms; ++i) {
    auto d = std::make_unique<Doc>();
    d->number = i;
    d->room = true;
    g_app->docs.push_back(std::move(d));
  }
  // Documents in a column on the right, rooms cascading on the left.
  for (auto& d : g_app->docs) {
    const int k = d->number - 1;
    const HWND made = d->room ? MakeDoc(*d, 8 + 24 * k, 8 + 24 * k, 560, 400)
                              : MakeDoc(*d, 590, 8 + (k % 4) * 130 + (k / 4) * 12, 270, 124);
    if (!made) return false;
  }

  ShowWindow(g_app->frame, SW_SHOWNORMAL);
  Doc* first_room = nullptr;
  for (auto& d : g_app->docs)
    if (d->room && !first_room) first_room = d.get();
  if (first_room) SendMessageW(g_app->client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(first_room->hwnd), 0);
  // Activation moves a child to the top; set the order tests rely on after it.
  HWND after = HWND_TOP;
  for (auto& d : g_app->docs) {
    SetWindowPos(d->hwnd, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    after = d->hwnd;
  }
  if (first_room) SetFocus(first_room->input->hwnd);
  UpdateWindow(g_app->frame);
  return true;
}

int RunRoom(HINSTANCE instance) {
  App app;
  g_app = &app;
  app.instance = instance;
  app.code_page = GetACP();

  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  std::vector<std::u16string> args;
  for (int i = 1; argv && i < argc; ++i) {
    const std::wstring a(argv[i]);
    args.emplace_back(a.begin(), a.end());
  }
  if (argv) LocalFree(argv);
  try {
    app.options = fader::room::ParseOptions(args);
  } catch (const fader::room::UsageError& e) {
    std::fprintf(stderr, "chatroom: %s\n%s", e.what(), fader::room::kUsage);
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

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  try {
    return RunRoom(instance);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "chatroom: %s\n", e.what());
    return 3;
  }
}
