// How the stand-in chat room shows a posted line: the markup of a chat line
// read into runs of text of one style each.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fader::room {

struct Rgb {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  bool operator==(const Rgb&) const = default;
};

enum class Shift { kNone, kSuper, kSub };

struct Style {
  std::optional<Rgb> color;  // none: the room's own text colour
  std::u16string face;       // empty: the room's own face
  bool bold = false;
  bool italic = false;
  bool underline = false;
  Shift shift = Shift::kNone;
  bool operator==(const Style&) const = default;
};

struct Run {
  std::u16string text;
  Style style;
};

// As much of a face as a window's font takes.
inline constexpr std::size_t kFaceLength = 31;

// Reads a chat line as the room shows it. Known tags: <font> with color="#RRGGBB"
// (quotes and '#' optional) and face="..." (cut to kFaceLength characters, so
// that a long face is not copied into every run); </font> goes back to the style
// before the matching <font>; <b> <i> <u> <sup> <sub> and their closing tags.
// Other tags are dropped, and tags need not be closed. Nothing is unescaped:
// "&amp;" shows as it is. A '<' that does not start a tag (no letter or '/'
// after it, or no '>' to end it) is text. Line breaks show as spaces, since a
// post is one line. Neighbouring text of one style comes as one run.
// With tag_search_steps, adds to it the characters looked at in searching
// for the ends of tags (the part of the work that depends on how tags are
// left open), so that tests can bound it.
std::vector<Run> ReadChatLine(std::u16string_view markup, std::size_t* tag_search_steps = nullptr);

}  // namespace fader::room
