// What the two metafile encoders (WMF and EMF) share below the level of drawing: little-endian
// record bytes, and the player's object table.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace varnel {

// A growing little-endian byte image. Appends may throw std::bad_alloc; the encoders turn that into
// "no file".
class RecordBuffer {
 public:
  std::size_t Size() const { return bytes_.size(); }
  std::vector<std::uint8_t>& Bytes() { return bytes_; }

  void U8(std::uint8_t value) { bytes_.push_back(value); }
  void U16(std::uint16_t value) {
    U8(static_cast<std::uint8_t>(value));
    U8(static_cast<std::uint8_t>(value >> 8));
  }
  void U32(std::uint32_t value) {
    U16(static_cast<std::uint16_t>(value));
    U16(static_cast<std::uint16_t>(value >> 16));
  }
  void I16(std::int16_t value) { U16(static_cast<std::uint16_t>(value)); }
  void I32(std::int32_t value) { U32(static_cast<std::uint32_t>(value)); }
  void F32(float value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    U32(bits);
  }
  void Zeros(std::size_t count) { bytes_.insert(bytes_.end(), count, 0); }

  void PatchU16(std::size_t at, std::uint16_t value) {
    bytes_[at] = static_cast<std::uint8_t>(value);
    bytes_[at + 1] = static_cast<std::uint8_t>(value >> 8);
  }
  void PatchU32(std::size_t at, std::uint32_t value) {
    PatchU16(at, static_cast<std::uint16_t>(value));
    PatchU16(at + 2, static_cast<std::uint16_t>(value >> 16));
  }

 private:
  std::vector<std::uint8_t> bytes_;
};

// The table a player keeps of the objects a metafile creates. Records name no index when they
// create an object: the player puts it in the lowest free slot, so the writer must keep the same
// table to know which index later records use. Both formats' headers give the table's size.
class ObjectTable {
 public:
  // EMF reserves index 0 for the metafile itself; WMF starts at 0.
  explicit ObjectTable(std::uint32_t firstIndex) : first_(firstIndex), size_(firstIndex) {}

  std::uint32_t Create() {
    std::size_t slot = 0;
    while (slot < used_.size() && used_[slot]) ++slot;
    if (slot == used_.size()) used_.push_back(false);
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
  std::vector<bool> used_;
};

}  // namespace varnel
