// The OpenGL the device draws with: OpenGL 3.3 core through libepoxy on the desktop, OpenGL
// ES 3.0 (WebGL 2) in the browser. Every file of the device includes OpenGL through here;
// what differs between the two beyond the header is in gl_flavour.h.
#pragma once

#ifdef __EMSCRIPTEN__
#include <GLES3/gl3.h>
#else
#include <epoxy/gl.h>
#endif
