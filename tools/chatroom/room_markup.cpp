#include "tools/chatroom/room_markup.h"

#include <cstddef>

namespace fader::room {
namespace {

char16_t Lower(char16_t ch) { return (ch >= u'A' && ch <= u'Z') ? static_cast<char16_t>(ch - u'A' + u'a') : ch; }
bool IsLetter(char16_t ch) { return (ch >= u'a' && ch <= u'z') || (ch >= u'A' && ch <= u'Z'); }
bool IsSpace(char16_t ch) { return ch == u' ' || ch == u'\t' || ch == u'\r' || ch == u'\n'; }

int HexValue(char16_t ch) {
  if (ch >= u'0' && ch <= u'9') return ch - u'0';
  if (ch >= u'a' && ch <= u'f') return ch - u'a' + 10;
  if (ch >= u'A' && ch <= u'F') return ch - u'A' + 10;
  return -1;
}

std::u16string Lowered(std::u16string_view s) {
  std::u16string out(s);
  for (char16_t& ch : out) ch = Lower(ch);
  return out;
}

// "#RRGGBB" or "RRGGBB"; anything else is no colour and leaves the current one.
std::optional<Rgb> ParseColor(std::u16string_view v) {
  if (!v.empty() && v.front() == u'#') v.remove_prefix(1);
  if (v.size() != 6) return std::nullopt;
  int d[6];
  for (int i = 0; i < 6; ++i) {
    d[i] = HexValue(v[static_cast<std::size_t>(i)]);
    if (d[i] < 0) return std::nullopt;
  }
  return Rgb{static_cast<std::uint8_t>(d[0] * 16 + d[1]), static_cast<std::uint8_t>(d[2] * 16 + d[3]),
             static_cast<std::uint8_t>(d[4] * 16 + d[5])};
}

// Where the tags of one line end. A tag's '>' is the first one outside quoted
// values, so where a search from a place ends depends on the quote it is in
// there. A search that runs off the end of the line marks each place it
// passed with that quote; a later search that reaches a marked place in the
// same quote would go the same way, and stops: no '>'. So each place is
// searched from at most once in each of its three quotes and marked as
// often, and a line of many unclosed tags reads in linear time.
class TagEnds {
 public:
  TagEnds(std::u16string_view markup, std::size_t* steps) : markup_(markup), steps_(steps) {}

  // The index of the '>' of a tag that starts at markup[at] == '<', or npos.
  std::size_t Find(std::size_t at) {
    char16_t quote = 0;
    std::size_t i = at + 1;
    for (; i < markup_.size() && !Marked(i, quote); ++i) {
      Step();
      if (quote == 0 && markup_[i] == u'>') return i;
      quote = QuoteAfter(quote, markup_[i]);
    }
    MarkNoEnd(at + 1, i);
    return std::u16string_view::npos;
  }

 private:
  static char16_t QuoteAfter(char16_t quote, char16_t ch) {
    if (quote != 0) return ch == quote ? 0 : quote;
    return (ch == u'"' || ch == u'\'') ? ch : 0;
  }
  static std::uint8_t Bit(char16_t quote) { return quote == 0 ? 1 : quote == u'"' ? 2 : 4; }

  bool Marked(std::size_t i, char16_t quote) const { return !no_end_.empty() && (no_end_[i] & Bit(quote)) != 0; }

  // Marks [from, to), the places a search without an end went through.
  void MarkNoEnd(std::size_t from, std::size_t to) {
    if (no_end_.empty()) no_end_.assign(markup_.size(), 0);
    char16_t quote = 0;
    for (std::size_t i = from; i < to; ++i) {
      Step();
      no_end_[i] = static_cast<std::uint8_t>(no_end_[i] | Bit(quote));
      quote = QuoteAfter(quote, markup_[i]);
    }
  }

  void Step() {
    if (steps_) ++*steps_;
  }

  std::u16string_view markup_;
  std::size_t* steps_;
  std::vector<std::uint8_t> no_end_;  // per place, a bit for each quote from which no '>' follows
};

struct Attribute {
  std::u16string name;  // lower case
  std::u16string value;
};

// The attributes of a tag's body (what follows its name).
std::vector<Attribute> ParseAttributes(std::u16string_view body) {
  std::vector<Attribute> out;
  std::size_t i = 0;
  while (i < body.size()) {
    while (i < body.size() && IsSpace(body[i])) ++i;
    const std::size_t name_start = i;
    while (i < body.size() && !IsSpace(body[i]) && body[i] != u'=') ++i;
    Attribute a;
    a.name = Lowered(body.substr(name_start, i - name_start));
    while (i < body.size() && IsSpace(body[i])) ++i;
    if (i < body.size() && body[i] == u'=') {
      ++i;
      while (i < body.size() && IsSpace(body[i])) ++i;
      if (i < body.size() && (body[i] == u'"' || body[i] == u'\'')) {
        const char16_t quote = body[i++];
        const std::size_t v = i;
        while (i < body.size() && body[i] != quote) ++i;
        a.value = std::u16string(body.substr(v, i - v));
        if (i < body.size()) ++i;
      } else {
        const std::size_t v = i;
        while (i < body.size() && !IsSpace(body[i])) ++i;
        a.value = std::u16string(body.substr(v, i - v));
      }
    }
    if (!a.name.empty()) out.push_back(std::move(a));
    else if (i == name_start) ++i;  // a stray '=': step over it
  }
  return out;
}

class Reader {
 public:
  void Text(char16_t ch) {
    if (ch == u'\r' || ch == u'\n') ch = u' ';
    if (runs_.empty() || !(runs_.back().style == style_)) runs_.push_back(Run{{}, style_});
    runs_.back().text.push_back(ch);
  }

  void Tag(std::u16string_view inner) {
    const bool closing = !inner.empty() && inner.front() == u'/';
    if (closing) inner.remove_prefix(1);
    std::size_t n = 0;
    while (n < inner.size() && !IsSpace(inner[n]) && inner[n] != u'/') ++n;
    const std::u16string name = Lowered(inner.substr(0, n));
    if (name == u"font") {
      closing ? PopFont() : PushFont(inner.substr(n));
    } else if (name == u"b") {
      style_.bold = !closing;
    } else if (name == u"i") {
      style_.italic = !closing;
    } else if (name == u"u") {
      style_.underline = !closing;
    } else if (name == u"sup") {
      style_.shift = closing ? Shift::kNone : Shift::kSuper;
    } else if (name == u"sub") {
      style_.shift = closing ? Shift::kNone : Shift::kSub;
    }
    // Any other tag is dropped.
  }

  std::vector<Run> Take() { return std::move(runs_); }

 private:
  void PushFont(std::u16string_view attributes) {
    fonts_.push_back(FontState{style_.color, style_.face});
    for (const Attribute& a : ParseAttributes(attributes)) {
      if (a.name == u"color") {
        if (auto c = ParseColor(a.value)) style_.color = c;
      } else if (a.name == u"face") {
        style_.face = a.value.substr(0, kFaceLength);
      }
    }
  }

  void PopFont() {
    if (fonts_.empty()) return;
    style_.color = fonts_.back().color;
    style_.face = fonts_.back().face;
    fonts_.pop_back();
  }

  struct FontState {
    std::optional<Rgb> color;
    std::u16string face;
  };

  Style style_;
  std::vector<FontState> fonts_;
  std::vector<Run> runs_;
};

}  // namespace

std::vector<Run> ReadChatLine(std::u16string_view markup, std::size_t* tag_search_steps) {
  Reader reader;
  TagEnds tag_ends(markup, tag_search_steps);
  std::size_t i = 0;
  while (i < markup.size()) {
    const char16_t ch = markup[i];
    if (ch == u'<' && i + 1 < markup.size() && (IsLetter(markup[i + 1]) || markup[i + 1] == u'/')) {
      const std::size_t end = tag_ends.Find(i);
      if (end != std::u16string_view::npos) {
        reader.Tag(markup.substr(i + 1, end - i - 1));
        i = end + 1;
        continue;
      }
    }
    reader.Text(ch);
    ++i;
  }
  return reader.Take();
}

}  // namespace fader::room
