// The stand-in room's log: one line a message, for tests to read while the
// room runs.
#pragma once

#include <cstdio>
#include <string>

namespace fader::room {

class LogFile {
 public:
  LogFile() = default;
  LogFile(const LogFile&) = delete;
  LogFile& operator=(const LogFile&) = delete;
  ~LogFile();

  // Empties the file first; false when it cannot be opened.
  bool Open(const std::u16string& path);
  // Writes nothing while no file is open.
  void Line(const std::string& line);

 private:
  FILE* file_ = nullptr;
};

}  // namespace fader::room
