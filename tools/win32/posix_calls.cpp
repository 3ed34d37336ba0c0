#include "win32/posix_calls.h"

#include <cstdlib>  // _fmode

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

int IsConsole(int fd) {
  const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(fd));
  DWORD mode = 0;
  return handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode) ? 1 : 0;
}
