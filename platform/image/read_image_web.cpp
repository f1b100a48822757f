// The browser build's image decoding: stb_image, as SDL2_image is not there.
#include "platform/image/read_image.h"

#include "platform/image/read_image_stb.h"

bool KvReadImage(const std::uint8_t* data, std::size_t size, const KvImageLimits& limits,
                 KvImage& image) {
  return KvReadImageStb(data, size, limits, image);
}
