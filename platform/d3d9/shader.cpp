// The shader programs that emulate the fixed-function subset the program uses: transformed
// positions with Direct3D's [0, 1] depth, texture stage 0 modulated with the vertex colour,
// and the alpha test against alpha × 255. One program per combination of texturing and alpha
// testing, so that drawing without the alpha test has no discard and keeps early depth tests.
#include <cstdio>

#include "platform/d3d9/device.h"

namespace {

const char* const kVertexShader = R"(
layout(location = 0) in vec3 inPosition;
layout(location = 1) in vec4 inColor;
layout(location = 2) in vec2 inTexCoord;
// World × view × projection: a constant attribute for a single draw, one per instance for
// a gathered run of draws; the same arithmetic either way.
layout(location = 3) in mat4 inWorldViewProjection;
out vec4 color;
out vec2 texCoord;
void main() {
  vec4 clip = inWorldViewProjection * vec4(inPosition, 1.0);
  clip.z = 2.0 * clip.z - clip.w;  // Direct3D's depth range [0, w] onto OpenGL's [-w, w]
  gl_Position = clip;
  color = inColor;
  texCoord = inTexCoord;
}
)";

const char* const kFragmentShader = R"(
in vec4 color;
in vec2 texCoord;
uniform sampler2D image;
uniform int alphaFunction;
uniform float alphaReference;
out vec4 fragment;
bool Passes(float a, float r) {
  if (alphaFunction == 1) return false;
  if (alphaFunction == 2) return a < r;
  if (alphaFunction == 3) return a == r;
  if (alphaFunction == 4) return a <= r;
  if (alphaFunction == 5) return a > r;
  if (alphaFunction == 6) return a != r;
  if (alphaFunction == 7) return a >= r;
  return true;
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

GLuint Compile(GLenum type, const char* header, const char* source) {
  GLuint shader = glCreateShader(type);
  const char* parts[] = {header, source};
  glShaderSource(shader, 2, parts, nullptr);
  glCompileShader(shader);
  GLint ok = GL_FALSE;
  glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
  if (ok) return shader;
  char log[1024] = {};
  glGetShaderInfoLog(shader, sizeof log, nullptr, log);
  std::fprintf(stderr, "shader compilation failed: %s\n", log);
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
      glDeleteProgram(program);
      program = 0;
    }
  }
  glDeleteShader(vertex);
  glDeleteShader(fragment);
  return program;
}

}  // namespace

bool KvCreateFixedFunctionProgram(bool textured, bool alphaTested, KvShaderProgram& program) {
  char header[96];
  std::snprintf(header, sizeof header,
                "#version 330 core\n#define TEXTURED %d\n#define ALPHA_TESTED %d\n",
                textured ? 1 : 0, alphaTested ? 1 : 0);
  program.name = Link(header, kVertexShader, kFragmentShader);
  if (!program.name) return false;
  glUseProgram(program.name);
  glUniform1i(glGetUniformLocation(program.name, "image"), 0);
  program.alphaFunction = glGetUniformLocation(program.name, "alphaFunction");
  program.alphaReference = glGetUniformLocation(program.name, "alphaReference");
  return true;
}

GLuint KvCreatePresentProgram() {
  const GLuint program = Link("#version 330 core\n", kPresentVertexShader, kPresentFragmentShader);
  if (program) {
    glUseProgram(program);
    glUniform1i(glGetUniformLocation(program, "picture"), 0);
  }
  return program;
}
