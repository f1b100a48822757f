// Small .x meshes written by tests.
#pragma once

#include <string>
#include <vector>

// A text .x file holding one mesh: a flat square from -10 to 10 in x and z at height y, two
// triangles wound clockwise seen from above; no materials.
void KvWriteGroundX(const std::string& path, float y);

// A text .x file with one mesh of n separate triangles and n materials, material i naming
// textures[i] ("" for none); triangle i has material i.
void KvWriteMaterialsX(const std::string& path, const std::vector<std::string>& textures);
