// Where a vertex format's attributes sit in its vertices.
#include "platform/d3d9/shader_inputs.h"

namespace {

constexpr DWORD kPointSize = 0x020;  // D3DFVF_PSIZE: a float the shader does not read

}  // namespace

KvVertexLayout KvLayoutOf(DWORD fvf, UINT stride, std::size_t offset) {
  KvVertexLayout layout;
  layout.stride = GLsizei(stride);
  layout.position = std::ptrdiff_t(offset);
  std::ptrdiff_t next = layout.position + 12;
  if (fvf & D3DFVF_NORMAL) next += 12;
  if (fvf & kPointSize) next += 4;
  if (fvf & D3DFVF_DIFFUSE) {
    layout.color = next;
    next += 4;
  }
  if (fvf & D3DFVF_SPECULAR) next += 4;
  if ((fvf & D3DFVF_TEXCOUNT_MASK) != 0) layout.texCoord = next;
  return layout;
}
