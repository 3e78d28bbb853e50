#include "desktop/tray_win32.h"

#include <cstddef>
#include <cstring>

namespace fader {

// The record mirrors the head of NOTIFYICONDATAA in either build.
static_assert(sizeof(ShellTrayRecordV1) == NOTIFYICONDATAA_V1_SIZE);
static_assert(offsetof(ShellTrayRecordV1, szTip) == offsetof(NOTIFYICONDATAA, szTip));
static_assert(offsetof(ShellTrayRecordV1, hIcon) == offsetof(NOTIFYICONDATAA, hIcon));
static_assert(offsetof(ShellTrayRecordV1, uCallbackMessage) ==
              offsetof(NOTIFYICONDATAA, uCallbackMessage));
#ifndef _WIN64
// In the 32-bit build the shell gets exactly the 88-byte record.
static_assert(sizeof(ShellTrayRecordV1) == kTrayRecordSize);
static_assert(offsetof(ShellTrayRecordV1, hWnd) == 4);
static_assert(offsetof(ShellTrayRecordV1, uID) == 8);
static_assert(offsetof(ShellTrayRecordV1, uFlags) == 12);
static_assert(offsetof(ShellTrayRecordV1, uCallbackMessage) == 16);
static_assert(offsetof(ShellTrayRecordV1, hIcon) == 20);
static_assert(offsetof(ShellTrayRecordV1, szTip) == 24);
#endif

std::uint32_t HandleValue(const void* handle) {
  return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(handle));
}

HWND WindowFromValue(std::uint32_t value) {
  return reinterpret_cast<HWND>(static_cast<LONG_PTR>(static_cast<std::int32_t>(value)));
}

HICON IconFromValue(std::uint32_t value) {
  return reinterpret_cast<HICON>(static_cast<LONG_PTR>(static_cast<std::int32_t>(value)));
}

namespace {

// One character of the tip in the code page; "?" when it cannot be
// converted, so that putting the icon up or taking it down never fails for
// its tip.
std::string TipCharacter(std::u16string_view character) noexcept {
  try {
    return ToAnsiCodePage(character);
  } catch (...) {
    return "?";
  }
}

}  // namespace

ShellTrayRecordV1 ShellTrayRecord(const TrayRecord& record) {
  ShellTrayRecordV1 shell{};
  shell.cbSize = record.cbSize == 0 ? 0 : sizeof(ShellTrayRecordV1);
  shell.hWnd = WindowFromValue(record.hWnd);
  shell.uID = record.uID;
  shell.uFlags = record.uFlags;
  shell.uCallbackMessage = record.uCallbackMessage;
  shell.hIcon = IconFromValue(record.hIcon);
  const auto tip = TrayTipBytes(record, TipCharacter);
  std::memcpy(shell.szTip, tip.data(), kTipLength);
  return shell;
}

void StayOnTop(HWND window) {
  SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
}

TrayRecord TrayData{};

namespace {

TrayState tray_state;

bool Notify(DWORD message) {
  ShellTrayRecordV1 shell = ShellTrayRecord(TrayData);
  // The shell reads only cbSize bytes: the first-version head.
  return Shell_NotifyIconA(message, reinterpret_cast<NOTIFYICONDATAA*>(&shell)) != FALSE;
}

class ShellTray : public TrayShell {
 public:
  explicit ShellTray(HWND window) : window_(window) {}
  bool AddIcon() override { return Notify(NIM_ADD); }
  void DeleteIcon() override { Notify(NIM_DELETE); }
  void ShowWindow(bool shown) override {
    if (window_) ::ShowWindow(window_, shown ? SW_SHOW : SW_HIDE);
  }
  void FocusWindow() override {
    if (window_) ::SetFocus(window_);
  }

 private:
  HWND window_;
};

// Whose the icon is; whether the window is hidden is tray_state's to say.
bool IsTrayWindow(HWND window) { return window != nullptr && WindowFromValue(TrayData.hWnd) == window; }

}  // namespace

bool MinimizeToTray(HICON icon, std::u16string_view tip, HWND window) {
  // A blank icon would hide the window behind nothing a person can find.
  if (!icon || !window) return false;
  FillTrayRecord(TrayData, HandleValue(window), HandleValue(icon), tip);
  ShellTray shell(window);
  return tray_state.Minimize(shell);
}

void RemoveTrayIcon() {
  ShellTray shell(nullptr);
  tray_state.Leave(shell);
}

void RemoveTrayIconOf(HWND window) {
  if (IsTrayWindow(window)) RemoveTrayIcon();
}

void TrayMouseMessage(HWND window, float x, std::int16_t scale_mode, double twips_per_pixel_x) {
  ShellTray shell(window);
  tray_state.MouseMessage(shell, x, scale_mode, twips_per_pixel_x);
}

UINT TaskbarCreatedMessage() {
  static const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
  return message;
}

void TrayTaskbarCreated(HWND window) {
  if (!IsTrayWindow(window)) return;
  ShellTray shell(window);
  tray_state.TaskbarCreated(shell);
}

}  // namespace fader
