// The file is written beside its final place under a name of its own and moved over the old one
// only once it is complete: MoveFileExA replaces the old file in one step, so a failure at any
// point leaves the old file as it was.
#include <cstdio>
#include <string>

#include "platform/file_replace.h"

#include "platform/win32/windows_api.h"

namespace varnel {
namespace {

unsigned temporaryCount = 0;

// A new, empty file beside `path`, opened for writing and shared with nobody; its name is in
// `temporary`. Names taken by files left behind by others are skipped.
HANDLE CreateTemporaryBeside(const std::string& path, std::string& temporary) {
  constexpr int kAttempts = 100;
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    char suffix[40];
    std::snprintf(suffix, sizeof suffix, ".%lx-%x.tmp", GetCurrentProcessId(), temporaryCount++);
    temporary = path + suffix;
    const HANDLE file =
        CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) return file;
  }
  return INVALID_HANDLE_VALUE;
}

// WriteFile takes a DWORD's worth at a time at most.
bool WriteAll(HANDLE file, const std::uint8_t* data, std::size_t size) {
  constexpr std::size_t kLargestWrite = std::size_t{1} << 30;
  while (size > 0) {
    const auto chunk = static_cast<DWORD>(size < kLargestWrite ? size : kLargestWrite);
    DWORD written = 0;
    if (!WriteFile(file, data, chunk, &written, nullptr) || written == 0) return false;
    data += written;
    size -= written;
  }
  return true;
}

}  // namespace

bool ReplaceFileContents(const char* path, const std::uint8_t* data, std::size_t size) {
  if (path == nullptr || *path == '\0') return false;
  // A folder at the path is not ours to replace.
  const DWORD existing = GetFileAttributesA(path);
  if (existing != INVALID_FILE_ATTRIBUTES && (existing & FILE_ATTRIBUTE_DIRECTORY) != 0) return false;

  std::string temporary;
  const HANDLE file = CreateTemporaryBeside(path, temporary);
  if (file == INVALID_HANDLE_VALUE) return false;
  const bool written = WriteAll(file, data, size);
  const bool closed = CloseHandle(file) != 0;
  if (written && closed && MoveFileExA(temporary.c_str(), path, MOVEFILE_REPLACE_EXISTING) != 0) return true;
  DeleteFileA(temporary.c_str());
  return false;
}

}  // namespace varnel
