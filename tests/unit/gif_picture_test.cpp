// The program's own GIF decoder against giflib: the committed skin and
// pictures giflib writes give giflib's pixels; files cut short, codes beyond
// the table and sizes or places that do not fit are refused without a read
// or write outside the file or the picture (the host tests run under ASan).
#include <gif_lib.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

#include "window/gif_picture.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using fader::DecodeGif;
using fader::GifError;
using fader::GifPicture;

Bytes SkinFile() {
  std::ifstream f(FADER_SKIN_GIF, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(f), {});
}

// The picture as giflib decodes the same bytes, laid on its screen as
// premultiplied blue-green-red-alpha.
GifPicture Giflib(const Bytes& file) {
  struct Source {
    const Bytes* bytes;
    std::size_t at;
  } source{&file, 0};
  auto read = [](GifFileType* g, GifByteType* to, int n) {
    auto* s = static_cast<Source*>(g->UserData);
    const std::size_t count = std::min<std::size_t>(n, s->bytes->size() - s->at);
    std::memcpy(to, s->bytes->data() + s->at, count);
    s->at += count;
    return static_cast<int>(count);
  };
  int err = 0;
  GifFileType* g = DGifOpen(&source, read, &err);
  GifPicture p;
  if (!g) return p;
  if (DGifSlurp(g) == GIF_OK && g->ImageCount > 0) {
    GraphicsControlBlock gcb{};
    gcb.TransparentColor = NO_TRANSPARENT_COLOR;
    DGifSavedExtensionToGCB(g, 0, &gcb);
    const SavedImage& image = g->SavedImages[0];
    const GifImageDesc& d = image.ImageDesc;
    const ColorMapObject* map = d.ColorMap ? d.ColorMap : g->SColorMap;
    p.width = g->SWidth;
    p.height = g->SHeight;
    p.pixels.assign(static_cast<std::size_t>(p.width) * p.height * 4, 0);
    for (int y = 0; y < d.Height; ++y) {
      for (int x = 0; x < d.Width; ++x) {
        const int index = image.RasterBits[y * d.Width + x];
        if (index == gcb.TransparentColor) continue;
        const GifColorType c = map->Colors[index];
        std::uint8_t* to = &p.pixels[((static_cast<std::size_t>(d.Top) + y) * p.width + d.Left + x) * 4];
        to[0] = c.Blue;
        to[1] = c.Green;
        to[2] = c.Red;
        to[3] = 255;
      }
    }
  }
  DGifCloseFile(g, &err);
  return p;
}

// A picture as giflib writes it: rows of indices in the order given.
struct Written {
  int screen_width, screen_height, left, top, width, height;
  int colours;  // a power of two from 2 to 256
  bool local_table;
  bool interlaced;
  int transparent;  // -1: none
  Bytes indices;    // width x height
};

Bytes Write(const Written& w) {
  Bytes out;
  auto write = [](GifFileType* g, const GifByteType* from, int n) {
    auto* o = static_cast<Bytes*>(g->UserData);
    o->insert(o->end(), from, from + n);
    return n;
  };
  int err = 0;
  GifFileType* g = EGifOpen(&out, write, &err);
  EXPECT_NE(g, nullptr);
  if (!g) return out;
  ColorMapObject* map = GifMakeMapObject(w.colours, nullptr);
  for (int i = 0; i < w.colours; ++i) {
    map->Colors[i] = {static_cast<GifByteType>(i * 37), static_cast<GifByteType>(255 - i),
                      static_cast<GifByteType>(i * 11 + 3)};
  }
  EGifSetGifVersion(g, true);
  EXPECT_EQ(EGifPutScreenDesc(g, w.screen_width, w.screen_height, 8, 0, w.local_table ? nullptr : map), GIF_OK);
  if (w.transparent >= 0) {
    GraphicsControlBlock gcb{};
    gcb.TransparentColor = w.transparent;
    GifByteType ext[4];
    EGifGCBToExtension(&gcb, ext);
    EXPECT_EQ(EGifPutExtension(g, GRAPHICS_EXT_FUNC_CODE, 4, ext), GIF_OK);
  }
  EXPECT_EQ(EGifPutImageDesc(g, w.left, w.top, w.width, w.height, w.interlaced, w.local_table ? map : nullptr),
            GIF_OK);
  Bytes row;
  for (int y = 0; y < w.height; ++y) {
    row.assign(w.indices.begin() + y * w.width, w.indices.begin() + (y + 1) * w.width);
    EXPECT_EQ(EGifPutLine(g, row.data(), w.width), GIF_OK);
  }
  EXPECT_EQ(EGifCloseFile(g, &err), GIF_OK);
  GifFreeMapObject(map);
  return out;
}

Bytes Noise(int count, int colours, unsigned seed) {
  Bytes v(static_cast<std::size_t>(count));
  for (auto& b : v) {
    seed = seed * 1103515245u + 12345u;
    b = static_cast<std::uint8_t>((seed >> 16) % static_cast<unsigned>(colours));
  }
  return v;
}

// A GIF made byte by byte: a grey table of `colours` entries (0: none), and
// one frame whose LZW codes are written as given, each as wide as a decoder
// reads it at that point.
struct Made {
  unsigned screen_width = 4, screen_height = 1;
  unsigned left = 0, top = 0, width = 4, height = 1;
  int colours = 4;
  int min_width = 2;
  std::vector<int> codes;
};

Bytes Make(const Made& m) {
  Bytes out = {'G', 'I', 'F', '8', '9', 'a'};
  auto word = [&](unsigned v) { out.insert(out.end(), {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8)}); };
  word(m.screen_width);
  word(m.screen_height);
  int bits = 0;
  while ((2 << bits) < m.colours) ++bits;
  out.insert(out.end(), {static_cast<std::uint8_t>(m.colours ? 0x80 | bits : 0), 0, 0});
  for (int i = 0; m.colours && i < (2 << bits); ++i) out.insert(out.end(), 3, static_cast<std::uint8_t>(i));
  out.push_back(0x2C);
  word(m.left);
  word(m.top);
  word(m.width);
  word(m.height);
  out.push_back(0);
  out.push_back(static_cast<std::uint8_t>(m.min_width));

  const int clear = 1 << m.min_width;
  int width = m.min_width + 1, next = clear + 2;
  bool after_clear = true;
  Bytes data;
  std::uint32_t held = 0;
  int held_bits = 0;
  for (int code : m.codes) {
    held |= static_cast<std::uint32_t>(code) << held_bits;
    for (held_bits += width; held_bits >= 8; held_bits -= 8, held >>= 8) data.push_back(static_cast<std::uint8_t>(held));
    if (code == clear) {
      width = m.min_width + 1;
      next = clear + 2;
      after_clear = true;
    } else if (!after_clear && next < 4096 && ++next == (1 << width) && width < 12) {
      ++width;
    } else {
      after_clear = false;
    }
  }
  if (held_bits > 0) data.push_back(static_cast<std::uint8_t>(held));
  for (std::size_t at = 0; at < data.size(); at += 255) {
    const std::size_t n = std::min<std::size_t>(255, data.size() - at);
    out.push_back(static_cast<std::uint8_t>(n));
    out.insert(out.end(), data.begin() + static_cast<std::ptrdiff_t>(at), data.begin() + static_cast<std::ptrdiff_t>(at + n));
  }
  out.insert(out.end(), {0, 0x3B});
  return out;
}

// Decodes a copy of exactly these bytes, so that ASan sees a read beyond them.
GifPicture DecodeExactly(const Bytes& file) {
  const std::unique_ptr<std::uint8_t[]> copy(new std::uint8_t[file.size()]);
  std::copy(file.begin(), file.end(), copy.get());
  return DecodeGif({copy.get(), file.size()});
}

TEST(GifPicture, TheSkinGivesGiflibsPixelsWithTransparentOnesAllZero) {
  const Bytes file = SkinFile();
  ASSERT_FALSE(file.empty());
  const GifPicture want = Giflib(file);
  ASSERT_EQ(want.width, 250);
  const GifPicture got = DecodeExactly(file);
  EXPECT_EQ(got.width, want.width);
  EXPECT_EQ(got.height, want.height);
  EXPECT_TRUE(got.pixels == want.pixels);
}

TEST(GifPicture, PicturesGiflibWritesGiveGiflibsPixels) {
  const Written pictures[] = {
      // Noise in 256 colours: the code table fills and is cleared again and again.
      {300, 200, 0, 0, 300, 200, 256, false, false, -1, Noise(300 * 200, 256, 1)},
      // One pixel of a two-colour table: the smallest codes.
      {1, 1, 0, 0, 1, 1, 2, false, false, -1, {1}},
      // One long run: strings that refer to the code being made.
      {2000, 2, 0, 0, 2000, 2, 4, false, false, -1, Bytes(4000, 3)},
      // A frame with its own table, touching the screen's right and bottom
      // edges, with a transparent colour; the screen around it is transparent.
      {40, 30, 13, 9, 27, 21, 16, true, false, 5, Noise(27 * 21, 16, 2)},
      // Interlaced, with a height that is no multiple of 8.
      {7, 19, 0, 0, 7, 19, 8, false, true, 0, Noise(7 * 19, 8, 3)},
  };
  for (const Written& w : pictures) {
    const Bytes file = Write(w);
    const GifPicture want = Giflib(file);
    ASSERT_EQ(want.width, w.screen_width);
    const GifPicture got = DecodeExactly(file);
    EXPECT_EQ(got.width, w.screen_width);
    EXPECT_EQ(got.height, w.screen_height);
    EXPECT_TRUE(got.pixels == want.pixels) << w.screen_width << " x " << w.screen_height;
  }
}

TEST(GifPicture, AFullCodeTableStaysAsItIsAtTwelveBitsUntilTheNextClear) {
  // 4,101 literals define codes up to 4095 and go on past them; then the
  // first code made (the first two literals) and a clear code, after which
  // a literal is read at 3 bits again: 4,104 pixels in two rows.
  Made m;
  m.codes = {4};
  for (int i = 0; i < 4101; ++i) m.codes.push_back(i % 4);
  m.codes.insert(m.codes.end(), {6, 4, 2, 5});
  m.width = m.screen_width = 2052;
  m.height = m.screen_height = 2;
  const GifPicture got = DecodeExactly(Make(m));
  ASSERT_EQ(got.width, 2052);
  std::vector<int> seen;
  for (std::size_t i = 0; i < got.pixels.size(); i += 4) seen.push_back(got.pixels[i]);  // grey level = index
  std::vector<int> want(m.codes.begin() + 1, m.codes.begin() + 4102);
  want.insert(want.end(), {0, 1, 2});
  EXPECT_EQ(seen, want);
}

TEST(GifPicture, EveryCutOfTheSkinIsRefused) {
  const Bytes file = SkinFile();
  ASSERT_FALSE(file.empty());
  for (std::size_t size = 0; size < file.size(); ++size) {
    EXPECT_THROW(DecodeExactly(Bytes(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(size))), GifError)
        << size << " of " << file.size() << " bytes";
  }
}

TEST(GifPicture, RefusesCodesBeyondTheTableAndDataShortOfTheLastPixel) {
  struct Case {
    const char* what;
    std::vector<int> codes;
  };
  // Two colour bits: clear 4, end 5, codes made from 6 on.
  const Case cases[] = {
      {"a code beyond the one being made", {4, 1, 7, 0, 0}},
      {"a made code right after a clear code", {4, 6, 0, 0}},
      {"the end code as the first code", {4, 5, 0, 0, 0, 0}},
      {"an end before the last pixel", {4, 1, 2, 3, 5}},
      {"data that stop before the last pixel", {4, 1}},
  };
  for (const Case& c : cases) {
    Made m;
    m.codes = c.codes;
    EXPECT_THROW(DecodeExactly(Make(m)), GifError) << c.what;
  }
  Made made_code;  // the code being made is taken: 1, 1 1, 1
  made_code.codes = {4, 1, 6, 1, 5};
  EXPECT_NO_THROW(DecodeExactly(Make(made_code)));
  Made no_clear;  // data need not start with a clear code
  no_clear.codes = {3, 2, 6, 5};
  const GifPicture got = DecodeExactly(Make(no_clear));
  EXPECT_EQ(Bytes({got.pixels[0], got.pixels[4], got.pixels[8], got.pixels[12]}), Bytes({3, 2, 3, 2}));
}

TEST(GifPicture, ASecondFrameIsSkippedWhole) {
  Made one;
  one.codes = {4, 0, 1, 2, 3, 5};
  Bytes two = Make(one);
  two.pop_back();  // the trailer, after a second frame with its own table of two colours
  two.insert(two.end(), {0x2C, 0, 0, 0, 0, 4, 0, 1, 0, 0x80, 200, 200, 200, 100, 100, 100, 2, 2, 0x44, 0x01, 0, 0x3B});
  EXPECT_EQ(DecodeExactly(two).pixels, DecodeExactly(Make(one)).pixels);
}

TEST(GifPicture, RefusesSizesPlacesAndColoursThatDoNotFit) {
  struct Case {
    const char* what;
    Made m;
  };
  Made ok;
  ok.codes = {4, 0, 1, 2, 3, 5};
  EXPECT_NO_THROW(DecodeExactly(Make(ok)));
  const auto with = [&](auto change) {
    Made m = ok;
    change(m);
    return m;
  };
  const Case cases[] = {
      {"a screen of no width", with([](Made& m) { m.screen_width = 0; })},
      {"a screen wider than taken", with([](Made& m) { m.screen_width = fader::kGifMaxSide + 1; })},
      {"a frame of no height", with([](Made& m) { m.height = 0; })},
      {"a frame beyond the screen's right edge", with([](Made& m) { m.left = 1; })},
      {"a frame beyond the screen's bottom edge", with([](Made& m) { m.top = 1; })},
      {"no colour table", with([](Made& m) { m.colours = 0; })},
      {"a colour beyond a two-colour table", with([](Made& m) { m.colours = 2; })},
      {"an LZW code size of 1", with([](Made& m) { m.min_width = 1; m.codes = {2, 0, 1, 0, 1, 3}; })},
  };
  for (const Case& c : cases) EXPECT_THROW(DecodeExactly(Make(c.m)), GifError) << c.what;
}

}  // namespace
