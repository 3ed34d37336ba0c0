// A zlib stream of a picture's scanlines, made for barcodes. Most rows of a barcode repeat the row
// above, and most of the others are long runs of one byte: the compressor looks for exactly those
// two matches, the row above and the byte before, where a general compressor hashes every byte to
// search its whole window. A bar band of any height then costs a few matches a row and almost no
// time, and the stream is as small as a general compressor's at its default level.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "base/file_bytes.h"

namespace varnel {

// Appends the zlib stream (RFC 1950, its data in deflate blocks, RFC 1951) of the
// scanlines, `rowLength` (at least 1) bytes apart. Throws std::bad_alloc when its memory cannot be
// had.
void AppendZlibRows(FileBytes& out, std::span<const std::uint8_t> scanlines, std::size_t rowLength);

}  // namespace varnel
