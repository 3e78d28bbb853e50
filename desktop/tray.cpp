#include "desktop/tray.h"

#include <algorithm>

#include "base/twips.h"

namespace fader {

void FillTrayRecord(TrayRecord& record, std::uint32_t window, std::uint32_t icon,
                    std::u16string_view tip) {
  record.cbSize = static_cast<std::uint32_t>(kTrayRecordSize);
  record.hWnd = window;
  record.uID = kTrayIconId;
  record.uFlags = kTrayFlags;
  record.uCallbackMessage = kTrayCallbackMessage;
  record.hIcon = icon;
  // Room for the terminator is kept even for a long tip: the shell reads the
  // field as a C string.
  const std::size_t n = std::min(tip.size(), kTipLength - 1);
  record.szTip.fill(u' ');
  std::copy_n(tip.begin(), n, record.szTip.begin());
  record.szTip[n] = u'\0';
}

namespace {

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

}  // namespace

std::array<std::uint8_t, kTipLength> TrayTipBytes(const TrayRecord& record, const CodePageConverter& to_code_page) {
  std::array<std::uint8_t, kTipLength> out{};

  constexpr std::size_t kRoom = kTipLength - 1;  // bytes of text before the NUL
  const std::u16string_view wide(record.szTip.data(), record.szTip.size());
  const std::u16string_view text = wide.substr(0, std::min(wide.find(u'\0'), kRoom));

  std::size_t used = 0;
  std::size_t i = 0;
  while (i < text.size()) {
    std::size_t len = 1;
    if (IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) len = 2;
    const std::string bytes = to_code_page ? to_code_page(text.substr(i, len)) : std::string();
    if (used + bytes.size() > kRoom) break;
    std::copy(bytes.begin(), bytes.end(), out.begin() + used);
    used += bytes.size();
    i += len;
  }
  out[used] = 0;
  // The padding follows the record's own: spaces once the tip is laid out,
  // zeros in the record as it is before the first MinimizeToTray.
  const std::size_t after = text.size() + 1;
  const bool zero_padded = after < wide.size() && wide[after] == u'\0';
  std::fill(out.begin() + used + 1, out.end(),
            static_cast<std::uint8_t>(zero_padded ? 0 : ' '));
  return out;
}

bool TrayState::Minimize(TrayShell& shell) {
  if (!shell.AddIcon()) return false;
  shell.ShowWindow(false);
  hidden_ = true;
  return true;
}

bool TrayState::MouseMessage(TrayShell& shell, float x, std::int16_t scale_mode, double twips_per_pixel_x) {
  if (TrayEvent(x, scale_mode, twips_per_pixel_x) == kTrayActionNone) return false;
  Restore(shell);
  return true;
}

void TrayState::Restore(TrayShell& shell) {
  shell.DeleteIcon();
  shell.ShowWindow(true);
  shell.FocusWindow();
  hidden_ = false;
}

void TrayState::TaskbarCreated(TrayShell& shell) {
  if (!hidden_) return;
  // The message also comes while the icon is still there (the shell sends it
  // on other changes too); adding over it would be refused.
  shell.DeleteIcon();
  if (shell.AddIcon()) return;
  shell.ShowWindow(true);
  hidden_ = false;
}

void TrayState::Leave(TrayShell& shell) {
  shell.DeleteIcon();
  hidden_ = false;
}

std::int16_t TrayEvent(float x, std::int16_t scale_mode, double twips_per_pixel_x) {
  const double value = static_cast<double>(x);
  const std::int32_t n = scale_mode == kScaleModePixels
                             ? RoundToInt32(value)
                             : RoundToInt32(value / twips_per_pixel_x);
  if (n == kTrayLeftDoubleClick) return kTrayActionDoubleClick;
  if (n == kTrayRightDown) return kTrayActionRightDown;
  return kTrayActionNone;
}

}  // namespace fader
