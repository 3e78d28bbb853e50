#include "tools/chatroom/room_display_win32.h"

#include <richedit.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/wide_text_win32.h"
#include "tools/chatroom/room_markup.h"
#include "tools/chatroom/room_rtf.h"

namespace fader::room {
namespace {

constexpr char16_t kDefaultFace[] = u"Arial";

CHARFORMAT2W Format(const Style& style) {
  CHARFORMAT2W cf{};
  cf.cbSize = sizeof(cf);
  cf.dwMask = CFM_COLOR | CFM_FACE | CFM_SIZE | CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_SUBSCRIPT;
  cf.yHeight = 200;  // 10 points
  cf.crTextColor = style.color ? RGB(style.color->red, style.color->green, style.color->blue) : RGB(0, 0, 0);
  const std::u16string_view shown = style.face.empty() ? std::u16string_view(kDefaultFace) : style.face;
  std::wstring face = ToWide(shown);
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
  CallWide(box, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(ToWide(text).c_str()));
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
  RtfSource source{RunsToRtf(runs, kDefaultFace), 0};
  EDITSTREAM stream{};
  stream.dwCookie = reinterpret_cast<DWORD_PTR>(&source);
  stream.pfnCallback = &ReadRtf;
  SelectEnd(box);
  CallWide(box, EM_STREAMIN, SF_RTF | SFF_SELECTION, reinterpret_cast<LPARAM>(&stream));
}

}  // namespace

void SetRoomStyle(const Box& box) {
  CHARFORMAT2W cf = Format(Style{});
  CallWide(box, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&cf));
}

void ShowPostedLine(const Box& display, std::u16string_view line) {
  if (CallWide(display, WM_GETTEXTLENGTH, 0, 0) > 0) AppendStyled(display, u"\r", Style{});
  std::vector<Run> runs{Run{u"You:\t", Style{}}};
  runs.front().style.bold = true;
  for (Run& run : ReadChatLine(line)) runs.push_back(std::move(run));
  AppendRuns(display, runs);
  CallWide(display, WM_VSCROLL, SB_BOTTOM, 0);
}

}  // namespace fader::room
