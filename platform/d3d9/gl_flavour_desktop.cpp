// OpenGL 3.3 core: ARGB texels are BGRA bytes in memory, which OpenGL takes and gives as they
// are, vertex colours included.
#include "platform/d3d9/gl_flavour.h"

const KvGlApi kKvGlApi = KvGlApi::kCore33;
const char* const kKvGlName = "OpenGL 3.3";
const char* const kKvShaderHeader = "#version 330 core\n#define COLOR_BGRA 0\n";
const GLint kKvColorAttributeSize = GL_BGRA;
const GLint kKvClampToBorder = GL_CLAMP_TO_BORDER;

bool KvGlVersionSupported() {
  return epoxy_is_desktop_gl() && epoxy_gl_version() >= 33;
}

void KvGlTexImage(GLint level, GLsizei width, GLsizei height, const DWORD* texels) {
  glTexImage2D(GL_TEXTURE_2D, level, GL_RGBA8, width, height, 0, GL_BGRA, GL_UNSIGNED_BYTE, texels);
}

void KvGlTexSubImage(GLint level, GLsizei width, GLsizei height, const DWORD* texels) {
  glTexSubImage2D(GL_TEXTURE_2D, level, 0, 0, width, height, GL_BGRA, GL_UNSIGNED_BYTE, texels);
}

void KvGlReadArgb(GLint x, GLint y, GLsizei width, GLsizei height, DWORD* pixels) {
  glReadPixels(x, y, width, height, GL_BGRA, GL_UNSIGNED_BYTE, pixels);
}

void KvGlDepthRange(float nearZ, float farZ) {
  glDepthRange(nearZ, farZ);
}

void KvGlClearDepth(float depth) {
  glClearDepth(depth);
}
