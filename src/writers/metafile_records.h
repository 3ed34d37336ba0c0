// What the two metafile encoders (WMF and EMF) share below the level of drawing: little-endian
// record bytes, and the player's object table.
#pragma once

#include "base/file_bytes.h"
#include <algorithm>
#include <bit>
#include <bitset>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <new>
#include <vector>

namespace varnel {

namespace byte_order {

// Little-endian stores: a single store where the machine is little-endian itself.
template <typename Unsigned>
void Store(std::uint8_t* at, Unsigned value) {
  if constexpr (std::endian::native == std::endian::little) {
    std::memcpy(at, &value, sizeof value);
  } else {
    for (std::size_t i = 0; i < sizeof value; ++i) at[i] = static_cast<std::uint8_t>(value >> (8 * i));
  }
}
inline void Store16(std::uint8_t* at, std::uint16_t value) { Store(at, value); }
inline void Store32(std::uint8_t* at, std::uint32_t value) { Store(at, value); }

}  // namespace byte_order

// Room made in a RecordBuffer for one whole record, filled front to back with little-endian values.
// It must be filled before anything else is appended to the buffer, which may move.
class RecordWriter {
 public:
  explicit RecordWriter(std::uint8_t* at) : at_(at) {}

  void U8(std::uint8_t value) { *at_++ = value; }
  void U16(std::uint16_t value) {
    byte_order::Store16(at_, value);
    at_ += 2;
  }
  void U32(std::uint32_t value) {
    byte_order::Store32(at_, value);
    at_ += 4;
  }
  void I16(std::int16_t value) { U16(static_cast<std::uint16_t>(value)); }
  void I32(std::int32_t value) { U32(static_cast<std::uint32_t>(value)); }
  void F32(float value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    U32(bits);
  }
  void Zeros(std::size_t count) {
    std::memset(at_, 0, count);
    at_ += count;
  }

 private:
  std::uint8_t* at_;
};

// A growing little-endian byte image. Appends may throw std::bad_alloc; the encoders turn that into
// "no file".
//
// A record's room is made once, for the whole record, and its values are stored straight into it:
// a metafile is thousands of small values, and growing the image a byte at a time was most of the
// work of writing one.
class RecordBuffer {
 public:
  // Room for `bytes` in all, made at once, so that the image is not moved as it grows.
  void Reserve(std::size_t bytes) { bytes_.reserve(bytes); }
  std::size_t Size() const { return size_; }
  // The bytes written so far.
  FileBytes& Bytes() {
    bytes_.resize(size_);
    return bytes_;
  }

  // The next `count` bytes, to be written through the writer.
  RecordWriter Append(std::size_t count) {
    if (bytes_.size() - size_ < count) bytes_.resize(size_ + std::max(count, kGrowth));
    std::uint8_t* at = bytes_.data() + size_;
    size_ += count;
    return RecordWriter(at);
  }

  void U8(std::uint8_t value) { Append(1).U8(value); }
  void U16(std::uint16_t value) { Append(2).U16(value); }
  void U32(std::uint32_t value) { Append(4).U32(value); }
  void Zeros(std::size_t count) { Append(count).Zeros(count); }

  void PatchU16(std::size_t at, std::uint16_t value) { byte_order::Store16(bytes_.data() + at, value); }
  void PatchU32(std::size_t at, std::uint32_t value) { byte_order::Store32(bytes_.data() + at, value); }

 private:
  static constexpr std::size_t kGrowth = 1024;

  FileBytes bytes_;  // the image, then room made ahead (unwritten)
  std::size_t size_ = 0;             // the bytes written
};

// The table a player keeps of the objects a metafile creates. Records name no index when they
// create an object: the player puts it in the lowest free slot, so the writer must keep the same
// table to know which index later records use. Both formats' headers give the table's size.
class ObjectTable {
 public:
  // The replay holds at most six objects at once (two pens, a brush and a font, and the brush or
  // font that replaces one while both are alive); a table of sixteen is more than enough.
  static constexpr std::size_t kSlots = 16;

  // EMF reserves index 0 for the metafile itself; WMF starts at 0.
  explicit ObjectTable(std::uint32_t firstIndex) : first_(firstIndex), size_(firstIndex) {}

  // Throws std::bad_alloc, as any append does, should the table ever be full.
  std::uint32_t Create() {
    std::size_t slot = 0;
    while (slot < kSlots && used_[slot]) ++slot;
    if (slot == kSlots) throw std::bad_alloc();
    used_[slot] = true;
    const auto index = static_cast<std::uint32_t>(first_ + slot);
    if (index + 1 > size_) size_ = index + 1;
    return index;
  }
  void Release(std::uint32_t index) { used_[index - first_] = false; }

  // The number of indices ever needed at once, counting the reserved ones.
  std::uint32_t Size() const { return size_; }

 private:
  std::uint32_t first_;
  std::uint32_t size_;
  std::bitset<kSlots> used_;
};

}  // namespace varnel
