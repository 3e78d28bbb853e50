// Small owners for the GDI handles the program creates itself: regions,
// memory DCs, brushes, fonts and bitmaps. A region given to SetWindowRgn
// belongs to the system, so it is released from its owner first.
#pragma once

#include <windows.h>

#include <utility>

namespace fader {

// Owns one handle and hands it to Deleter (a function object) when it goes.
template <typename Handle, typename Deleter>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(Handle h) : h_(h) {}
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& o) noexcept : h_(o.release()) {}
  // Released before the reset, so moving an owner into itself keeps its handle.
  UniqueHandle& operator=(UniqueHandle&& o) noexcept {
    reset(o.release());
    return *this;
  }
  ~UniqueHandle() { reset(); }

  Handle get() const { return h_; }
  // Gives the handle up without deleting it.
  Handle release() { return std::exchange(h_, nullptr); }
  // Deletes the handle held, unless it is `h` itself, and holds `h`.
  void reset(Handle h = nullptr) {
    if (h_ && h_ != h) Deleter{}(h_);
    h_ = h;
  }

 private:
  Handle h_ = nullptr;
};

struct DeleteGdiObject {
  void operator()(HGDIOBJ h) const { DeleteObject(h); }
};
struct DeleteMemoryDC {
  void operator()(HDC dc) const { DeleteDC(dc); }
};

template <typename Handle>
using GdiObject = UniqueHandle<Handle, DeleteGdiObject>;
using Region = GdiObject<HRGN>;
using Brush = GdiObject<HBRUSH>;
using Font = GdiObject<HFONT>;
using Bitmap = GdiObject<HBITMAP>;
// A device context made with CreateCompatibleDC.
using MemoryDC = UniqueHandle<HDC, DeleteMemoryDC>;

// A 32-bit top-down DIB section of width x height pixels (BI_RGB, four bytes
// a pixel, row 0 first); `bits` gets its pixels, or nullptr when the system
// refuses it.
Bitmap MakeTopDownDib(HDC dc, int width, int height, void*& bits);

// Selects an object into a DC for one scope and puts the old one back.
class SelectIn {
 public:
  SelectIn(HDC dc, HGDIOBJ obj) : dc_(dc), old_(obj ? SelectObject(dc, obj) : nullptr) {}
  SelectIn(const SelectIn&) = delete;
  SelectIn& operator=(const SelectIn&) = delete;
  ~SelectIn() {
    if (old_) SelectObject(dc_, old_);
  }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

}  // namespace fader
