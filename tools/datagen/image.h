// An 8-bit RGB image in memory and the PNG file writer for it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "det_math.h"

namespace datagen {

struct Image {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgb;  // three bytes per texel, rows top to bottom

  Image(int w, int h) : width(w), height(h), rgb(static_cast<std::size_t>(w) * h * 3, 0) {}
  // Stores a colour given with channels in [0, 1]; values outside are clamped.
  void Set(int x, int y, Rgb c);
  void SetBytes(int x, int y, std::uint8_t r, std::uint8_t g, std::uint8_t b);
  const std::uint8_t* At(int x, int y) const {
    return &rgb[(static_cast<std::size_t>(y) * width + x) * 3];
  }
};

// The bytes of a PNG file holding the image: truecolour, 8 bits per channel, no interlace,
// every row with filter 0, the image data in stored (uncompressed) deflate blocks. Stored
// blocks make the bytes independent of any compressor's version.
std::vector<std::uint8_t> EncodePng(const Image& image);

bool WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes);

}  // namespace datagen
