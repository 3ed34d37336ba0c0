#include "platform/win32/metafile_bits.h"

#include <new>

namespace varnel {
namespace {

// Both formats are copied out the same way: asked with no buffer, the platform gives the size.
template <typename Handle, typename ReadBits>
std::optional<FileBytes> CopyBits(Handle metafile, ReadBits readBits) {
  if (metafile == nullptr) return std::nullopt;
  const UINT size = readBits(metafile, 0, nullptr);
  if (size == 0) return std::nullopt;
  try {
    FileBytes bytes(size);
    if (readBits(metafile, size, bytes.data()) != size) return std::nullopt;
    return bytes;
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

}  // namespace

std::optional<FileBytes> EnhMetaFileBytes(HENHMETAFILE metafile) {
  return CopyBits(metafile,
                  [](HENHMETAFILE h, UINT size, BYTE* bytes) { return GetEnhMetaFileBits(h, size, bytes); });
}

std::optional<FileBytes> MetaFileBytes(HMETAFILE metafile) {
  return CopyBits(metafile,
                  [](HMETAFILE h, UINT size, BYTE* bytes) { return GetMetaFileBitsEx(h, size, bytes); });
}

}  // namespace varnel
