// The shader programs that emulate the fixed-function subset the program uses: transformed
// positions with Direct3D's [0, 1] depth, texture stage 0 modulated with the vertex colour,
// and the alpha test against alpha × 255. One program per combination of texturing, alpha
// testing and vertex colour, so that drawing without the alpha test has no discard and keeps
// early depth tests, and drawing without vertex colour interpolates nothing for it.
#include "platform/d3d9/shader.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/d3d9.h"
#include "platform/d3d9/gl_flavour.h"
#include "platform/d3d9/shader_inputs.h"

namespace {

const char* const kVertexShader = R"(
// (x, y, z) from a vertex buffer, w then being 1; gathered draws hand in (x, y, z, w) already
// transformed, with the identity as their transform.
layout(location = POSITION_LOCATION) in vec4 inPosition;
#if VERTEX_COLOR
layout(location = COLOR_LOCATION) in vec4 inColor;
out vec4 color;
#endif
layout(location = TEXCOORD_LOCATION) in vec2 inTexCoord;
// World × view × projection: a constant attribute for a single draw, one per instance for
// a gathered run of points or lines.
layout(location = TRANSFORM_LOCATION) in mat4 inWorldViewProjection;
// Direct3D's pixel centres lie at whole coordinates, OpenGL's half a pixel further right and
// down, so the geometry moves right and down by (a shade under) half a pixel of the viewport.
uniform vec2 halfPixel;
out vec2 texCoord;
void main() {
  vec4 clip = inWorldViewProjection * inPosition;
#ifdef W_OFF_EYE_PLANE
  // WebGL's software renderer (SwiftShader) drops or smears the triangles through a vertex on
  // or next to the eye's plane (w near 0) under a wide field of view. Such a vertex is behind
  // the near plane (z < 0) and clipped away; w a little further from 0 keeps it there and
  // moves what is drawn of its triangles by a fraction of a pixel.
  if (clip.z < 0.0 && abs(clip.w) < 1e-3) clip.w = -1e-3;
#endif
  clip.z = 2.0 * clip.z - clip.w;  // Direct3D's depth range [0, w] onto OpenGL's [-w, w]
  clip.xy += halfPixel * clip.w;
  gl_Position = clip;
#if VERTEX_COLOR && COLOR_BGRA
  color = inColor.bgra;
#elif VERTEX_COLOR
  color = inColor;
#endif
  texCoord = inTexCoord;
}
)";

const char* const kFragmentShader = R"(
#if VERTEX_COLOR
in vec4 color;
#else
const vec4 color = vec4(1.0);
#endif
in vec2 texCoord;
uniform sampler2D image;
uniform int alphaFunction;
uniform float alphaReference;
out vec4 fragment;
bool Passes(float a, float r) {
  if (alphaFunction == CMP_NEVER) return false;
  if (alphaFunction == CMP_LESS) return a < r;
  if (alphaFunction == CMP_EQUAL) return a == r;
  if (alphaFunction == CMP_LESSEQUAL) return a <= r;
  if (alphaFunction == CMP_GREATER) return a > r;
  if (alphaFunction == CMP_NOTEQUAL) return a != r;
  if (alphaFunction == CMP_GREATEREQUAL) return a >= r;
  return true;  // CMP_ALWAYS
}
void main() {
  vec4 result = color;
#if TEXTURED
  result *= texture(image, texCoord);
#endif
#if ALPHA_TESTED
  if (!Passes(floor(result.a * 255.0 + 0.5), alphaReference)) discard;
#endif
  fragment = result;
}
)";

// Draws the back buffer over the whole drawable: one triangle that covers the clip square,
// its corners made from the vertex number, so no vertex buffer is needed.
const char* const kPresentVertexShader = R"(
out vec2 texCoord;
void main() {
  vec2 corner = vec2(float((gl_VertexID & 1) << 2), float((gl_VertexID & 2) << 1)) - 1.0;
  gl_Position = vec4(corner, 0.0, 1.0);
  texCoord = corner * 0.5 + 0.5;
}
)";

const char* const kPresentFragmentShader = R"(
in vec2 texCoord;
uniform sampler2D picture;
out vec4 fragment;
void main() {
  fragment = texture(picture, texCoord);
}
)";

// The whole log OpenGL kept of a shader's compilation or a program's link.
template <class GetParameter, class GetLog>
std::string InfoLog(GLuint object, GetParameter getParameter, GetLog getLog) {
  GLint length = 0;
  getParameter(object, GL_INFO_LOG_LENGTH, &length);
  std::string log(std::size_t(std::max(length, 1)), '\0');
  getLog(object, GLsizei(log.size()), nullptr, log.data());
  log.resize(std::strlen(log.c_str()));
  return log;
}

GLuint Compile(GLenum type, const char* header, const char* source) {
  GLuint shader = glCreateShader(type);
  const char* parts[] = {header, source};
  glShaderSource(shader, 2, parts, nullptr);
  glCompileShader(shader);
  GLint ok = GL_FALSE;
  glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
  if (ok) return shader;
  std::fprintf(stderr, "%s shader compilation failed:\n%s\n",
               type == GL_VERTEX_SHADER ? "vertex" : "fragment",
               InfoLog(shader, glGetShaderiv, glGetShaderInfoLog).c_str());
  glDeleteShader(shader);
  return 0;
}

GLuint Link(const char* header, const char* vertexSource, const char* fragmentSource) {
  GLuint vertex = Compile(GL_VERTEX_SHADER, header, vertexSource);
  GLuint fragment = Compile(GL_FRAGMENT_SHADER, header, fragmentSource);
  GLuint program = 0;
  if (vertex && fragment) {
    program = glCreateProgram();
    glAttachShader(program, vertex);
    glAttachShader(program, fragment);
    glLinkProgram(program);
    GLint ok = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &ok);
    if (!ok) {
      std::fprintf(stderr, "shader program link failed:\n%s\n",
                   InfoLog(program, glGetProgramiv, glGetProgramInfoLog).c_str());
      glDeleteProgram(program);
      program = 0;
    }
  }
  glDeleteShader(vertex);
  glDeleteShader(fragment);
  return program;
}

void Define(std::string& header, const char* name, unsigned value) {
  header += std::string("#define ") + name + " " + std::to_string(value) + "\n";
}

// The shader's version, its variant, and the attribute locations and alpha-test codes the
// C++ side uses, so the two cannot drift apart.
std::string FixedFunctionHeader(unsigned variant) {
  std::string header = kKvShaderHeader;
  Define(header, "TEXTURED", (variant & kKvTextured) ? 1 : 0);
  Define(header, "ALPHA_TESTED", (variant & kKvAlphaTested) ? 1 : 0);
  Define(header, "VERTEX_COLOR", (variant & kKvVertexColor) ? 1 : 0);
  Define(header, "POSITION_LOCATION", kKvPositionLocation);
  Define(header, "COLOR_LOCATION", kKvColorLocation);
  Define(header, "TEXCOORD_LOCATION", kKvTexCoordLocation);
  Define(header, "TRANSFORM_LOCATION", kKvTransformLocation);
  Define(header, "CMP_NEVER", D3DCMP_NEVER);
  Define(header, "CMP_LESS", D3DCMP_LESS);
  Define(header, "CMP_EQUAL", D3DCMP_EQUAL);
  Define(header, "CMP_LESSEQUAL", D3DCMP_LESSEQUAL);
  Define(header, "CMP_GREATER", D3DCMP_GREATER);
  Define(header, "CMP_NOTEQUAL", D3DCMP_NOTEQUAL);
  Define(header, "CMP_GREATEREQUAL", D3DCMP_GREATEREQUAL);
  return header;
}

}  // namespace

bool KvCreateFixedFunctionProgram(unsigned variant, KvShaderProgram& program, KvGlCache& cache) {
  const std::string header = FixedFunctionHeader(variant);
  program.name = Link(header.c_str(), kVertexShader, kFragmentShader);
  if (!program.name) return false;
  cache.UseProgram(program.name);
  glUniform1i(glGetUniformLocation(program.name, "image"), 0);
  program.alphaFunction = glGetUniformLocation(program.name, "alphaFunction");
  program.alphaReference = glGetUniformLocation(program.name, "alphaReference");
  program.halfPixel = glGetUniformLocation(program.name, "halfPixel");
  return true;
}

GLuint KvCreatePresentProgram(KvGlCache& cache) {
  const GLuint program = Link(kKvShaderHeader, kPresentVertexShader, kPresentFragmentShader);
  if (program) {
    cache.UseProgram(program);
    glUniform1i(glGetUniformLocation(program, "picture"), 0);
  }
  return program;
}

void KvSetHalfPixel(KvGlCache& cache, KvShaderProgram& program, float x, float y) {
  cache.Uniform(program.halfPixel, program.halfPixelValue, {x, y});
}

void KvSetAlphaTest(KvGlCache& cache, KvShaderProgram& program, GLint function, float reference) {
  cache.Uniform(program.alphaFunction, program.alphaFunctionValue, function);
  cache.Uniform(program.alphaReference, program.alphaReferenceValue, reference);
}
