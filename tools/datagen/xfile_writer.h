// Writes a mesh as a text DirectX .x file ("xof 0303txt 0032"): one frame with an identity
// transform holding one mesh with normals, texture coordinates, vertex colours and its
// material list. Numbers use fixed formatting so the output is the same on every run.
#pragma once

#include <string>

#include "mesh.h"

namespace datagen {

std::string FormatXFile(const Mesh& mesh);

}  // namespace datagen
