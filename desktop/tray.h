// The tray icon's record and the decoding of its callback.
//
// While the window is hidden its icon sits in the notification area. The
// shell reports every mouse action over the icon to the window as a
// WM_MOUSEMOVE, carrying the mouse message number where the x coordinate
// would be; TrayEvent reads that number back out of the window's x.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace fader {

inline constexpr std::size_t kTipLength = 64;
// The record's size as the shell gets it: the first, 32-bit form of
// NOTIFYICONDATAA, with the tip in the 8-bit code page.
inline constexpr std::size_t kTrayRecordSize = 88;
inline constexpr std::uint32_t kTrayIconId = 1;
inline constexpr std::uint32_t kTrayFlags = 7;               // NIF_MESSAGE | NIF_ICON | NIF_TIP
inline constexpr std::uint32_t kTrayCallbackMessage = 0x200;  // WM_MOUSEMOVE

// Mouse message numbers as they arrive in the callback, and the actions the
// window reacts to.
inline constexpr std::int32_t kTrayLeftDoubleClick = 0x203;  // WM_LBUTTONDBLCLK
inline constexpr std::int32_t kTrayRightDown = 0x204;        // WM_RBUTTONDOWN
inline constexpr std::int16_t kTrayActionNone = 0;
inline constexpr std::int16_t kTrayActionDoubleClick = 1;
inline constexpr std::int16_t kTrayActionRightDown = 2;

// The window's coordinate unit code for pixels; every other code is a unit
// converted through the screen's twips per pixel (the window uses twips).
inline constexpr std::int16_t kScaleModePixels = 3;

// The tray record with the tip kept wide. Window and icon handles are kept as
// their 32-bit values, which is all of a user handle in either build.
struct TrayRecord {
  std::uint32_t cbSize;
  std::uint32_t hWnd;
  std::uint32_t uID;
  std::uint32_t uFlags;
  std::uint32_t uCallbackMessage;
  std::uint32_t hIcon;
  std::array<char16_t, kTipLength> szTip;
};

// Fills a record for adding the icon of window with the given icon and tip.
// The tip field holds the tip, one NUL and spaces up to 64 characters; a tip
// of 64 characters or more is cut at 63, so the NUL is always there.
void FillTrayRecord(TrayRecord& record, std::uint32_t window, std::uint32_t icon,
                    std::u16string_view tip);

// Turns wide text into the system's 8-bit code page.
using CodePageConverter = std::function<std::string(std::u16string_view)>;

// The tip as the shell gets it, the last 64 of the record's 88 bytes: in the
// 8-bit code page, its text, one NUL and spaces up to 64 bytes (zeros instead
// of spaces for a record whose tip was never laid out). Characters are
// converted one at a time (a surrogate pair together) and the text stops
// before the first one whose bytes would not fit in 63, so a tip in a
// double-byte code page is cut at a character and still ends in a NUL.
std::array<std::uint8_t, kTipLength> TrayTipBytes(const TrayRecord& record, const CodePageConverter& to_code_page);

// What keeping the icon asks of the shell and the window.
class TrayShell {
 public:
  virtual ~TrayShell() = default;
  virtual bool AddIcon() = 0;     // false when the shell refuses the icon
  virtual void DeleteIcon() = 0;  // refused quietly when there is no icon
  virtual void ShowWindow(bool shown) = 0;  // shown: and activated
  // Gives the keyboard focus to the window, which hands it on to the control
  // that had it last.
  virtual void FocusWindow() = 0;
};

// Whether the window is hidden to the tray. A hidden window has no taskbar
// button, so its icon is the only way back: the window hides only once the
// shell has taken the icon, and shows again when the icon cannot be put back.
class TrayState {
 public:
  // Adds the icon and hides the window. When the shell refuses the icon the
  // window stays as it is and false comes back.
  bool Minimize(TrayShell& shell);
  // A mouse message of the icon, read out of the window's x coordinate as
  // TrayEvent reads it: a left double-click or a right press brings the
  // window back (Restore), whether or not it is hidden; anything else changes
  // nothing. True when it came back. Throws OverflowError for an x that
  // cannot be read.
  bool MouseMessage(TrayShell& shell, float x, std::int16_t scale_mode, double twips_per_pixel_x);
  // Deletes the icon, shows the window, and gives it the focus.
  void Restore(TrayShell& shell);
  // The taskbar has started anew and holds no icons. While hidden the icon
  // is added again; a stale one is deleted first, so that a refusal means
  // the icon is really missing, and then the window is shown.
  void TaskbarCreated(TrayShell& shell);
  // The program goes: the icon is deleted, the window left as it is.
  void Leave(TrayShell& shell);

 private:
  bool hidden_ = false;
};

// The tray action of a mouse-move at x, in the window's coordinate unit:
// 1 for a left double-click, 2 for a right press, 0 for anything else. With
// the unit in pixels x is rounded as it is; otherwise x / twips_per_pixel_x is,
// ties to even. Throws OverflowError if that number does not fit 32 bits.
std::int16_t TrayEvent(float x, std::int16_t scale_mode, double twips_per_pixel_x);

}  // namespace fader
