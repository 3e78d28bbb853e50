#include "tools/chatroom/room_options.h"

namespace fader::room {
namespace {

std::string Narrow(std::u16string_view s) {
  std::string out;
  for (char16_t ch : s) out.push_back(ch < 0x80 ? static_cast<char>(ch) : '?');
  return out;
}

std::uint32_t ParseCount(const std::u16string& option, const std::u16string& value, std::uint32_t max) {
  if (value.empty() || value.size() > 10) throw UsageError(Narrow(option) + ": not a number: " + Narrow(value));
  std::uint64_t n = 0;
  for (char16_t ch : value) {
    if (ch < u'0' || ch > u'9') throw UsageError(Narrow(option) + ": not a number: " + Narrow(value));
    n = n * 10 + static_cast<std::uint64_t>(ch - u'0');
  }
  if (n > max) throw UsageError(Narrow(option) + ": at most " + std::to_string(max));
  return static_cast<std::uint32_t>(n);
}

}  // namespace

const char kUsage[] =
    "usage: chatroom [--log FILE] [--rooms N] [--documents N] [--hang-input MS] [--slow-enter MS]\n"
    "                [--title TEXT]\n";

Options ParseOptions(const std::vector<std::u16string>& args) {
  Options o;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::u16string& a = args[i];
    auto value = [&]() -> const std::u16string& {
      if (i + 1 >= args.size()) throw UsageError(Narrow(a) + " needs a value");
      return args[++i];
    };
    if (a == u"--log") {
      o.log = value();
      if (o.log.empty()) throw UsageError("--log needs a file name");
    } else if (a == u"--rooms") {
      o.rooms = static_cast<int>(ParseCount(a, value(), kMaxWindows));
    } else if (a == u"--documents") {
      o.documents = static_cast<int>(ParseCount(a, value(), kMaxWindows));
    } else if (a == u"--hang-input") {
      o.hang_input_ms = ParseCount(a, value(), kMaxDelayMs);
    } else if (a == u"--slow-enter") {
      o.slow_enter_ms = ParseCount(a, value(), kMaxDelayMs);
    } else if (a == u"--title") {
      o.title = value();
    } else {
      throw UsageError("unknown option: " + Narrow(a));
    }
  }
  return o;
}

std::string HexBytes(std::string_view bytes) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(bytes.size() * 2);
  for (char ch : bytes) {
    const auto b = static_cast<unsigned char>(ch);
    out.push_back(kDigits[b >> 4]);
    out.push_back(kDigits[b & 15]);
  }
  return out;
}

std::string TextMessageLine(std::string_view who, std::string_view msg, std::uint32_t code_page,
                            std::string_view bytes) {
  std::string line(who);
  line += " msg=";
  line += msg;
  line += " cp=" + std::to_string(code_page) + " bytes=" + HexBytes(bytes);
  return line;
}

std::string ValueMessageLine(std::string_view who, std::string_view msg, std::uintptr_t wparam) {
  std::string line(who);
  line += " msg=";
  line += msg;
  line += " wparam=" + std::to_string(wparam);
  return line;
}

}  // namespace fader::room
