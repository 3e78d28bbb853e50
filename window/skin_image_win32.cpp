#include "window/skin_image_win32.h"

#include <wincodec.h>

#include <new>
#include <span>
#include <vector>

#include "window/skin_pixels.h"

namespace fader {
namespace {

// Releases a COM interface at the end of a scope.
template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ~ComPtr() {
    if (p_) p_->Release();
  }
  T** out() { return &p_; }
  T* operator->() const { return p_; }
  T* get() const { return p_; }

 private:
  T* p_ = nullptr;
};

// COM for the length of one decode; the window thread may or may not have it
// already, and either is fine.
class ComScope {
 public:
  ComScope() : hr_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;
  ~ComScope() {
    if (SUCCEEDED(hr_)) CoUninitialize();
  }

 private:
  HRESULT hr_;
};

}  // namespace

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
  if (!bytes || size == 0 || size > 0x7FFFFFFF) return false;
  ComScope com;
  ComPtr<IWICImagingFactory> factory;
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                              reinterpret_cast<void**>(factory.out())))) {
    return false;
  }
  ComPtr<IWICStream> stream;
  if (FAILED(factory->CreateStream(stream.out()))) return false;
  // The stream only reads the bytes; WIC's signature wants them mutable.
  if (FAILED(stream->InitializeFromMemory(static_cast<BYTE*>(const_cast<void*>(bytes)),
                                          static_cast<DWORD>(size)))) {
    return false;
  }
  ComPtr<IWICBitmapDecoder> decoder;
  if (FAILED(factory->CreateDecoderFromStream(stream.get(), nullptr, WICDecodeMetadataCacheOnLoad,
                                              decoder.out()))) {
    return false;
  }
  ComPtr<IWICBitmapFrameDecode> frame;
  if (FAILED(decoder->GetFrame(0, frame.out()))) return false;
  ComPtr<IWICFormatConverter> converter;
  if (FAILED(factory->CreateFormatConverter(converter.out()))) return false;
  // Premultiplied alpha: transparent pixels come out as 0, 0, 0, 0.
  if (FAILED(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone, nullptr,
                                   0.0, WICBitmapPaletteTypeCustom))) {
    return false;
  }
  UINT w = 0, h = 0;
  if (FAILED(converter->GetSize(&w, &h)) || w == 0 || h == 0 || w > 4096 || h > 4096) return false;
  const std::size_t stride = static_cast<std::size_t>(w) * 4;
  std::vector<std::uint8_t> pixels;
  try {
    pixels.resize(stride * h);
  } catch (const std::bad_alloc&) {
    return false;  // no memory for the picture: the window goes without its skin
  }
  if (FAILED(converter->CopyPixels(nullptr, static_cast<UINT>(stride), static_cast<UINT>(pixels.size()),
                                   pixels.data()))) {
    return false;
  }

  // Top-down, like the decoder's rows.
  void* bits = nullptr;
  fader::Bitmap dib = MakeTopDownDib(nullptr, static_cast<int>(w), static_cast<int>(h), bits);
  if (!dib.get() || !bits) return false;
  try {
    CompositeOver(pixels, background, std::span<std::uint8_t>(static_cast<std::uint8_t*>(bits), pixels.size()));
  } catch (const std::exception&) {
    return false;  // a codec that hands over unpremultiplied pixels: no skin
  }
  GdiFlush();
  bitmap_ = std::move(dib);
  width_ = static_cast<int>(w);
  height_ = static_cast<int>(h);
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
