// Times MakeRegion under Wine on a 250 x 250 picture in a memory DC, as the
// window builds its outline at load: median and extremes of several runs,
// the runs handed to the region and the rectangles GDI keeps.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "desktop/region_win32.h"
#include "tests/win32/desktop_support.h"

int main() {
  desktop_test::MemoryPicture picture(250, 250);
  picture.DrawSkinLike();
  std::size_t runs = 0;
  for (const auto& [y, spans] : picture.ExpectedRows()) runs += spans.size();

  LARGE_INTEGER freq;
  QueryPerformanceFrequency(&freq);
  std::vector<double> ms;
  std::size_t rects = 0;
  for (int i = 0; i < 15; ++i) {
    std::int32_t transparent = 0;
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    fader::UniqueRegion region = fader::MakeRegion([&] { return picture.dc(); },
                                                   fader::PictureTwips{3750, 3750},
                                                   fader::TwipsPerPixel{15, 15}, transparent);
    QueryPerformanceCounter(&end);
    ms.push_back(1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / freq.QuadPart);
    rects = desktop_test::RegionRects(region.get()).size();
  }
  std::vector<double> sorted = ms;
  std::sort(sorted.begin(), sorted.end());
  std::printf("MakeRegion 250x250: first %.2f ms, median %.2f ms, min %.2f ms, max %.2f ms over %zu runs\n",
              ms.front(), sorted[sorted.size() / 2], sorted.front(), sorted.back(), ms.size());
  std::printf("runs merged: %zu, rectangles in the region: %zu\n", runs, rects);
  return 0;
}
