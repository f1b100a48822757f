// The images the meshes and the particle emitters use.
#pragma once

#include "image.h"

namespace datagen {

// Surfaces of the meshes; all but the sky tile seamlessly in both directions, the sky
// around the horizon (u) only.
Image MakeGrassTexture();
Image MakeRockTexture();
Image MakeStoneTexture();
Image MakeMarbleTexture();
Image MakePoolTexture();
Image MakeEmberTexture();
Image MakeSkyTexture();

// Particle images. Each is drawn on a background of exactly its colour key (red for the
// flame, blue for the other two) and fades to black before the key begins, because the
// particles are added to the picture and black adds nothing. No texel of the picture itself
// has the key colour.
Image MakeFlameTexture();
Image MakeFountainTexture();
Image MakeWaterTexture();

}  // namespace datagen
