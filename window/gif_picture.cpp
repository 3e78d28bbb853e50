#include "window/gif_picture.h"

#include <array>
#include <cstddef>
#include <string_view>

namespace fader {
namespace {

// The file front to back; every read checks that its bytes are there.
class Reader {
 public:
  explicit Reader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  std::uint8_t Byte() {
    if (at_ >= bytes_.size()) throw GifError("the file ends early");
    return bytes_[at_++];
  }
  // Little-endian, as every GIF number is.
  unsigned Word() {
    const unsigned low = Byte();
    return low | (static_cast<unsigned>(Byte()) << 8);
  }
  std::span<const std::uint8_t> Take(std::size_t count) {
    if (count > bytes_.size() - at_) throw GifError("the file ends early");
    const std::span<const std::uint8_t> taken = bytes_.subspan(at_, count);
    at_ += count;
    return taken;
  }
  // A run of data sub-blocks up to its empty one, appended to `out` if given.
  void SubBlocks(std::vector<std::uint8_t>* out) {
    for (std::size_t size = Byte(); size != 0; size = Byte()) {
      const std::span<const std::uint8_t> block = Take(size);
      if (out) out->insert(out->end(), block.begin(), block.end());
    }
  }
  // A colour table of 2 << (bits 0-2 of `flags`) entries, 3 bytes each.
  std::span<const std::uint8_t> ColourTable(unsigned flags) { return Take(3u * (2u << (flags & 7u))); }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t at_ = 0;
};

constexpr unsigned kHasTable = 0x80;
constexpr unsigned kInterlaced = 0x40;
constexpr std::uint8_t kExtension = 0x21, kImage = 0x2C, kTrailer = 0x3B, kControl = 0xF9;

bool FitsSide(unsigned side) { return side >= 1 && side <= static_cast<unsigned>(kGifMaxSide); }

// LZW codes, least significant bit first, from the frame's data.
class CodeReader {
 public:
  explicit CodeReader(const std::vector<std::uint8_t>& data) : data_(data) {}
  // The next code of `width` bits (at most 12), or -1 when the data end first.
  int Next(int width) {
    while (held_ < width) {
      if (at_ >= data_.size()) return -1;
      bits_ |= static_cast<std::uint32_t>(data_[at_++]) << held_;
      held_ += 8;
    }
    const int code = static_cast<int>(bits_ & ((1u << width) - 1u));
    bits_ >>= width;
    held_ -= width;
    return code;
  }

 private:
  const std::vector<std::uint8_t>& data_;
  std::size_t at_ = 0;
  std::uint32_t bits_ = 0;
  int held_ = 0;
};

// Expands a frame's LZW data into `indices` (its colour indices, rows in the
// file's order) and stops once every one is set; what follows is not read.
void Expand(const std::vector<std::uint8_t>& data, int min_width, std::vector<std::uint8_t>& indices) {
  constexpr int kCodes = 4096;  // 12-bit codes
  const int clear = 1 << min_width;
  const int end = clear + 1;
  // Each code's string: its last index, the code of the rest, its first
  // index and its length.
  std::array<std::uint8_t, kCodes> last{}, first{};
  std::array<std::uint16_t, kCodes> rest{}, length{};
  for (int c = 0; c < clear; ++c) {
    last[c] = first[c] = static_cast<std::uint8_t>(c);
    length[c] = 1;
  }
  int width = min_width + 1;
  int next = end + 1;
  int previous = -1;  // none right after a clear code
  CodeReader codes(data);
  std::size_t out = 0;
  while (out < indices.size()) {
    const int code = codes.Next(width);
    if (code < 0 || code == end) throw GifError("the picture's data end before its last pixel");
    if (code == clear) {
      width = min_width + 1;
      next = end + 1;
      previous = -1;
      continue;
    }
    if (previous < 0 ? code >= clear : code > next) throw GifError("an LZW code beyond the table");
    // A full table stays as it is until the next clear code.
    if (previous >= 0 && next < kCodes) {
      // The previous string and the first index of this one, which is the
      // previous string's own first when this code is the one being made.
      last[next] = first[code == next ? previous : code];
      first[next] = first[previous];
      rest[next] = static_cast<std::uint16_t>(previous);
      length[next] = static_cast<std::uint16_t>(length[previous] + 1);
      ++next;
      if (next == (1 << width) && width < 12) ++width;
    }
    // Back to front along the string; a string running past the frame's
    // last pixel gives only what fits.
    int c = code;
    for (std::size_t k = length[code]; k-- > 0;) {
      if (out + k < indices.size()) indices[out + k] = last[c];
      c = rest[c];
    }
    out += length[code];
    previous = code;
  }
}

// The frame's rows in the order the file holds them: top to bottom, or the
// four passes of an interlaced frame.
std::vector<unsigned> RowOrder(unsigned height, bool interlaced) {
  std::vector<unsigned> rows;
  rows.reserve(height);
  if (!interlaced) {
    for (unsigned y = 0; y < height; ++y) rows.push_back(y);
    return rows;
  }
  constexpr unsigned kStart[] = {0, 4, 2, 1}, kStep[] = {8, 8, 4, 2};
  for (int pass = 0; pass < 4; ++pass) {
    for (unsigned y = kStart[pass]; y < height; y += kStep[pass]) rows.push_back(y);
  }
  return rows;
}

}  // namespace

GifPicture DecodeGif(std::span<const std::uint8_t> file) {
  Reader r(file);
  const std::span<const std::uint8_t> signature = r.Take(6);
  const std::string_view sig(reinterpret_cast<const char*>(signature.data()), signature.size());
  if (sig != "GIF87a" && sig != "GIF89a") throw GifError("not a GIF file");
  const unsigned screen_width = r.Word();
  const unsigned screen_height = r.Word();
  const unsigned screen_flags = r.Byte();
  r.Take(2);  // background colour and aspect ratio: the picture shows neither
  if (!FitsSide(screen_width) || !FitsSide(screen_height)) throw GifError("a screen of a size not taken");
  std::span<const std::uint8_t> table;
  if (screen_flags & kHasTable) table = r.ColourTable(screen_flags);

  // Extensions up to the first frame; only the control extension matters.
  int transparent = -1;
  for (std::uint8_t block = r.Byte(); block != kImage; block = r.Byte()) {
    if (block == kTrailer) throw GifError("no picture in the file");
    if (block != kExtension) throw GifError("not a GIF block");
    if (r.Byte() == kControl) {
      if (r.Byte() != 4) throw GifError("a control extension of the wrong size");
      const unsigned flags = r.Byte();
      r.Word();  // the delay
      const unsigned index = r.Byte();
      transparent = (flags & 1u) ? static_cast<int>(index) : -1;
    }
    r.SubBlocks(nullptr);
  }

  const unsigned left = r.Word(), top = r.Word(), width = r.Word(), height = r.Word();
  const unsigned frame_flags = r.Byte();
  if (width == 0 || height == 0) throw GifError("a frame of no width or height");
  if (left + width > screen_width || top + height > screen_height) throw GifError("a frame beyond the screen");
  if (frame_flags & kHasTable) table = r.ColourTable(frame_flags);
  if (table.empty()) throw GifError("no colour table");
  const int min_width = r.Byte();
  if (min_width < 2 || min_width > 8) throw GifError("an LZW code size not taken");
  std::vector<std::uint8_t> data;
  r.SubBlocks(&data);

  // The rest of the file up to its trailer, skipped but read: a file cut
  // short anywhere is refused.
  for (std::uint8_t block = r.Byte(); block != kTrailer; block = r.Byte()) {
    if (block == kExtension) {
      r.Byte();
    } else if (block == kImage) {
      r.Take(8);
      const unsigned flags = r.Byte();
      if (flags & kHasTable) r.ColourTable(flags);
      r.Byte();
    } else {
      throw GifError("not a GIF block");
    }
    r.SubBlocks(nullptr);
  }

  std::vector<std::uint8_t> indices(static_cast<std::size_t>(width) * height);
  Expand(data, min_width, indices);

  GifPicture picture;
  picture.width = static_cast<int>(screen_width);
  picture.height = static_cast<int>(screen_height);
  picture.pixels.assign(static_cast<std::size_t>(screen_width) * screen_height * 4, 0);
  const std::size_t colours = table.size() / 3;
  const std::vector<unsigned> rows = RowOrder(height, (frame_flags & kInterlaced) != 0);
  for (unsigned row = 0; row < height; ++row) {
    const std::uint8_t* from = &indices[static_cast<std::size_t>(row) * width];
    std::uint8_t* to = &picture.pixels[((static_cast<std::size_t>(top) + rows[row]) * screen_width + left) * 4];
    for (unsigned x = 0; x < width; ++x, to += 4) {
      const unsigned index = from[x];
      if (static_cast<int>(index) == transparent) continue;
      if (index >= colours) throw GifError("a colour beyond the colour table");
      const std::uint8_t* rgb = &table[index * 3];
      to[0] = rgb[2];
      to[1] = rgb[1];
      to[2] = rgb[0];
      to[3] = 255;
    }
  }
  return picture;
}

}  // namespace fader
