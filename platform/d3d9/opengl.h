// The OpenGL headers: libepoxy on the desktop, which serves OpenGL 3.3 core and OpenGL ES 3.0
// contexts alike, and the browser's own ES 3.0 (WebGL 2). Every file of the device includes
// OpenGL through here; what the two flavours do differently is in gl_flavour.h.
#pragma once

#ifdef __EMSCRIPTEN__
#include <GLES3/gl3.h>
#else
#include <epoxy/gl.h>
#endif
