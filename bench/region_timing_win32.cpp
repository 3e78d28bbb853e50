// Times the outline frmFade builds at load: MakeRegion over the window's own
// picture box, from its start to its return, beside the same scan with only
// the pixel reads (no region work), so the two costs can be told apart.
// Prints the figures; it asserts nothing.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "desktop/region_win32.h"
#include "tests/win32/desktop_support_win32.h"
#include "window/frm_fade_win32.h"

namespace {

double Milliseconds(const LARGE_INTEGER& start, const LARGE_INTEGER& end) {
  LARGE_INTEGER freq;
  QueryPerformanceFrequency(&freq);
  return 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(freq.QuadPart);
}

struct Figures {
  double first, median, min, max;
};

template <class Run>
Figures Time(int times, Run run) {
  std::vector<double> ms;
  for (int i = 0; i < times; ++i) {
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    run();
    QueryPerformanceCounter(&end);
    ms.push_back(Milliseconds(start, end));
  }
  std::vector<double> sorted = ms;
  std::sort(sorted.begin(), sorted.end());
  return {ms.front(), sorted[sorted.size() / 2], sorted.front(), sorted.back()};
}

}  // namespace

int main() {
  fader::FrmFade form;
  form.SetQuitOnDestroy(false);
  if (!form.Create(GetModuleHandleW(nullptr))) {
    std::fprintf(stderr, "region_timing: the window could not be created\n");
    return 1;
  }
  const fader::PictureTwips picture{form.picBox.Width(), form.picBox.Height()};
  const fader::TwipsPerPixel tpp{form.TwipsPerPixelX(), form.TwipsPerPixelY()};
  HDC dc = form.picBox.hDC();
  constexpr int kTimes = 15;

  std::size_t rects = 0;
  const Figures region = Time(kTimes, [&] {
    std::int32_t transparent = 0;
    fader::Region r = fader::MakeRegion([&] { return form.picBox.hDC(); }, picture, tpp, transparent);
    rects = fader::test::RegionRects(r.get()).size();
  });

  std::size_t runs = 0;
  const Figures reads = Time(kTimes, [&] {
    std::int32_t transparent = 0;
    runs = 0;
    auto pixel = [dc](std::int32_t x, std::int32_t y) -> std::uint32_t { return GetPixel(dc, x, y); };
    auto count = [&runs](std::int32_t, std::int32_t, std::int32_t, std::int32_t) { ++runs; };
    fader::MakeRegion(pixel, count, picture, tpp, transparent);
  });

  const fader::PixelSize size = fader::PictureSizeInPixels(picture, tpp);
  std::printf("MakeRegion on the picture box (%dx%d): median %.2f ms, first %.2f, min %.2f, max %.2f over %d runs\n",
              size.width, size.height, region.median, region.first, region.min, region.max, kTimes);
  std::printf("  of which the %d pixel reads alone: median %.2f ms\n", size.width * size.height, reads.median);
  std::printf("  %zu runs merged into %zu rectangles\n", runs, rects);
  return 0;
}
