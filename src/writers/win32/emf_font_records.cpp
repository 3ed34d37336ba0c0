#include "writers/win32/emf_font_records.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "platform/win32/windows_api.h"

namespace varnel {
namespace {

// EMR_EXTCREATEFONTINDIRECTW: type, size and the font's index, then the wide logical font, whose
// face name follows its 28 bytes of numbers, then, in the extended form, the full name and the
// style name.
constexpr std::size_t kRecordHeader = 8;
constexpr std::size_t kLogicalFontAt = 12;
constexpr std::size_t kFaceNameAt = kLogicalFontAt + 28;
constexpr std::size_t kFaceNameCharacters = 32;
constexpr std::size_t kFullNameAt = kFaceNameAt + 2 * kFaceNameCharacters;
constexpr std::size_t kFullNameCharacters = 64;
constexpr std::size_t kStyleNameAt = kFullNameAt + 2 * kFullNameCharacters;
constexpr std::size_t kStyleNameCharacters = 32;

std::uint32_t U32At(const std::uint8_t* at) {
  return static_cast<std::uint32_t>(at[0]) | static_cast<std::uint32_t>(at[1]) << 8 |
         static_cast<std::uint32_t>(at[2]) << 16 | static_cast<std::uint32_t>(at[3]) << 24;
}

// The UTF-16 name of `characters` at `at` in the record, cleared after its terminator; nothing when
// the record is too short to hold it.
void ClearAfterTerminator(std::uint8_t* record, std::size_t recordSize, std::size_t at, std::size_t characters) {
  if (at + 2 * characters > recordSize) return;
  std::size_t length = 0;
  while (length < characters && (record[at + 2 * length] | record[at + 2 * length + 1]) != 0) ++length;
  std::memset(record + at + 2 * length, 0, 2 * (characters - length));
}

}  // namespace

void ClearUnsetFontBytes(FileBytes& metafile) {
  std::uint8_t* const bytes = metafile.data();
  for (std::size_t at = 0; metafile.size() - at >= kRecordHeader;) {
    const std::uint32_t type = U32At(bytes + at), size = U32At(bytes + at + 4);
    if (size < kRecordHeader || size > metafile.size() - at) return;  // not a record: nothing more is read
    if (type == EMR_EXTCREATEFONTINDIRECTW) {
      ClearAfterTerminator(bytes + at, size, kFaceNameAt, kFaceNameCharacters);
      ClearAfterTerminator(bytes + at, size, kFullNameAt, kFullNameCharacters);
      ClearAfterTerminator(bytes + at, size, kStyleNameAt, kStyleNameCharacters);
    }
    at += size;
  }
}

}  // namespace varnel
