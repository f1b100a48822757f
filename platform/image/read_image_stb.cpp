// Decoding through stb_image, which reads all four formats itself. The header is read first,
// so that a claim beyond the limits is refused before anything is allocated for it; a file
// whose header names one format is never read as another, as stb_image tries each format's
// signature in turn and only TGA, which has none, comes last.
#include "platform/image/read_image_stb.h"

#include <stb_image.h>

#include <climits>

#include "platform/image/image_header.h"
#include "platform/image/stb_guards.h"

namespace {

// stb_image's texels are R, G, B, A bytes; a D3DCOLOR holds alpha in its top byte.
void CopyTexels(const stbi_uc* rgba, KvImage& image) {
  image.texels.resize(std::size_t(image.width) * image.height);
  for (std::uint32_t& texel : image.texels) {
    texel = std::uint32_t(rgba[3]) << 24 | std::uint32_t(rgba[0]) << 16 |
            std::uint32_t(rgba[1]) << 8 | rgba[2];
    rgba += 4;
  }
}

}  // namespace

bool KvReadImageStb(const std::uint8_t* data, std::size_t size, const KvImageLimits& limits,
                    KvImage& image) {
  KvImageHeader header;
  if (!data || size == 0 || size > std::size_t(INT_MAX) || !KvReadImageHeader(data, size, header) ||
      !KvImageWithinLimits(header.width, header.height, limits) ||
      !KvStbCanRead(data, size, header.format)) {
    return false;
  }
  int width = 0;
  int height = 0;
  int channels = 0;
  stbi_uc* rgba = stbi_load_from_memory(data, int(size), &width, &height, &channels, 4);
  if (!rgba) return false;
  const bool fits = KvImageWithinLimits(std::uint64_t(width), std::uint64_t(height), limits);
  if (fits) {
    image.width = unsigned(width);
    image.height = unsigned(height);
    CopyTexels(rgba, image);
  }
  stbi_image_free(rgba);
  return fits;
}
