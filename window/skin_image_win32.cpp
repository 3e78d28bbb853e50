#include "window/skin_image_win32.h"

#include <exception>
#include <span>

#include "window/gif_picture.h"
#include "window/skin_pixels.h"

namespace fader {

bool SkinImage::Load(HMODULE module, int id, std::int32_t background) {
  HRSRC info = FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(10) /* RT_RCDATA */);
  HGLOBAL res = info ? LoadResource(module, info) : nullptr;
  const void* bytes = res ? LockResource(res) : nullptr;
  const DWORD size = info ? SizeofResource(module, info) : 0;
  if (!bytes || size == 0) return false;
  return Decode(bytes, size, background);
}

bool SkinImage::Decode(const void* bytes, std::size_t size, std::int32_t background) {
  bitmap_.reset();
  shown_.clear();
  width_ = height_ = picture_width_ = picture_height_ = 0;
  try {
    GifPicture picture =
        DecodeGif(std::span<const std::uint8_t>(static_cast<const std::uint8_t*>(bytes), size));
    std::vector<std::uint8_t> shown(picture.pixels.size());
    CompositeOver(picture.pixels, background, shown);
    shown_ = std::move(shown);
    picture_width_ = picture.width;
    picture_height_ = picture.height;
  } catch (const std::exception&) {
    return false;  // a file the decoder refuses, or no memory for it: the window goes without its skin
  }
  return ScaleTo(picture_width_, picture_height_);
}

bool SkinImage::ScaleTo(int width, int height) {
  if (shown_.empty() || width < 1 || height < 1) return false;
  // Top-down, like the decoder's rows.
  void* bits = nullptr;
  fader::Bitmap dib = MakeTopDownDib(nullptr, width, height, bits);
  if (!dib.get() || !bits) return false;
  try {
    ScaleNearest(shown_, picture_width_, picture_height_,
                 std::span<std::uint8_t>(static_cast<std::uint8_t*>(bits), static_cast<std::size_t>(width) * height * 4),
                 width, height);
  } catch (const std::exception&) {
    return false;
  }
  GdiFlush();
  bitmap_ = std::move(dib);
  width_ = width;
  height_ = height;
  return true;
}

void SkinImage::Draw(HDC dc, int x, int y) const {
  if (!bitmap_.get()) return;
  MemoryDC src(CreateCompatibleDC(dc));
  if (!src.get()) return;
  SelectIn sel(src.get(), bitmap_.get());
  BitBlt(dc, x, y, width_, height_, src.get(), 0, 0, SRCCOPY);
}

}  // namespace fader
