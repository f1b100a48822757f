// The four scene meshes. Each comes back complete: geometry, normals, texture coordinates,
// baked vertex colours and materials, ready to be written.
#pragma once

#include "mesh.h"

namespace datagen {

// Texture names as the meshes store them: relative to the program's working directory.
inline constexpr const char* kGrassTexture = "Data\\Texture\\grass.png";
inline constexpr const char* kRockTexture = "Data\\Texture\\rock.png";
inline constexpr const char* kSkyTexture = "Data\\Texture\\sky.png";
inline constexpr const char* kStoneTexture = "Data\\Texture\\stone.png";
inline constexpr const char* kMarbleTexture = "Data\\Texture\\marble.png";
inline constexpr const char* kPoolTexture = "Data\\Texture\\pool.png";
inline constexpr const char* kEmberTexture = "Data\\Texture\\ember.png";

Mesh BuildEnvironment();
Mesh BuildFirePit();
Mesh BuildFountain();
Mesh BuildHead();

}  // namespace datagen
