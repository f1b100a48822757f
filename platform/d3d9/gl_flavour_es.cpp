// OpenGL ES 3.0 (WebGL 2 in the browser, EGL or GLX on the desktop): no BGRA formats, so
// texels go up and pixels come back as RGBA bytes, swapped here, and the shader swaps the
// vertex colour's channels itself.
#include <cstring>
#include <vector>

#include "platform/d3d9/gl_flavour.h"

const KvGlApi kKvGlApi = KvGlApi::kEs30;
const char* const kKvGlName = "OpenGL ES 3.0";
const char* const kKvShaderHeader =
    "#version 300 es\nprecision highp float;\nprecision highp int;\n#define COLOR_BGRA 1\n"
    "#define W_OFF_EYE_PLANE 1\n";
const GLint kKvColorAttributeSize = 4;
const GLint kKvClampToBorder = GL_CLAMP_TO_EDGE;

namespace {

// ARGB (B, G, R, A bytes in memory) and RGBA bytes differ by swapping red and blue.
DWORD SwapRedBlue(DWORD texel) {
  return (texel & 0xFF00FF00u) | ((texel >> 16) & 0xFFu) | ((texel & 0xFFu) << 16);
}

std::vector<DWORD> Swapped(const DWORD* texels, std::size_t count) {
  std::vector<DWORD> swapped(count);
  for (std::size_t i = 0; i < count; ++i) swapped[i] = SwapRedBlue(texels[i]);
  return swapped;
}

}  // namespace

// An ES context says so at the start of its version ("OpenGL ES 3.2 Mesa ...", "OpenGL ES 3.0
// (WebGL 2.0 ...)"); a desktop context handed over instead would take other shaders.
bool KvGlVersionSupported() {
  const auto* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
  GLint major = 0;
  glGetIntegerv(GL_MAJOR_VERSION, &major);
  return version && std::strncmp(version, "OpenGL ES ", 10) == 0 && major >= 3;
}

void KvGlTexImage(GLint level, GLsizei width, GLsizei height, const DWORD* texels) {
  const auto rgba = Swapped(texels, std::size_t(width) * std::size_t(height));
  glTexImage2D(GL_TEXTURE_2D, level, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
               rgba.data());
}

void KvGlTexSubImage(GLint level, GLsizei width, GLsizei height, const DWORD* texels) {
  const auto rgba = Swapped(texels, std::size_t(width) * std::size_t(height));
  glTexSubImage2D(GL_TEXTURE_2D, level, 0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE,
                  rgba.data());
}

void KvGlReadArgb(GLint x, GLint y, GLsizei width, GLsizei height, DWORD* pixels) {
  glReadPixels(x, y, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
  const std::size_t count = std::size_t(width) * std::size_t(height);
  for (std::size_t i = 0; i < count; ++i) pixels[i] = SwapRedBlue(pixels[i]);
}

void KvGlDepthRange(float nearZ, float farZ) {
  glDepthRangef(nearZ, farZ);
}

void KvGlClearDepth(float depth) {
  glClearDepthf(depth);
}
