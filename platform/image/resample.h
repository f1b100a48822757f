// Resampling an image to another size with the filter a texture's levels are made with.
#pragma once

#include "platform/image/image_decode.h"

// The image at width × height (both at least 1), filtered as `filter` says.
KvImage KvResample(const KvImage& source, unsigned width, unsigned height, KvImageFilter filter);
