#include "win32/posix_calls.h"

#include <cerrno>
#include <cstdlib>

#include <fcntl.h>

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace {

// Files and the standard streams carry bytes as they are, as on Linux: in the C runtime's text mode
// each line feed written would become CR LF, and each CR LF read a line feed. Set before main.
const bool kBinaryFiles = [] {
  _fmode = _O_BINARY;
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stdin), _O_BINARY);
  return true;
}();

}  // namespace

ssize_t getline(char** line, size_t* capacity, std::FILE* in) {
  size_t length = 0;
  for (int c; (c = std::fgetc(in)) != EOF;) {
    if (length + 2 > *capacity) {
      const size_t grown = *capacity < 64 ? 128 : *capacity * 2;
      char* larger = static_cast<char*>(std::realloc(*line, grown));
      if (larger == nullptr) {
        errno = ENOMEM;
        return -1;
      }
      *line = larger;
      *capacity = grown;
    }
    (*line)[length++] = static_cast<char>(c);
    if (c == '\n') break;
  }
  if (length == 0) return -1;
  (*line)[length] = '\0';
  return static_cast<ssize_t>(length);
}

int IsConsole(int fd) {
  const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(fd));
  DWORD mode = 0;
  return handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode) ? 1 : 0;
}
