#include "tools/chatroom/room_log_win32.h"

namespace fader::room {

LogFile::~LogFile() {
  if (file_) std::fclose(file_);
}

bool LogFile::Open(const std::u16string& path) {
  file_ = _wfopen(reinterpret_cast<const wchar_t*>(path.c_str()), L"wb");
  return file_ != nullptr;
}

void LogFile::Line(const std::string& line) {
  if (!file_) return;
  std::fputs(line.c_str(), file_);
  std::fputc('\n', file_);
  // Flushed at once: tests read the file while the room runs.
  std::fflush(file_);
}

}  // namespace fader::room
