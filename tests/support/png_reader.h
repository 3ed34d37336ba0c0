// Reads PNG files back for the tests: the pixels through libpng's own decoder, and the header and
// ancillary chunks straight from the bytes, so that tests check what is in the file.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "support/bmp_reader.h"

namespace varnel::testing {

struct PngFile {
  Bitmap pixels;  // any transparency composited over white, like paper; empty from ReadPngChunks
  std::vector<std::uint8_t> alpha;  // each pixel's, laid out as pixels; empty from ReadPngChunks
  std::uint32_t width = 0;  // from IHDR
  std::uint32_t height = 0;
  std::uint8_t bitDepth = 0;
  std::uint8_t colourType = 0;  // 3 for a palette image
  std::vector<std::uint32_t> palette;  // 0x00RRGGBB, from PLTE
  std::vector<std::uint8_t> paletteAlpha;  // from tRNS, for as many entries as it gives
  bool hasPhys = false;
  std::uint32_t pixelsPerUnitX = 0;
  std::uint32_t pixelsPerUnitY = 0;
  std::uint8_t physUnit = 0;  // 1: the metre
};

// nullopt when the file is missing, its chunks do not follow the signature and one another in
// order, or libpng cannot decode it.
std::optional<PngFile> ReadPng(const std::string& path);
// The chunks alone, for pictures larger than libpng decodes by default (a million pixels across).
std::optional<PngFile> ReadPngChunks(const std::string& path);

}  // namespace varnel::testing
