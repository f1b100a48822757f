// The OpenGL error check of the sanitizer build.
#include "platform/d3d9/gl_check.h"

#ifdef KV_GL_CHECKS
#include "platform/d3d9/opengl.h"

#include <cstdio>
#include <cstdlib>

void KvCheckGl(const char* where) {
  const GLenum error = glGetError();
  if (error == GL_NO_ERROR) return;
  std::fprintf(stderr, "OpenGL error 0x%04X after %s\n", error, where);
  std::abort();
}
#endif
