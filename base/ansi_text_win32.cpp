#include "base/ansi_text_win32.h"

#include <windows.h>

#include <climits>
#include <stdexcept>

#include "base/code_page.h"

namespace fader {

std::string ToCodePage(std::uint32_t code_page, std::u16string_view text) {
  if (text.empty()) return {};
  if (text.size() > static_cast<std::size_t>(INT_MAX)) throw std::length_error("text too long for the code page");
  static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 wchar_t on Windows");
  const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
  const int length = static_cast<int>(text.size());
  const DWORD flags = CodePageConversionFlags(code_page);
  const int needed = WideCharToMultiByte(code_page, flags, wide, length, nullptr, 0, nullptr, nullptr);
  if (needed <= 0) throw std::runtime_error("text cannot be converted to the code page");
  std::string out(static_cast<std::size_t>(needed), '\0');
  const int written = WideCharToMultiByte(code_page, flags, wide, length, out.data(), needed, nullptr, nullptr);
  if (written <= 0) throw std::runtime_error("text cannot be converted to the code page");
  out.resize(static_cast<std::size_t>(written));
  return out;
}

std::string ToAnsiCodePage(std::u16string_view text) { return ToCodePage(GetACP(), text); }

}  // namespace fader
