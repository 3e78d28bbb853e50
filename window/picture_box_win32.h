// The picture box (picBox): it shows a picture at its top-left corner over its
// background colour and keeps what it shows in a memory bitmap of its own
// size. Its device context is that memory bitmap's, so single pixels can be
// read from it with GetPixel at any time: before the window is first shown
// and although the box itself is never on screen.
#pragma once

#include <windows.h>

#include <cstdint>

#include "base/gdi_handles_win32.h"
#include "window/layout.h"
#include "window/window_link_win32.h"
#include "window/skin_image_win32.h"

namespace fader {

class PictureBox : public LinkedWindow {
 public:
  static constexpr layout::Kind kKind = layout::Kind::kPictureBox;  // in the design table
  static constexpr const wchar_t* kClassName = L"mirtane.PictureBox";
  static constexpr const char* kWhat = "the picture box";  // names the kind in the window links

  ~PictureBox();

  // Creates the box and its memory image: `back_color` with `picture` (the
  // window's skin, decoded once) drawn over it. The box draws the picture
  // into its image and does not keep it.
  bool Create(HWND parent, int id, const layout::PixelRect& place, std::int32_t back_color,
              const SkinImage& picture, TwipsPerPixel twips_per_pixel);
  // Moves the box to `place` and makes its image anew at that size, with
  // `picture` over the background: the window laid out at another scale.
  void Redraw(const layout::PixelRect& place, const SkinImage& picture, TwipsPerPixel twips_per_pixel);

  // The memory image's device context, owned by the box (never released by
  // the caller); nullptr when the image could not be made.
  HDC hDC() const { return memory_.get(); }
  // The box's size in twips.
  float Width() const;
  float Height() const;
  std::int32_t BackColor() const { return back_color_; }

 private:
  LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp) override;
  void Paint(HDC dc);

  std::int32_t back_color_ = 0;
  int width_px_ = 0;
  int height_px_ = 0;
  TwipsPerPixel tpp_{kTwipsPerPixelAt96Dpi, kTwipsPerPixelAt96Dpi};
  Bitmap image_;
  MemoryDC memory_;
  HGDIOBJ old_bitmap_ = nullptr;
};

}  // namespace fader
