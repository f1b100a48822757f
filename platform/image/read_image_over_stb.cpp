// Image decoding through stb_image alone: the browser's and the Windows program's, as
// SDL2_image is in neither.
#include "platform/image/read_image.h"

#include "platform/image/read_image_stb.h"

bool KvReadImage(const std::uint8_t* data, std::size_t size, const KvImageLimits& limits,
                 KvImage& image) {
  return KvReadImageStb(data, size, limits, image);
}
