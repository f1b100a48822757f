// One input through the texture decoder and the properties its levels must have. The fuzzer
// aborts on a broken property; the replay test fails on it.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/d3dx9.h"
#include "platform/image/image_decode.h"

// The fuzzer keeps images small so that each input runs in milliseconds; the program's own
// limits are the same checks with larger numbers.
inline constexpr KvImageLimits kKvFuzzImageLimits{8192, 512 * 512};

// Loads the input the way the program loads its textures: default sizes and levels, keyed
// with one of the program's keys or not at all (chosen by the input's length, so that both
// are covered without decoding twice). Returns "" when the levels are sound, else what is wrong
// with them; *loaded tells whether the input was read as an image.
inline std::string KvCheckTextureInput(const std::uint8_t* data, std::size_t size,
                                       bool* loaded = nullptr) {
  const D3DCOLOR key = (size % 2 == 0) ? 0xFFFF0000u : 0u;
  KvTextureImage image;
  const KvImageStatus status = KvDecodeTextureImage(data, size, D3DX_DEFAULT, D3DX_DEFAULT,
                                                    D3DX_DEFAULT, key, image, kKvFuzzImageLimits);
  if (loaded) *loaded = status == KvImageStatus::kOk;
  if (status != KvImageStatus::kOk) return image.levels.empty() ? "" : "a failure left levels";
  const UINT sw = image.sourceWidth, sh = image.sourceHeight;
  if (sw == 0 || sh == 0 || std::size_t{sw} * sh > kKvFuzzImageLimits.largestTexels)
    return "an image beyond the limits was accepted";
  // Level 0 is the image rounded up to powers of two; each level halves, down to 1 × 1.
  UINT w = 1, h = 1, expectedLevels = 1;
  while (w < sw) w <<= 1;
  while (h < sh) h <<= 1;
  const UINT w0 = w, h0 = h;
  for (UINT m = w > h ? w : h; m > 1; m >>= 1) ++expectedLevels;
  if (image.levels.size() != expectedLevels) return "a wrong number of levels";
  for (const KvImage& level : image.levels) {
    if (level.width != w || level.height != h || level.texels.size() != std::size_t{w} * h)
      return "a level of the wrong size";
    w = std::max(1u, w / 2), h = std::max(1u, h / 2);
  }
  // Level 0 of an image already at powers of two is the image, keyed: no texel of the key is
  // left. (Resampled, blends of texels near the key may round to it.)
  const std::vector<DWORD>& texels = image.levels[0].texels;
  const bool survived = std::find(texels.begin(), texels.end(), key) != texels.end();
  return key != 0 && w0 == sw && h0 == sh && survived ? "a keyed texel survived" : "";
}
