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
  width_ = height_ = 0;
  GifPicture picture;
  fader::Bitmap dib;
  try {
    picture = DecodeGif(std::span<const std::uint8_t>(static_cast<const std::uint8_t*>(bytes), size));
    // Top-down, like the decoder's rows.
    void* bits = nullptr;
    dib = MakeTopDownDib(nullptr, picture.width, picture.height, bits);
    if (!dib.get() || !bits) return false;
    CompositeOver(picture.pixels, background,
                  std::span<std::uint8_t>(static_cast<std::uint8_t*>(bits), picture.pixels.size()));
  } catch (const std::exception&) {
    return false;  // a file the decoder refuses, or no memory for it: the window goes without its skin
  }
  GdiFlush();
  bitmap_ = std::move(dib);
  width_ = picture.width;
  height_ = picture.height;
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
