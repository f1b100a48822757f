// Small .x meshes written by tests.
#pragma once

#include <string>
#include <vector>

// A text .x file holding one mesh: a flat square of side 2·half at height y, centred on
// (cx, cz), two triangles wound clockwise seen from above; no materials.
std::string KvFlatSquareX(float cx, float cz, float half, float y);

// A text .x file with one mesh of n separate triangles and n materials, material i naming
// textures[i] ("" for none); triangle i has material i.
std::string KvMaterialsX(const std::vector<std::string>& textures);
