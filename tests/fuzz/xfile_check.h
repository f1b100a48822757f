// One input through the .x reader and the properties its result must have. The fuzzer aborts
// on a broken property; the replay test fails on it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/xfile/reader.h"

// Returns "" when the reader's result is sound, else what is wrong with it; *loaded tells
// whether the input was read as a mesh.
inline std::string KvCheckXFileInput(const std::uint8_t* data, std::size_t size,
                                     bool* loaded = nullptr) {
  KvXMeshData mesh;
  const bool ok = KvParseXFile(data, size, mesh);
  if (loaded) *loaded = ok;
  if (!ok) {
    const bool empty = mesh.VertexCount() == 0 && mesh.FaceCount() == 0 && mesh.materials.empty();
    return empty ? "" : "a failed parse left data behind";
  }
  // A successful parse must describe a mesh that can be drawn without reading out of bounds.
  const std::size_t vertices = mesh.VertexCount();
  if (mesh.FaceCount() == 0) return "a parsed mesh without faces";
  for (std::uint32_t index : mesh.indices)
    if (index >= vertices) return "a vertex index past the vertices";
  for (std::uint32_t attribute : mesh.attributes)
    if (attribute >= mesh.materials.size()) return "an attribute past the materials";
  const bool sized = mesh.positions.size() == 3 * vertices && mesh.indices.size() % 3 == 0 &&
                     mesh.attributes.size() == mesh.FaceCount() &&
                     (mesh.normals.empty() || mesh.normals.size() == 3 * vertices) &&
                     (mesh.texcoords.empty() || mesh.texcoords.size() == 2 * vertices) &&
                     (mesh.colors.empty() || mesh.colors.size() == vertices);
  return sized ? "" : "per-vertex or per-face arrays of different lengths";
}
