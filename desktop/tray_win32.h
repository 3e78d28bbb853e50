// Always on top and the tray icon, on user32 and shell32.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "base/ansi_text_win32.h"
#include "desktop/tray.h"

namespace fader {

// Makes the window topmost without moving or sizing it: SetWindowPos with
// HWND_TOPMOST and SWP_NOSIZE | SWP_NOMOVE. The result is not looked at.
void StayOnTop(HWND window);

// The program's one tray record: zero until the first MinimizeToTray, and
// kept afterwards so that RemoveTrayIcon names the same icon. Beside it this
// module keeps the one TrayState: whether the window is hidden behind it.
extern TrayRecord TrayData;

// Fills TrayData for the window, icon and tip, adds the icon with
// Shell_NotifyIconA(NIM_ADD) and hides the window. If the shell refuses the
// icon the window stays as it is and false comes back: hidden without an
// icon it could not be brought back.
bool MinimizeToTray(HICON icon, std::u16string_view tip, HWND window);

// Shell_NotifyIconA(NIM_DELETE) with TrayData as it is; the shell refuses it
// quietly when no icon is there.
void RemoveTrayIcon();

// RemoveTrayIcon if the icon is the window's (TrayData names it); for every
// way a window goes, since the shell may keep a dead program's icon.
void RemoveTrayIconOf(HWND window);

// A mouse message of the icon to the window, x in the window's coordinate
// unit: the window comes back from the tray on the messages TrayState takes
// for it (TrayState::MouseMessage).
void TrayMouseMessage(HWND window, float x, std::int16_t scale_mode, double twips_per_pixel_x);

// The message the shell sends every top-level window when the taskbar has
// started anew ("TaskbarCreated"); 0 if it could not be registered.
UINT TaskbarCreatedMessage();

// On that message to the window: while it is hidden to the tray (its icon is
// the one TrayData names) the icon is added again; if the shell refuses it
// the window is shown.
void TrayTaskbarCreated(HWND window);

// The first-version NOTIFYICONDATAA, nothing after the tip: 88 bytes in the
// 32-bit build; in the 64-bit build the handles are pointer-sized and it is
// that build's first-version size (104).
struct ShellTrayRecordV1 {
  DWORD cbSize;
  HWND hWnd;
  UINT uID;
  UINT uFlags;
  UINT uCallbackMessage;
  HICON hIcon;
  CHAR szTip[kTipLength];
};

// The record as it goes to Shell_NotifyIconA, the tip in the code page
// (TrayTipBytes). In the 32-bit build these are the 88 bytes of the record;
// in the 64-bit build the same values, with cbSize the size of that build's
// record (0 stays 0).
ShellTrayRecordV1 ShellTrayRecord(const TrayRecord& record);

// The 32-bit value a user handle is kept as, and the handle back from it
// (sign-extended, as 64-bit Windows widens user handles).
std::uint32_t HandleValue(const void* handle);
HWND WindowFromValue(std::uint32_t value);
HICON IconFromValue(std::uint32_t value);

}  // namespace fader
