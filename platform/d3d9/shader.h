// Inside the platform layer: the shader programs that stand in for the fixed-function
// pipeline, and the one Present draws the back buffer with.
#pragma once

#include <array>
#include <optional>

#include "platform/d3d9/gl_cache.h"

struct KvShaderProgram {
  GLuint name = 0;
  GLint alphaFunction = -1;   // a D3DCMPFUNC value; the GLSL names the same values
  GLint alphaReference = -1;  // compared with alpha × 255
  GLint halfPixel = -1;       // of the viewport, in clip space
  // The values the uniforms were last given (through the cache), so choosing the program
  // again sets only what changed.
  std::optional<GLint> alphaFunctionValue;
  std::optional<float> alphaReferenceValue;
  std::optional<std::array<float, 2>> halfPixelValue;
};
// What a fixed-function program variant does, as bits: stage 0 textured, the alpha test on,
// and colour from the vertices (without it, every vertex is white, and the rasterizer has
// one input less to interpolate across each triangle).
inline constexpr unsigned kKvTextured = 1u << 0;
inline constexpr unsigned kKvAlphaTested = 1u << 1;
inline constexpr unsigned kKvVertexColor = 1u << 2;
inline constexpr unsigned kKvProgramVariants = 1u << 3;
bool KvCreateFixedFunctionProgram(unsigned variant, KvShaderProgram& program, KvGlCache& cache);
// The program Present draws the back buffer with; 0 if it cannot be made.
GLuint KvCreatePresentProgram(KvGlCache& cache);
// The uniforms of the program in use, set through the cache where they differ from the values
// it has, so that whoever sets them (the device, the overlay) tells the device.
void KvSetHalfPixel(KvGlCache& cache, KvShaderProgram& program, float x, float y);
void KvSetAlphaTest(KvGlCache& cache, KvShaderProgram& program, GLint function, float reference);
