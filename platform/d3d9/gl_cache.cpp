#include "platform/d3d9/gl_cache.h"

#include <cstring>

#include "platform/d3d9/device_state.h"
#include "platform/d3d9/gl_flavour.h"

namespace {

// Stores `value` and says whether it differs from what was known.
template <class T>
bool Differs(std::optional<T>& known, const T& value) {
  if (known == value) return false;
  known = value;
  return true;
}

const void* At(std::ptrdiff_t offset) {
  return reinterpret_cast<const void*>(offset);
}

}  // namespace

void KvGlCache::BindFramebuffer(GLuint framebuffer) {
  if (!Differs(framebuffer_, framebuffer)) return;
  glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
  changed_ |= kKvDirtyFramebuffer;
}

void KvGlCache::BindRenderbuffer(GLuint renderbuffer) {
  if (Differs(renderbuffer_, renderbuffer)) glBindRenderbuffer(GL_RENDERBUFFER, renderbuffer);
}

void KvGlCache::UseProgram(GLuint program) {
  if (!Differs(program_, program)) return;
  glUseProgram(program);
  changed_ |= kKvDirtyProgram;
}

// The element buffer belongs to the vertex array, so it is unknown after a switch.
void KvGlCache::BindVertexArray(GLuint vertexArray) {
  if (!Differs(vertexArray_, vertexArray)) return;
  glBindVertexArray(vertexArray);
  elementBuffer_.reset();
  changed_ |= kKvDirtyStream;
}

void KvGlCache::BindArrayBuffer(GLuint buffer) {
  if (Differs(arrayBuffer_, buffer)) glBindBuffer(GL_ARRAY_BUFFER, buffer);
}

void KvGlCache::BindElementBuffer(GLuint buffer) {
  if (Differs(elementBuffer_, buffer)) glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, buffer);
}

void KvGlCache::BindTexture(GLuint texture) {
  if (!Differs(texture_, texture)) return;
  glBindTexture(GL_TEXTURE_2D, texture);
  changed_ |= kKvDirtyTexture;
}

void KvGlCache::BindSampler(GLuint sampler) {
  if (!Differs(sampler_, sampler)) return;
  glBindSampler(0, sampler);
  changed_ |= kKvDirtyTexture;
}

void KvGlCache::SamplerParameter(GLuint sampler, GLenum parameter, GLint value) {
  constexpr GLenum kKept[] = {GL_TEXTURE_WRAP_S, GL_TEXTURE_WRAP_T, GL_TEXTURE_MAG_FILTER,
                              GL_TEXTURE_MIN_FILTER};
  if (samplerParameters_.sampler != sampler) samplerParameters_ = {sampler, {}};
  for (std::size_t i = 0; i < std::size(kKept); ++i) {
    if (kKept[i] == parameter && !Differs(samplerParameters_.values[i], value)) return;
  }
  glSamplerParameteri(sampler, parameter, value);
  changed_ |= kKvDirtyTexture;
}

void KvGlCache::Viewport(GLint x, GLint y, GLsizei width, GLsizei height) {
  if (!Differs(viewport_, {x, y, width, height})) return;
  glViewport(x, y, width, height);
  changed_ |= kKvDirtyViewport;
}

void KvGlCache::DepthRange(float nearZ, float farZ) {
  if (!Differs(depthRange_, {nearZ, farZ})) return;
  KvGlDepthRange(nearZ, farZ);
  changed_ |= kKvDirtyViewport;
}

void KvGlCache::Scissor(GLint x, GLint y, GLsizei width, GLsizei height) {
  if (Differs(scissor_, {x, y, width, height})) glScissor(x, y, width, height);
}

bool KvGlCache::Enable(GLenum capability, bool on) {
  std::optional<bool>* known = nullptr;
  unsigned group = 0;
  switch (capability) {
    case GL_BLEND:
      known = &blend_, group = kKvDirtyBlend;
      break;
    case GL_DEPTH_TEST:
      known = &depthTest_, group = kKvDirtyDepth;
      break;
    case GL_CULL_FACE:
      known = &cullFace_, group = kKvDirtyCull;
      break;
    case GL_SCISSOR_TEST:  // only clears use it, and they set it each time
      known = &scissorTest_;
      break;
    default:
      return false;
  }
  if (!Differs(*known, on)) return true;
  on ? glEnable(capability) : glDisable(capability);
  changed_ |= group;
  return true;
}

void KvGlCache::BlendFunc(GLenum source, GLenum destination) {
  if (!Differs(blendFunc_, {source, destination})) return;
  glBlendFunc(source, destination);
  changed_ |= kKvDirtyBlend;
}

void KvGlCache::BlendEquation(GLenum equation) {
  if (!Differs(blendEquation_, equation)) return;
  glBlendEquation(equation);
  changed_ |= kKvDirtyBlend;
}

void KvGlCache::BlendColor(const std::array<float, 4>& color) {
  if (!Differs(blendColor_, color)) return;
  glBlendColor(color[0], color[1], color[2], color[3]);
  changed_ |= kKvDirtyBlend;
}

void KvGlCache::ColorMask(const std::array<bool, 4>& writes) {
  if (!Differs(colorMask_, writes)) return;
  glColorMask(writes[0], writes[1], writes[2], writes[3]);
  changed_ |= kKvDirtyBlend;
}

void KvGlCache::DepthFunc(GLenum function) {
  if (!Differs(depthFunc_, function)) return;
  glDepthFunc(function);
  changed_ |= kKvDirtyDepth;
}

void KvGlCache::DepthMask(bool writes) {
  if (!Differs(depthMask_, writes)) return;
  glDepthMask(writes ? GL_TRUE : GL_FALSE);
  changed_ |= kKvDirtyDepth;
}

// Culling always removes back faces; the winding says which faces are the back.
void KvGlCache::FrontFace(GLenum winding) {
  if (!Differs(frontFace_, winding)) return;
  glFrontFace(winding);
  changed_ |= kKvDirtyCull;
}

void KvGlCache::ClearColor(const std::array<float, 4>& color) {
  if (Differs(clearColor_, color)) glClearColor(color[0], color[1], color[2], color[3]);
}

void KvGlCache::ClearDepth(float depth) {
  if (Differs(clearDepth_, depth)) KvGlClearDepth(depth);
}

void KvGlCache::PointVertexAttributes(GLuint buffer, const KvVertexLayout& layout) {
  const GLuint vertexArray = vertexArray_.value_or(0);
  if (attributes_ && attributes_->vertexArray == vertexArray && attributes_->buffer == buffer &&
      attributes_->layout == layout) {
    return;
  }
  const GLuint transformBuffer = attributes_ ? attributes_->transformBuffer : 0;
  attributes_ = Attributes{vertexArray, buffer, layout, transformBuffer};
  BindArrayBuffer(buffer);
  glEnableVertexAttribArray(kKvPositionLocation);
  glVertexAttribPointer(kKvPositionLocation, layout.positionSize, GL_FLOAT, GL_FALSE, layout.stride,
                        At(layout.position));
  if (layout.color >= 0) {
    glEnableVertexAttribArray(kKvColorLocation);
    glVertexAttribPointer(kKvColorLocation, kKvColorAttributeSize, GL_UNSIGNED_BYTE, GL_TRUE,
                          layout.stride, At(layout.color));
  } else {
    glDisableVertexAttribArray(kKvColorLocation);
    glVertexAttrib4f(kKvColorLocation, 1.0f, 1.0f, 1.0f, 1.0f);
  }
  if (layout.texCoord >= 0) {
    glEnableVertexAttribArray(kKvTexCoordLocation);
    glVertexAttribPointer(kKvTexCoordLocation, 2, GL_FLOAT, GL_FALSE, layout.stride,
                          At(layout.texCoord));
  } else {
    glDisableVertexAttribArray(kKvTexCoordLocation);
    glVertexAttrib2f(kKvTexCoordLocation, 0.0f, 0.0f);
  }
  changed_ |= kKvDirtyStream;
}

void KvGlCache::PointTransformAttribute(GLuint buffer) {
  const GLuint vertexArray = vertexArray_.value_or(0);
  if (attributes_ && attributes_->vertexArray == vertexArray &&
      attributes_->transformBuffer == buffer) {
    return;
  }
  if (attributes_ && attributes_->vertexArray == vertexArray) {
    attributes_->transformBuffer = buffer;
  } else {
    attributes_.reset();  // the other attributes of this vertex array are not known
  }
  if (buffer) BindArrayBuffer(buffer);
  transform_.reset();  // a constant is undefined once its array has been drawn from
  for (GLuint row = 0; row < 4; ++row) {
    const GLuint location = kKvTransformLocation + row;
    if (buffer == 0) {
      glDisableVertexAttribArray(location);
      continue;
    }
    glEnableVertexAttribArray(location);
    glVertexAttribPointer(location, 4, GL_FLOAT, GL_FALSE, sizeof(D3DXMATRIX),
                          At(std::ptrdiff_t(row * 4 * sizeof(float))));
    glVertexAttribDivisor(location, 1);
  }
  changed_ |= kKvDirtyStream;
}

// Row vectors times a row-major matrix equal OpenGL's column-major matrix times a column
// vector, so row i of a Direct3D matrix is column i of the shader's.
void KvGlCache::TransformAttribute(const D3DXMATRIX& worldViewProjection) {
  if (transform_ && std::memcmp(&*transform_, &worldViewProjection, sizeof(D3DXMATRIX)) == 0) {
    return;
  }
  transform_ = worldViewProjection;
  for (GLuint row = 0; row < 4; ++row) {
    glVertexAttrib4fv(kKvTransformLocation + row, worldViewProjection.m[row]);
  }
}

void KvGlCache::Uniform(GLint location, std::optional<GLint>& known, GLint value) {
  if (!Differs(known, value)) return;
  glUniform1i(location, value);
  changed_ |= kKvDirtyProgram;
}

void KvGlCache::Uniform(GLint location, std::optional<float>& known, float value) {
  if (!Differs(known, value)) return;
  glUniform1f(location, value);
  changed_ |= kKvDirtyProgram;
}

void KvGlCache::Uniform(GLint location, std::optional<std::array<float, 2>>& known,
                        const std::array<float, 2>& value) {
  if (!Differs(known, value)) return;
  glUniform2f(location, value[0], value[1]);
  changed_ |= kKvDirtyProgram;
}

void KvGlCache::DeleteBuffer(GLuint& buffer) {
  if (buffer == 0) return;
  if (arrayBuffer_ == buffer) arrayBuffer_ = 0u;
  if (elementBuffer_ == buffer) elementBuffer_ = 0u;
  if (attributes_ && (attributes_->buffer == buffer || attributes_->transformBuffer == buffer)) {
    attributes_.reset();
  }
  glDeleteBuffers(1, &buffer);
  buffer = 0;
}

void KvGlCache::DeleteTexture(GLuint& texture) {
  if (texture == 0) return;
  if (texture_ == texture) texture_ = 0u;
  glDeleteTextures(1, &texture);
  texture = 0;
}

void KvGlCache::DeleteVertexArray(GLuint& vertexArray) {
  if (vertexArray == 0) return;
  if (vertexArray_ == vertexArray) {
    vertexArray_ = 0u;
    elementBuffer_.reset();
  }
  if (attributes_ && attributes_->vertexArray == vertexArray) attributes_.reset();
  glDeleteVertexArrays(1, &vertexArray);
  vertexArray = 0;
}

void KvGlCache::DeleteProgram(GLuint& program) {
  if (program == 0) return;
  if (program_ == program) program_.reset();  // a current program lives on until replaced
  glDeleteProgram(program);
  program = 0;
}
