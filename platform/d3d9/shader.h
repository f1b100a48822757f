// Inside the platform layer: the shader programs that stand in for the fixed-function
// pipeline, and the one Present draws the back buffer with.
#pragma once

#include <epoxy/gl.h>

struct KvShaderProgram {
  GLuint name = 0;
  GLint alphaFunction = -1;   // a D3DCMPFUNC value; the GLSL names the same values
  GLint alphaReference = -1;  // compared with alpha × 255
};
bool KvCreateFixedFunctionProgram(bool textured, bool alphaTested, KvShaderProgram& program);
// The program Present draws the back buffer with; 0 if it cannot be made.
GLuint KvCreatePresentProgram();
