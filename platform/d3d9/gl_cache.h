// What OpenGL currently has, for the one context a device owns: every bind, enable and fixed
// state the platform sets goes through here, and a call that would set what is already so is
// skipped. Whatever changes OpenGL state through the cache also records which of the device's
// groups (KvDirtyGroup) it touched, so the device applies those again before its next draw;
// nobody marks the device's state dirty by hand.
#pragma once

#include <array>
#include <optional>

#include "platform/d3d9/opengl.h"
#include "platform/d3d9/shader_inputs.h"

class KvGlCache {
 public:
  // The groups whose OpenGL state changed since the last call; none afterwards.
  unsigned TakeChanged() {
    const unsigned taken = changed_;
    changed_ = 0;
    return taken;
  }

  void BindFramebuffer(GLuint framebuffer);
  void BindRenderbuffer(GLuint renderbuffer);
  void UseProgram(GLuint program);
  void BindVertexArray(GLuint vertexArray);
  void BindArrayBuffer(GLuint buffer);
  // Part of the bound vertex array's state.
  void BindElementBuffer(GLuint buffer);
  // Texture unit 0, the only one drawn with.
  void BindTexture(GLuint texture);
  void BindSampler(GLuint sampler);
  void SamplerParameter(GLuint sampler, GLenum parameter, GLint value);

  void Viewport(GLint x, GLint y, GLsizei width, GLsizei height);
  void DepthRange(float nearZ, float farZ);
  void Scissor(GLint x, GLint y, GLsizei width, GLsizei height);
  // GL_BLEND, GL_DEPTH_TEST, GL_CULL_FACE or GL_SCISSOR_TEST; any other capability is refused
  // (false, and OpenGL is not called), as the cache could not say what it changed.
  bool Enable(GLenum capability, bool on);
  void BlendFunc(GLenum source, GLenum destination);
  void BlendEquation(GLenum equation);
  void BlendColor(const std::array<float, 4>& color);
  void ColorMask(const std::array<bool, 4>& writes);
  void DepthFunc(GLenum function);
  void DepthMask(bool writes);
  void FrontFace(GLenum winding);
  void ClearColor(const std::array<float, 4>& color);
  void ClearDepth(float depth);

  // The bound vertex array's attributes read `buffer` as `layout` says.
  void PointVertexAttributes(GLuint buffer, const KvVertexLayout& layout);
  // The transform attribute: one matrix per instance from `buffer`, or (0) the constant a
  // single draw sets.
  void PointTransformAttribute(GLuint buffer);
  // The transform of single draws, as a constant attribute.
  void TransformAttribute(const D3DXMATRIX& worldViewProjection);

  // A uniform of the program in use. `known` is the value that program was last given (each
  // program keeps its own), so a value it has already is not set again.
  void Uniform(GLint location, std::optional<GLint>& known, GLint value);
  void Uniform(GLint location, std::optional<float>& known, float value);
  void Uniform(GLint location, std::optional<std::array<float, 2>>& known,
               const std::array<float, 2>& value);

  // Deleting through the cache forgets the bindings of the deleted object, whose name OpenGL
  // may give to the next object made.
  void DeleteBuffer(GLuint& buffer);
  void DeleteTexture(GLuint& texture);
  void DeleteVertexArray(GLuint& vertexArray);
  void DeleteProgram(GLuint& program);

 private:
  // What the bound vertex array's attributes read.
  struct Attributes {
    GLuint vertexArray = 0;
    GLuint buffer = 0;
    KvVertexLayout layout;
    GLuint transformBuffer = 0;
  };
  struct SamplerParameters {
    GLuint sampler = 0;
    std::array<std::optional<GLint>, 4> values;  // wrap s, wrap t, mag and min filter
  };

  unsigned changed_ = 0;
  std::optional<GLuint> framebuffer_, renderbuffer_, program_, vertexArray_, arrayBuffer_,
      elementBuffer_, texture_, sampler_;
  SamplerParameters samplerParameters_;
  std::optional<std::array<GLint, 4>> viewport_, scissor_;
  std::optional<std::array<float, 2>> depthRange_;
  std::optional<bool> blend_, depthTest_, cullFace_, scissorTest_, depthMask_;
  std::optional<std::array<GLenum, 2>> blendFunc_;
  std::optional<GLenum> blendEquation_, depthFunc_, frontFace_;
  std::optional<std::array<float, 4>> blendColor_, clearColor_;
  std::optional<std::array<bool, 4>> colorMask_;
  std::optional<float> clearDepth_;
  std::optional<Attributes> attributes_;
  std::optional<D3DXMATRIX> transform_;
};
