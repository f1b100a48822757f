// Image files to the texel levels of a texture, with no device: decoding through SDL2_image,
// the colour key, the size rounded up to powers of two and the chain of box-filtered levels.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// A size or level count taken from the image itself (the value of D3DX_DEFAULT).
inline constexpr unsigned kKvImageDefault = ~0u;

struct KvImage {
  unsigned width = 0;
  unsigned height = 0;
  std::vector<std::uint32_t> texels;  // ARGB, rows top to bottom
};

// The largest images and textures accepted, both of the image and of the texture it becomes:
// the largest side the device creates. A caller may also cap the texel count (a BMP or TGA
// header of a few dozen bytes can claim a large image that a reader fills from missing data).
struct KvImageLimits {
  unsigned largestSide = 8192;
  std::size_t largestTexels = 8192u * 8192u;  // 256 MB of ARGB
};

struct KvTextureImage {
  unsigned sourceWidth = 0;  // the image as stored in the file
  unsigned sourceHeight = 0;
  std::vector<KvImage> levels;  // largest first, each half the size of the one before
};

enum class KvImageStatus {
  kOk,
  kBadFile,         // not a PNG, JPEG, BMP or TGA that decodes, or an image beyond the limits
  kBadTextureSize,  // the texture size asked for, or rounded up to, is beyond the limits
};

// Makes the levels of a texture from an image file's bytes. A width or height of 0 or
// kKvImageDefault is the image's own rounded up to a power of two; mipLevels of 0 or the default
// is the full chain down to 1 × 1, any other count at most that. Texels of exactly colorKey
// become transparent black; a key of 0 keys nothing. On failure out.levels is empty (the
// source size is still set when the file itself was read).
KvImageStatus KvDecodeTextureImage(const std::uint8_t* data, std::size_t size, unsigned width,
                                   unsigned height, unsigned mipLevels, std::uint32_t colorKey,
                                   KvTextureImage& out, const KvImageLimits& limits = {});
