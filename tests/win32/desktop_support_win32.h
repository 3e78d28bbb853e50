// Shared by the desktop tests and the region timing under Wine: a picture
// box stand-in (a memory DC holding a 250 x 250 skin-like picture), region
// read-back as rows of spans, a test window, the tray icon as the shell
// holds it, and a count of the process's live GDI objects.
#pragma once

#include <windows.h>
#include <shellapi.h>
#include <winternl.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <utility>
#include <vector>

#include "base/gdi_handles_win32.h"
#include "desktop/tray_win32.h"

namespace fader::test {

// Spans per row: row -> (left, right) pairs, adjacent spans merged, so that a
// region reads the same however GDI bands its rectangles.
using Rows = std::map<int, std::vector<std::pair<int, int>>>;

inline void AddSpan(Rows& rows, int y, int left, int right) {
  auto& spans = rows[y];
  spans.emplace_back(left, right);
}

inline Rows Normalised(Rows rows) {
  Rows out;
  for (auto& [y, spans] : rows) {
    std::sort(spans.begin(), spans.end());
    std::vector<std::pair<int, int>> merged;
    for (auto s : spans) {
      if (!merged.empty() && merged.back().second >= s.first) {
        merged.back().second = std::max(merged.back().second, s.second);
      } else {
        merged.push_back(s);
      }
    }
    if (!merged.empty()) out[y] = merged;
  }
  return out;
}

// The rectangles of a region, as GetRegionData gives them.
inline std::vector<RECT> RegionRects(HRGN region) {
  const DWORD size = GetRegionData(region, 0, nullptr);
  if (size == 0) return {};
  std::vector<std::uint8_t> buffer(size);
  auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
  if (GetRegionData(region, size, data) == 0) return {};
  const auto* rects = reinterpret_cast<const RECT*>(data->Buffer);
  return std::vector<RECT>(rects, rects + data->rdh.nCount);
}

inline Rows RegionRows(HRGN region) {
  Rows rows;
  for (const RECT& r : RegionRects(region))
    for (int y = r.top; y < r.bottom; ++y) AddSpan(rows, y, r.left, r.right);
  return Normalised(rows);
}

// A 32-bit top-down DIB selected into a memory DC, as a picture box keeps
// its picture in a memory image.
class MemoryPicture {
 public:
  MemoryPicture(int width, int height)
      : width_(width), height_(height), dc_(CreateCompatibleDC(nullptr)) {
    void* bits = nullptr;
    bitmap_ = MakeTopDownDib(dc_.get(), width, height, bits);
    bits_ = static_cast<std::uint32_t*>(bits);
    old_ = SelectObject(dc_.get(), bitmap_.get());
  }
  MemoryPicture(const MemoryPicture&) = delete;
  MemoryPicture& operator=(const MemoryPicture&) = delete;
  ~MemoryPicture() { SelectObject(dc_.get(), old_); }
  HDC dc() const { return dc_.get(); }
  int width() const { return width_; }
  int height() const { return height_; }
  // Pixels as the DIB stores them: 0x00RRGGBB.
  std::uint32_t& at(int x, int y) { return bits_[static_cast<std::size_t>(y) * width_ + x]; }
  void Fill(std::uint32_t value) {
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x) at(x, y) = value;
  }

  // The skin's kind of shape over black: four pointed corners, edges bowed
  // inward, shades of red, a black rim along the lower edge and the upper
  // right, and a few black specks inside that cut holes. Drawn for 250 x 250
  // and clipped to the picture.
  void DrawSkinLike() {
    GdiFlush();
    const double pi = 3.14159265358979323846;
    Fill(0);
    for (int y = 30; y <= 143; ++y) {
      const double t = std::sin(pi * (y - 30) / 113.0);
      const double left = 5 + 24 * t;
      const double right = 240 - 22 * t;
      for (int x = 4; x <= 241; ++x) {
        const double u = std::sin(pi * (x - 5) / 235.0);
        const double top = 30 + 17 * u;
        const double bottom = 143 - 18 * u;
        if (x < left || x > right || y < top || y > bottom) continue;
        if (x >= width_ || y >= height_) continue;
        std::uint32_t red = 120 + (x * 5 + y * 3) % 136;
        std::uint32_t colour = red << 16 | ((x + y) % 30) << 8 | (y * 2) % 20;
        const bool rim = y > bottom - 3 || (y < 87 && x > right - 3);
        if (rim || (x * y) % 97 == 0) colour = 0;
        at(x, y) = colour;
      }
    }
  }

 private:
  int width_;
  int height_;
  MemoryDC dc_;
  Bitmap bitmap_;  // deleted before dc_, once it is selected out of it
  HGDIOBJ old_ = nullptr;
  std::uint32_t* bits_ = nullptr;
};

// A borderless popup of the main window's client size, 367 x 282 pixels, at
// (x, y), of a class registered on first use with `proc` and `background`.
inline HWND CreateTestPopup(const wchar_t* class_name, WNDPROC proc, HBRUSH background, const wchar_t* title, int x,
                            int y) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = class_name;
  wc.hbrBackground = background;
  RegisterClassW(&wc);
  return CreateWindowExW(0, class_name, title, WS_POPUP, x, y, 367, 282, nullptr, nullptr, wc.hInstance, nullptr);
}

// One tray message about the window's icon, sent by the test, not the program.
inline bool NotifyAbout(HWND window, DWORD message, UINT flags = 0, HICON icon = nullptr) {
  ShellTrayRecordV1 record{sizeof(ShellTrayRecordV1), window, kTrayIconId, flags, 0, icon, {}};
  return Shell_NotifyIconA(message, reinterpret_cast<NOTIFYICONDATAA*>(&record)) != FALSE;
}

// Whether the shell holds the window's icon: modifying succeeds only then.
inline bool IconPresent(HWND window) { return NotifyAbout(window, NIM_MODIFY, NIF_TIP); }

// Whether a window has the topmost style.
inline bool Topmost(HWND w) { return (GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

// Live GDI objects of this process, of one type (0 for all). Wine's
// GetGuiResources is a stub that answers 0, so the count comes from GDI's
// handle table, which the process can see through its PEB on Windows and
// under Wine alike.
inline constexpr int kGdiRegionType = 4;

inline int LiveGdiObjects(int type = 0) {
  const bool wine = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
#ifdef _WIN64
  const std::size_t table_at = 0xF8, entry_size = 24, pid_at = 8, type_at = 14;
#else
  const std::size_t table_at = 0x94, entry_size = wine ? 24 : 16, pid_at = wine ? 8 : 4,
                    type_at = wine ? 14 : 10;
#endif
  (void)wine;
  using QueryProcess = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
  auto query = reinterpret_cast<QueryProcess>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
  PROCESS_BASIC_INFORMATION basic{};
  if (query == nullptr || query(GetCurrentProcess(), 0, &basic, sizeof(basic), nullptr) != 0) return -1;
  const auto* peb = reinterpret_cast<const std::uint8_t*>(basic.PebBaseAddress);
  const auto* table = *reinterpret_cast<const std::uint8_t* const*>(peb + table_at);
  if (table == nullptr) return -1;
  const auto pid = static_cast<std::uint16_t>(GetCurrentProcessId());
  int n = 0;
  for (std::size_t i = 0; i < 0x10000; ++i) {
    const std::uint8_t* e = table + i * entry_size;
    const std::uint8_t kind = e[type_at] & 0x7F;
    const std::uint16_t owner = static_cast<std::uint16_t>(e[pid_at] | e[pid_at + 1] << 8);
    if (kind == 0 || (owner != 0 && owner != pid)) continue;
    if (type == 0 || kind == type) ++n;
  }
  return n;
}

}  // namespace fader::test
