// Feeds arbitrary bytes to the .x reader; any crash, hang or sanitizer report is a bug.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/xfile_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  KvXMeshData mesh;
  if (!KvParseXFile(data, size, mesh)) {
    if (mesh.VertexCount() != 0 || !mesh.materials.empty()) std::abort();
    return 0;
  }
  // A successful parse must describe a mesh that can be drawn without reading out of bounds.
  const std::size_t vertices = mesh.VertexCount();
  for (std::uint32_t index : mesh.indices) {
    if (index >= vertices) std::abort();
  }
  for (std::uint32_t attribute : mesh.attributes) {
    if (attribute >= mesh.materials.size()) std::abort();
  }
  const bool sized = mesh.attributes.size() == mesh.FaceCount() &&
                     (mesh.normals.empty() || mesh.normals.size() == 3 * vertices) &&
                     (mesh.texcoords.empty() || mesh.texcoords.size() == 2 * vertices) &&
                     (mesh.colors.empty() || mesh.colors.size() == vertices);
  if (!sized || mesh.FaceCount() == 0) std::abort();
  return 0;
}
