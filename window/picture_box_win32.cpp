#include "window/picture_box_win32.h"

#include "window/control_win32.h"

namespace fader {

PictureBox::~PictureBox() {
  // The bitmap goes back out of the memory DC before either is deleted.
  if (memory_.get() && old_bitmap_) SelectObject(memory_.get(), old_bitmap_);
}

bool PictureBox::Create(HWND parent, int id, const layout::PixelRect& r, std::int32_t back_color,
                        const SkinImage& picture, TwipsPerPixel tpp) {
  back_color_ = back_color;
  const wchar_t* cls =
      RegisterWindowClass(kClassName, &LinkedWindowProc<PictureBox>, LoadCursorW(nullptr, IDC_ARROW));
  CreateLinkedWindow(this, kWhat, 0, cls, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS,
                     r.left, r.top, r.width, r.height, parent, id);
  Redraw(r, picture, tpp);
  // Without its picture the box shows nothing and the window keeps its
  // rectangle, but it still works.
  return hwnd_ != nullptr;
}

void PictureBox::Redraw(const layout::PixelRect& r, const SkinImage& picture, TwipsPerPixel tpp) {
  if (hwnd_) SetWindowPos(hwnd_, nullptr, r.left, r.top, r.width, r.height, SWP_NOZORDER | SWP_NOACTIVATE);
  tpp_ = tpp;
  // The old image goes first: a box without one reads as nothing, never as
  // the picture at its old size.
  if (memory_.get() && old_bitmap_) SelectObject(memory_.get(), old_bitmap_);
  old_bitmap_ = nullptr;
  image_.reset();
  width_px_ = r.width;
  height_px_ = r.height;

  HDC screen = GetDC(nullptr);
  if (!memory_.get()) memory_.reset(CreateCompatibleDC(screen));
  void* bits = nullptr;
  image_ = MakeTopDownDib(screen, r.width, r.height, bits);
  if (screen) ReleaseDC(nullptr, screen);
  if (memory_.get() && image_.get()) {
    old_bitmap_ = SelectObject(memory_.get(), image_.get());
    RECT all{0, 0, r.width, r.height};
    Brush back(CreateSolidBrush(ToColorRef(back_color_)));
    FillRect(memory_.get(), &all, back.get());
    picture.Draw(memory_.get(), 0, 0);
    GdiFlush();
  }
  if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}

float PictureBox::Width() const { return PixelsToTwips(width_px_, tpp_.x); }
float PictureBox::Height() const { return PixelsToTwips(height_px_, tpp_.y); }

LRESULT PictureBox::Handle(UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT painted = 0;
  if (HandlePaintMessages(hwnd_, msg, wp, [this](HDC dc) { Paint(dc); }, painted)) return painted;
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

void PictureBox::Paint(HDC dc) {
  if (memory_.get()) BitBlt(dc, 0, 0, width_px_, height_px_, memory_.get(), 0, 0, SRCCOPY);
}

}  // namespace fader
