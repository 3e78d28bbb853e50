// Draws the window's skin (a 250 x 250 GIF89a with one transparent index) and
// the program icon (32 x 32, 256 colours, 1-bit mask) into a folder, by
// default the project's resources/.
//
//   fader_skin_gen <folder>
//
// Writes skin.gif, mirtane.ico, and the two raw resources that the resource
// script embeds as icon 30001 and icon group 1 (icon_30001.bin,
// icon_group_1.bin). The output depends on nothing but this code.
#include <gif_lib.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "tools/skin_gen/skin_shape.h"

namespace {

using fader::skin::DistanceToEdge;
using fader::skin::Edge;
using fader::skin::Inside;
using fader::skin::Outline;

constexpr int kSkinSize = 250;
constexpr int kIconSize = 32;
constexpr std::uint8_t kBlack = 0;
constexpr std::uint8_t kTransparent = 255;  // palette white, never drawn

struct Rgb {
  std::uint8_t r, g, b;
};

// Entry 0 black, 255 white; 1 to 254 run from a dark red over full red to a
// pale red for highlights.
std::array<Rgb, 256> Palette() {
  std::array<Rgb, 256> p{};
  p[0] = {0, 0, 0};
  p[255] = {255, 255, 255};
  for (int k = 1; k <= 254; ++k) {
    const double v = (k - 1) / 253.0;
    const double red = 70.0 + 185.0 * std::min(1.0, v / 0.8);
    const double pale = v > 0.8 ? (v - 0.8) / 0.2 * 170.0 : 0.0;
    p[k] = {static_cast<std::uint8_t>(std::lround(red)), static_cast<std::uint8_t>(std::lround(pale)),
            static_cast<std::uint8_t>(std::lround(pale))};
  }
  return p;
}

// A shade of red on the palette's ramp, 0 darkest, 1 palest.
std::uint8_t Shade(double level) {
  const long k = 1 + std::lround(std::clamp(level, 0.0, 1.0) * 253.0);
  return static_cast<std::uint8_t>(std::clamp(k, 1L, 254L));
}

// One pixel of a skin-like picture: light along the top and left edges, a
// thin dark line a few pixels inside the outline, the face darkening from
// top to bottom, and a black rim along the lower edge and the upper half of
// the right edge.
std::uint8_t SkinPixel(const Outline& o, int x, int y, double rim, double mid_y, double top_y, double height) {
  const double cx = x + 0.5;
  const double cy = y + 0.5;
  if (!Inside(o, cx, cy)) return kTransparent;
  const double dt = DistanceToEdge(o, Edge::kTop, cx, cy);
  const double dr = DistanceToEdge(o, Edge::kRight, cx, cy);
  const double db = DistanceToEdge(o, Edge::kBottom, cx, cy);
  const double dl = DistanceToEdge(o, Edge::kLeft, cx, cy);
  if (db < rim || (dr < rim && cy <= mid_y)) return kBlack;
  const double fall = (cy - top_y) / height;  // 0 at the top, 1 at the bottom
  if (std::min(dt, dl) < rim * 0.7) return Shade(0.97 - 0.1 * fall);
  const double inner = std::min(std::min(dt, dl), std::min(dr, db));
  double level = 0.72 - 0.32 * fall;
  if (inner >= rim + 2.0 && inner < rim + 3.2) level -= 0.22;  // the inner line
  if (inner >= rim + 3.2 && inner < rim + 4.4) level += 0.12;  // its light side
  return Shade(level);
}

void WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

void Put16(std::vector<std::uint8_t>& v, unsigned value) {
  v.push_back(static_cast<std::uint8_t>(value & 0xFF));
  v.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}

void Put32(std::vector<std::uint8_t>& v, std::uint32_t value) {
  Put16(v, value & 0xFFFF);
  Put16(v, value >> 16);
}

void WriteGif(const std::string& path, const std::vector<std::uint8_t>& pixels, const std::array<Rgb, 256>& pal) {
  int err = 0;
  GifFileType* gif = EGifOpenFileName(path.c_str(), false, &err);
  if (!gif) throw std::runtime_error("cannot create " + path + ": " + GifErrorString(err));
  std::array<GifColorType, 256> colors{};
  for (int i = 0; i < 256; ++i) colors[i] = {pal[i].r, pal[i].g, pal[i].b};
  ColorMapObject* map = GifMakeMapObject(256, colors.data());
  EGifSetGifVersion(gif, true);
  bool ok = map && EGifPutScreenDesc(gif, kSkinSize, kSkinSize, 8, 0, map) == GIF_OK;
  GraphicsControlBlock gcb{};
  gcb.DisposalMode = DISPOSAL_UNSPECIFIED;
  gcb.UserInputFlag = false;
  gcb.DelayTime = 0;
  gcb.TransparentColor = kTransparent;
  GifByteType ext[4];
  const size_t ext_len = EGifGCBToExtension(&gcb, ext);
  ok = ok && EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(ext_len), ext) == GIF_OK;
  ok = ok && EGifPutImageDesc(gif, 0, 0, kSkinSize, kSkinSize, false, nullptr) == GIF_OK;
  std::vector<GifPixelType> row(kSkinSize);
  for (int y = 0; ok && y < kSkinSize; ++y) {
    std::copy_n(pixels.begin() + static_cast<std::ptrdiff_t>(y) * kSkinSize, kSkinSize, row.begin());
    ok = EGifPutLine(gif, row.data(), kSkinSize) == GIF_OK;
  }
  GifFreeMapObject(map);
  if (EGifCloseFile(gif, &err) != GIF_OK || !ok) throw std::runtime_error("cannot write " + path);
}

// The icon image as an icon resource stores it: a BITMAPINFOHEADER of double
// height, the 256-entry palette, the 8-bit colour rows and the 1-bit mask rows
// (1 = transparent), both bottom-up with rows padded to 32 bits.
std::vector<std::uint8_t> IconImage(const std::array<Rgb, 256>& pal) {
  const Outline o = fader::skin::IconOutline(kIconSize);
  std::vector<std::uint8_t> colour(kIconSize * kIconSize, kBlack);
  std::vector<bool> clear(kIconSize * kIconSize, true);
  const double rim = 1.6;
  const double mid = kIconSize / 2.0;
  for (int y = 0; y < kIconSize; ++y) {
    for (int x = 0; x < kIconSize; ++x) {
      const std::uint8_t p = SkinPixel(o, x, y, rim, mid, 0.0, kIconSize);
      if (p == kTransparent) continue;
      clear[y * kIconSize + x] = false;
      colour[y * kIconSize + x] = p;
    }
  }
  std::vector<std::uint8_t> v;
  Put32(v, 40);
  Put32(v, kIconSize);
  Put32(v, kIconSize * 2);
  Put16(v, 1);
  Put16(v, 8);
  Put32(v, 0);
  Put32(v, kIconSize * kIconSize + kIconSize * 4);
  Put32(v, 0);
  Put32(v, 0);
  Put32(v, 256);
  Put32(v, 0);
  for (const Rgb& c : pal) {
    v.push_back(c.b);
    v.push_back(c.g);
    v.push_back(c.r);
    v.push_back(0);
  }
  for (int y = kIconSize - 1; y >= 0; --y) {
    for (int x = 0; x < kIconSize; ++x) v.push_back(colour[y * kIconSize + x]);
  }
  for (int y = kIconSize - 1; y >= 0; --y) {
    for (int byte = 0; byte < kIconSize / 8; ++byte) {
      std::uint8_t bits = 0;
      for (int bit = 0; bit < 8; ++bit) {
        if (clear[y * kIconSize + byte * 8 + bit]) bits |= static_cast<std::uint8_t>(0x80 >> bit);
      }
      v.push_back(bits);
    }
  }
  return v;
}

// The directory entry of the one 32 x 32, 8-bit image; `tail` is the
// 16-bit resource id (group) or the 32-bit file offset (.ico).
// The head of an icon directory with one image (reserved 0, type 1 for
// icons, count 1) and that image's entry up to its size; the icon file and
// the resource's group record differ only in what follows.
void PutIconDirectory(std::vector<std::uint8_t>& v, std::size_t image_size) {
  Put16(v, 0);
  Put16(v, 1);
  Put16(v, 1);
  v.push_back(kIconSize);
  v.push_back(kIconSize);
  v.push_back(0);  // 256 colours
  v.push_back(0);
  Put16(v, 1);
  Put16(v, 8);
  Put32(v, static_cast<std::uint32_t>(image_size));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
    return 2;
  }
  const std::string dir = argv[1];
  try {
    const auto pal = Palette();
    const Outline skin = fader::skin::SkinOutline();
    std::vector<std::uint8_t> pixels(kSkinSize * kSkinSize, kTransparent);
    for (int y = 0; y < kSkinSize; ++y) {
      for (int x = 0; x < kSkinSize; ++x) pixels[y * kSkinSize + x] = SkinPixel(skin, x, y, 3.0, 88.0, 30.0, 114.0);
    }
    WriteGif(dir + "/skin.gif", pixels, pal);

    const std::vector<std::uint8_t> image = IconImage(pal);
    WriteFile(dir + "/icon_30001.bin", image);
    std::vector<std::uint8_t> group;
    PutIconDirectory(group, image.size());
    Put16(group, 30001);
    WriteFile(dir + "/icon_group_1.bin", group);
    std::vector<std::uint8_t> ico;
    PutIconDirectory(ico, image.size());
    Put32(ico, 6 + 16);
    ico.insert(ico.end(), image.begin(), image.end());
    WriteFile(dir + "/mirtane.ico", ico);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "fader_skin_gen: %s\n", e.what());
    return 1;
  }
  return 0;
}
