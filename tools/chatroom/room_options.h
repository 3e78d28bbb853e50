// The stand-in chat room's command line and the lines of its log.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace fader::room {

struct Options {
  std::u16string log;  // empty: no log
  int rooms = 1;
  int documents = 0;
  std::uint32_t hang_input_ms = 0;
  std::uint32_t slow_enter_ms = 0;
  std::u16string title = u"Stand-in chat room";
};

inline constexpr int kMaxWindows = 16;
inline constexpr std::uint32_t kMaxDelayMs = 600000;  // of --hang-input and --slow-enter

class UsageError : public std::invalid_argument {
 public:
  using std::invalid_argument::invalid_argument;
};

// The arguments after the program name. Throws UsageError, saying what is
// wrong, for an unknown option, a missing value, or a count out of range.
Options ParseOptions(const std::vector<std::u16string>& args);

extern const char kUsage[];

// Upper-case hexadecimal of every byte, two digits each, nothing between.
std::string HexBytes(std::string_view bytes);

// Log lines; who is "room=N" (a room's input box), "display=N" (its display)
// or "document=N" (the text of a document that is no room).
std::string TextMessageLine(std::string_view who, std::string_view msg, std::uint32_t code_page,
                            std::string_view bytes);
std::string ValueMessageLine(std::string_view who, std::string_view msg, std::uintptr_t wparam);

}  // namespace fader::room
