// The memory output: a context's picture in a format, copied into the host's buffer. The picture is
// kept with the context, so that a host that asks for the size and then for the bytes, or asks
// again, renders once, for as long as no setting and not the screen resolution has changed.
#pragma once

#include <cstddef>
#include <optional>

#include "drawing/context.h"

namespace varnel {

// A picture up to this size stays kept once the host has its bytes, for a host that asks again; a
// larger one is let go then, so that one large picture does not hold its memory for the rest of the
// context's life. A picture whose size alone was asked for stays kept, whatever its size, until
// the next picture or the context's end.
inline constexpr std::size_t kLargestPictureKeptAfterCopy = std::size_t{1} << 20;

// Saves the kept picture to `path` (see SaveFileBytes) when it is the one the context would render
// now in that format, as the memory output would copy it out, so that a host that asked for the
// picture's size, or had its bytes, saves it without drawing it again. The save's errno, 0 when
// saved; nothing when no such picture is kept.
std::optional<int> SaveKeptPicture(Context& context, int format, const char* path);

// The picture's size in bytes, its bytes copied to `buffer` when that is not null and `size` is at
// least that size; nothing is ever written past `size` bytes. 0 for a number that names no format
// this build has, a negative size, a picture the format's file output refuses too, or a picture of
// more bytes than an int can count.
int CopyPictureToMemory(Context& context, int format, void* buffer, int size);

}  // namespace varnel
