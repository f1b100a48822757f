// The shader program that emulates the fixed-function subset the program uses: transformed
// positions with Direct3D's [0, 1] depth, texture stage 0 modulated with the vertex colour,
// and the alpha test against alpha × 255.
#include <cstdio>

#include "platform/d3d9_device.h"

namespace {

const char* const kVertexShader = R"(#version 330 core
layout(location = 0) in vec3 inPosition;
layout(location = 1) in vec4 inColor;
layout(location = 2) in vec2 inTexCoord;
uniform mat4 worldViewProjection;
out vec4 color;
out vec2 texCoord;
void main() {
  vec4 clip = worldViewProjection * vec4(inPosition, 1.0);
  clip.z = 2.0 * clip.z - clip.w;  // Direct3D's depth range [0, w] onto OpenGL's [-w, w]
  gl_Position = clip;
  color = inColor;
  texCoord = inTexCoord;
}
)";

const char* const kFragmentShader = R"(#version 330 core
in vec4 color;
in vec2 texCoord;
uniform sampler2D image;
uniform bool useTexture;
uniform bool alphaTest;
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
  if (useTexture) result *= texture(image, texCoord);
  if (alphaTest && !Passes(floor(result.a * 255.0 + 0.5), alphaReference)) discard;
  fragment = result;
}
)";

GLuint Compile(GLenum type, const char* source) {
  GLuint shader = glCreateShader(type);
  glShaderSource(shader, 1, &source, nullptr);
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

}  // namespace

GLuint KvCreateFixedFunctionProgram() {
  GLuint vertex = Compile(GL_VERTEX_SHADER, kVertexShader);
  GLuint fragment = Compile(GL_FRAGMENT_SHADER, kFragmentShader);
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
