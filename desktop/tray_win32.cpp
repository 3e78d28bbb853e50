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
static_assert(offsetof(ShellTrayRecordV1, szTip) == kTipAt);
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
  const auto bytes = TrayRecordBytes(record, TipCharacter);
  ShellTrayRecordV1 shell{};
#ifndef _WIN64
  std::memcpy(&shell, bytes.data(), kTrayRecordSize);
#else
  // Same values; the size is that of this build's first-version record.
  shell.cbSize = record.cbSize == 0 ? 0 : sizeof(ShellTrayRecordV1);
  shell.hWnd = WindowFromValue(record.hWnd);
  shell.uID = record.uID;
  shell.uFlags = record.uFlags;
  shell.uCallbackMessage = record.uCallbackMessage;
  shell.hIcon = IconFromValue(record.hIcon);
  std::memcpy(shell.szTip, bytes.data() + kTipAt, kTipLength);
#endif
  return shell;
}

void StayOnTop(HWND window) {
  SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
}

namespace {

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

 private:
  HWND window_;
};

bool IsTrayWindow(HWND window) {
  return window != nullptr && TrayData.cbSize != 0 && WindowFromValue(TrayData.hWnd) == window;
}

}  // namespace

bool MinimizeToTray(TrayState& tray, HICON icon, std::u16string_view tip, HWND window) {
  // A blank icon would hide the window behind nothing a person can find.
  if (!icon || !window) return false;
  FillTrayRecord(TrayData, HandleValue(window), HandleValue(icon), tip);
  ShellTray shell(window);
  return tray.Minimize(shell);
}

void RemoveTrayIcon(TrayState& tray) {
  ShellTray shell(nullptr);
  tray.Leave(shell);
}

void RemoveTrayIconOf(TrayState& tray, HWND window) {
  if (IsTrayWindow(window)) RemoveTrayIcon(tray);
}

void RestoreFromTray(TrayState& tray, HWND window) {
  ShellTray shell(window);
  tray.Restore(shell);
}

UINT TaskbarCreatedMessage() {
  static const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
  return message;
}

void TrayTaskbarCreated(TrayState& tray, HWND window) {
  if (!IsTrayWindow(window)) return;
  ShellTray shell(window);
  tray.TaskbarCreated(shell);
}

}  // namespace fader
