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

// The functions below keep `tray`, whether the window is hidden to its icon,
// which the window owns; TrayData is the one record of the icon.

// Fills TrayData for the window, icon and tip, adds the icon with
// Shell_NotifyIconA(NIM_ADD) and hides the window. If the shell refuses the
// icon the window stays as it is and false comes back: hidden without an
// icon it could not be brought back.
bool MinimizeToTray(TrayState& tray, HICON icon, std::u16string_view tip, HWND window);

// Shell_NotifyIconA(NIM_DELETE) with TrayData as it is; the shell refuses it
// quietly when no icon is there.
void RemoveTrayIcon(TrayState& tray);

// Removes the icon if TrayData is the window's; for every way the program
// ends, since the shell may keep a dead program's icon.
void RemoveTrayIconOf(TrayState& tray, HWND window);

// RemoveTrayIcon, then shows the window again.
void RestoreFromTray(TrayState& tray, HWND window);

// The message the shell sends every top-level window when the taskbar has
// started anew ("TaskbarCreated"); 0 if it could not be registered.
UINT TaskbarCreatedMessage();

// On that message: while the window is hidden to the tray its icon is added
// again; if the shell refuses it the window is shown.
void TrayTaskbarCreated(TrayState& tray, HWND window);

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

// The record as it goes to Shell_NotifyIconA: in the 32-bit build exactly
// the 88 bytes of TrayRecordBytes; in the 64-bit build the same values, with
// cbSize the size of this build's record (0 stays 0).
ShellTrayRecordV1 ShellTrayRecord(const TrayRecord& record);

// The 32-bit value a user handle is kept as, and the handle back from it
// (sign-extended, as 64-bit Windows widens user handles).
std::uint32_t HandleValue(const void* handle);
HWND WindowFromValue(std::uint32_t value);
HICON IconFromValue(std::uint32_t value);

}  // namespace fader
