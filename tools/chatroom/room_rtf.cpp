#include "tools/chatroom/room_rtf.h"

#include <algorithm>
#include <cstdint>

namespace fader::room {

namespace {

void AppendChar(std::string& out, char16_t ch) {
  if (ch == u'\\' || ch == u'{' || ch == u'}') {
    out += '\\';
    out += static_cast<char>(ch);
  } else if (ch == u'\t') {
    out += "\\tab ";
  } else if (ch >= 0x20 && ch < 0x80) {
    out += static_cast<char>(ch);
  } else {
    out += "\\u" + std::to_string(static_cast<std::int16_t>(ch)) + "?";
  }
}

void AppendText(std::string& out, std::u16string_view text) {
  for (const char16_t ch : text) AppendChar(out, ch);
}

// A name in the font table ends at its first ';', so one inside the name is
// written as a hex escape.
void AppendFontName(std::string& out, std::u16string_view name) {
  for (const char16_t ch : name) {
    if (ch == u';') out += "\\'3b";
    else AppendChar(out, ch);
  }
}

template <class T>
std::size_t IndexOf(std::vector<T>& table, const T& value) {
  const auto it = std::find(table.begin(), table.end(), value);
  if (it != table.end()) return static_cast<std::size_t>(it - table.begin());
  table.push_back(value);
  return table.size() - 1;
}

}  // namespace

std::string RunsToRtf(const std::vector<Run>& runs, std::u16string_view default_face) {
  std::vector<std::u16string> faces;
  std::vector<Rgb> colors;
  std::string body;
  for (const Run& run : runs) {
    std::u16string face(run.style.face.empty() ? default_face : std::u16string_view(run.style.face));
    face.resize(std::min(face.size(), kFaceLength));
    body += "{\\f" + std::to_string(IndexOf(faces, face)) + "\\fs20\\cf" +
            std::to_string(IndexOf(colors, run.style.color.value_or(Rgb{})) + 1);
    if (run.style.bold) body += "\\b";
    if (run.style.italic) body += "\\i";
    if (run.style.underline) body += "\\ul";
    if (run.style.shift == Shift::kSuper) body += "\\super";
    if (run.style.shift == Shift::kSub) body += "\\sub";
    body += ' ';
    AppendText(body, run.text);
    body += '}';
  }
  std::string out = "{\\rtf1\\ansi\\deff0{\\fonttbl";
  for (std::size_t i = 0; i < faces.size(); ++i) {
    out += "{\\f" + std::to_string(i) + "\\fnil ";
    AppendFontName(out, faces[i]);
    out += ";}";
  }
  // Entry 0 is the automatic colour; the runs' colours start at 1.
  out += "}{\\colortbl;";
  for (const Rgb& c : colors) {
    out += "\\red" + std::to_string(c.red) + "\\green" + std::to_string(c.green) + "\\blue" +
           std::to_string(c.blue) + ";";
  }
  out += "}" + body + "}";
  return out;
}

}  // namespace fader::room
