#include "platform/win32/metafile_bits.h"

#include <new>

namespace varnel {
namespace {

// Both formats are copied out the same way: asked with no buffer, the platform gives the size.
template <typename Handle, typename ReadBits>
std::optional<std::vector<std::uint8_t>> CopyBits(Handle metafile, ReadBits readBits) {
  if (metafile == nullptr) return std::nullopt;
  const UINT size = readBits(metafile, 0, nullptr);
  if (size == 0) return std::nullopt;
  try {
    std::vector<std::uint8_t> bytes(size);
    if (readBits(metafile, size, bytes.data()) != size) return std::nullopt;
    return bytes;
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

}  // namespace

std::optional<std::vector<std::uint8_t>> EnhMetaFileBytes(HENHMETAFILE metafile) {
  return CopyBits(metafile,
                  [](HENHMETAFILE h, UINT size, BYTE* bytes) { return GetEnhMetaFileBits(h, size, bytes); });
}

std::optional<std::vector<std::uint8_t>> MetaFileBytes(HMETAFILE metafile) {
  return CopyBits(metafile,
                  [](HMETAFILE h, UINT size, BYTE* bytes) { return GetMetaFileBitsEx(h, size, bytes); });
}

}  // namespace varnel
