// Reads DirectX .x files (text, binary, and their zlib-compressed forms) into one triangle
// mesh: every mesh of the file with its accumulated frame transforms applied, polygons split
// as fans from their first corner, one attribute (material index) per triangle.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/d3d9.h"

struct KvXMaterial {
  D3DMATERIAL9 material{};
  bool hasTexture = false;
  std::string textureName;  // as stored in the file, escape sequences resolved
};

struct KvXMeshData {
  // Per vertex. A vertex is split where the corners that share a position have different
  // normals, so these arrays all have the same number of vertices.
  std::vector<float> positions;       // x, y, z per vertex
  std::vector<float> normals;         // x, y, z per vertex; empty when no mesh had normals
  std::vector<float> texcoords;       // u, v per vertex; empty when no mesh had coordinates
  std::vector<std::uint32_t> colors;  // ARGB per vertex; empty when no mesh had colours
  // Per triangle.
  std::vector<std::uint32_t> indices;     // three vertex indices per triangle
  std::vector<std::uint32_t> attributes;  // material index per triangle
  std::vector<KvXMaterial> materials;

  std::size_t VertexCount() const { return positions.size() / 3; }
  std::size_t FaceCount() const { return indices.size() / 3; }
};

// Parses a whole file image. Returns false, with a one-line reason in *error when given,
// on anything it cannot read; out is then left empty.
bool KvParseXFile(const std::uint8_t* data, std::size_t size, KvXMeshData& out,
                  std::string* error = nullptr);

// Reads and parses a file; '\' in the path is a folder separator.
bool KvReadXFile(const char* path, KvXMeshData& out, std::string* error = nullptr);
