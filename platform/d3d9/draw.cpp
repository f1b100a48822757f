// Drawing: the device's states applied to OpenGL, and the draw calls.
#include <algorithm>

#include "platform/d3d9/device.h"

namespace {

GLenum DepthFunction(DWORD function) {
  static const GLenum kFunctions[] = {GL_ALWAYS,  GL_NEVER,    GL_LESS,   GL_EQUAL, GL_LEQUAL,
                                      GL_GREATER, GL_NOTEQUAL, GL_GEQUAL, GL_ALWAYS};
  return function <= D3DCMP_ALWAYS ? kFunctions[function] : GL_ALWAYS;
}

GLenum BlendFactor(DWORD blend) {
  switch (blend) {
    case D3DBLEND_ZERO:
      return GL_ZERO;
    case D3DBLEND_ONE:
      return GL_ONE;
    case D3DBLEND_SRCCOLOR:
      return GL_SRC_COLOR;
    case D3DBLEND_INVSRCCOLOR:
      return GL_ONE_MINUS_SRC_COLOR;
    case D3DBLEND_SRCALPHA:
      return GL_SRC_ALPHA;
    case D3DBLEND_INVSRCALPHA:
      return GL_ONE_MINUS_SRC_ALPHA;
    case D3DBLEND_DESTALPHA:
      return GL_DST_ALPHA;
    case D3DBLEND_INVDESTALPHA:
      return GL_ONE_MINUS_DST_ALPHA;
    case D3DBLEND_DESTCOLOR:
      return GL_DST_COLOR;
    case D3DBLEND_INVDESTCOLOR:
      return GL_ONE_MINUS_DST_COLOR;
    case D3DBLEND_SRCALPHASAT:
      return GL_SRC_ALPHA_SATURATE;
    case D3DBLEND_BLENDFACTOR:
      return GL_CONSTANT_COLOR;
    case D3DBLEND_INVBLENDFACTOR:
      return GL_ONE_MINUS_CONSTANT_COLOR;
    default:
      return GL_ONE;
  }
}

GLenum BlendEquation(DWORD operation) {
  switch (operation) {
    case D3DBLENDOP_SUBTRACT:
      return GL_FUNC_SUBTRACT;
    case D3DBLENDOP_REVSUBTRACT:
      return GL_FUNC_REVERSE_SUBTRACT;
    case D3DBLENDOP_MIN:
      return GL_MIN;
    case D3DBLENDOP_MAX:
      return GL_MAX;
    default:
      return GL_FUNC_ADD;
  }
}

GLint Wrap(DWORD address) {
  switch (address) {
    case D3DTADDRESS_MIRROR:
      return GL_MIRRORED_REPEAT;
    case D3DTADDRESS_CLAMP:
      return GL_CLAMP_TO_EDGE;
    case D3DTADDRESS_BORDER:
      return GL_CLAMP_TO_BORDER;
    default:
      return GL_REPEAT;
  }
}

GLint MinFilter(DWORD minFilter, DWORD mipFilter) {
  const bool linear = minFilter >= D3DTEXF_LINEAR;
  if (mipFilter == D3DTEXF_NONE) return linear ? GL_LINEAR : GL_NEAREST;
  if (mipFilter == D3DTEXF_POINT)
    return linear ? GL_LINEAR_MIPMAP_NEAREST : GL_NEAREST_MIPMAP_NEAREST;
  return linear ? GL_LINEAR_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_LINEAR;
}

// Vertices a primitive count needs, and the OpenGL mode.
bool Primitive(D3DPRIMITIVETYPE type, UINT count, GLenum& mode, UINT& vertices) {
  switch (type) {
    case D3DPT_POINTLIST:
      mode = GL_POINTS;
      vertices = count;
      return true;
    case D3DPT_LINELIST:
      mode = GL_LINES;
      vertices = count * 2;
      return true;
    case D3DPT_LINESTRIP:
      mode = GL_LINE_STRIP;
      vertices = count + 1;
      return true;
    case D3DPT_TRIANGLELIST:
      mode = GL_TRIANGLES;
      vertices = count * 3;
      return true;
    case D3DPT_TRIANGLESTRIP:
      mode = GL_TRIANGLE_STRIP;
      vertices = count + 2;
      return true;
    case D3DPT_TRIANGLEFAN:
      mode = GL_TRIANGLE_FAN;
      vertices = count + 2;
      return true;
    default:
      return false;
  }
}

}  // namespace

void KvDevice::ApplyBlendAndDepth() {
  const auto& rs = renderStates_;
  if (rs[D3DRS_ZENABLE] != D3DZB_FALSE) {
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(DepthFunction(rs[D3DRS_ZFUNC]));
  } else {
    glDisable(GL_DEPTH_TEST);
  }
  glDepthMask(rs[D3DRS_ZWRITEENABLE] ? GL_TRUE : GL_FALSE);
  if (rs[D3DRS_ALPHABLENDENABLE]) {
    glEnable(GL_BLEND);
    GLenum source = BlendFactor(rs[D3DRS_SRCBLEND]);
    GLenum destination = BlendFactor(rs[D3DRS_DESTBLEND]);
    if (rs[D3DRS_SRCBLEND] == D3DBLEND_BOTHSRCALPHA) {
      source = GL_SRC_ALPHA;
      destination = GL_ONE_MINUS_SRC_ALPHA;
    } else if (rs[D3DRS_SRCBLEND] == D3DBLEND_BOTHINVSRCALPHA) {
      source = GL_ONE_MINUS_SRC_ALPHA;
      destination = GL_SRC_ALPHA;
    }
    glBlendFunc(source, destination);
    glBlendEquation(BlendEquation(rs[D3DRS_BLENDOP]));
    const DWORD f = rs[D3DRS_BLENDFACTOR];
    glBlendColor(((f >> 16) & 0xFF) / 255.0f, ((f >> 8) & 0xFF) / 255.0f, (f & 0xFF) / 255.0f,
                 (f >> 24) / 255.0f);
  } else {
    glDisable(GL_BLEND);
  }
  const DWORD writes = rs[D3DRS_COLORWRITEENABLE];
  glColorMask(writes & 1, (writes >> 1) & 1, (writes >> 2) & 1, (writes >> 3) & 1);
}

// Direct3D names the winding as seen on the screen; so does OpenGL's window space, which
// shows the same picture, so clockwise there is clockwise here.
void KvDevice::ApplyCulling() {
  const DWORD cull = renderStates_[D3DRS_CULLMODE];
  if (cull == D3DCULL_CW || cull == D3DCULL_CCW) {
    glEnable(GL_CULL_FACE);
    glFrontFace(cull == D3DCULL_CW ? GL_CCW : GL_CW);
    glCullFace(GL_BACK);
  } else {
    glDisable(GL_CULL_FACE);
  }
}

void KvDevice::ApplyTexture() {
  auto* texture = static_cast<KvTexture*>(static_cast<IDirect3DTexture9*>(texture_));
  glActiveTexture(GL_TEXTURE0);
  glBindTexture(GL_TEXTURE_2D, texture ? texture->Name() : 0);
  const auto& s = samplerStates_[0];
  glSamplerParameteri(sampler_, GL_TEXTURE_WRAP_S, Wrap(s[D3DSAMP_ADDRESSU]));
  glSamplerParameteri(sampler_, GL_TEXTURE_WRAP_T, Wrap(s[D3DSAMP_ADDRESSV]));
  glSamplerParameteri(sampler_, GL_TEXTURE_MAG_FILTER,
                      s[D3DSAMP_MAGFILTER] >= D3DTEXF_LINEAR ? GL_LINEAR : GL_NEAREST);
  glSamplerParameteri(sampler_, GL_TEXTURE_MIN_FILTER,
                      MinFilter(s[D3DSAMP_MINFILTER], s[D3DSAMP_MIPFILTER]));
  glBindSampler(0, sampler_);
}

void KvDevice::SelectProgram() {
  const bool alphaTested = renderStates_[D3DRS_ALPHATESTENABLE] != FALSE;
  const int variant = (texture_ ? 1 : 0) | (alphaTested ? 2 : 0);
  KvShaderProgram* chosen = &programs_[variant];
  if (chosen->name == 0) {
    KvCreateFixedFunctionProgram(variant & 1, variant & 2, *chosen);
    program_ = nullptr;  // making a program changes the current one
  }
  if (chosen != program_) {
    program_ = chosen;
    glUseProgram(program_->name);
  }
  if (alphaTested) {
    glUniform1i(program_->alphaFunction, GLint(renderStates_[D3DRS_ALPHAFUNC]));
    glUniform1f(program_->alphaReference, float(renderStates_[D3DRS_ALPHAREF] & 0xFF));
  }
}

void KvDevice::ApplyState() {
  MakeCurrent();
  if (stateDirty_) {
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    glViewport(GLint(viewport_.X), GLint(height_ - viewport_.Y - viewport_.Height),
               GLsizei(viewport_.Width), GLsizei(viewport_.Height));
    glDepthRange(viewport_.MinZ, viewport_.MaxZ);
    glBindVertexArray(vertexArray_);
    SelectProgram();
    ApplyBlendAndDepth();
    ApplyCulling();
    ApplyTexture();
    stateDirty_ = false;
  }
}

// Whether the current stream holds the vertices a draw reads, in a format that has positions.
UINT KvDevice::StreamStride() const {
  return streamStride_ ? streamStride_ : D3DXGetFVFVertexSize(fvf_);
}

bool KvDevice::StreamHolds(UINT firstVertex, UINT vertexCount) const {
  auto* buffer = static_cast<KvVertexBuffer*>(stream_);
  if (!buffer || (fvf_ & D3DFVF_POSITION_MASK) != D3DFVF_XYZ) return false;
  const UINT stride = StreamStride();
  const unsigned long long end =
      streamOffset_ + ((unsigned long long)firstVertex + vertexCount) * stride;
  return stride != 0 && end <= buffer->Length();
}

// Points the attributes at the current stream, laid out as the vertex format says; the
// pointers are set again only when the stream or the format changed.
void KvDevice::BindVertexStream() {
  if (!streamDirty_) return;
  PointAttributes(static_cast<KvVertexBuffer*>(stream_)->Name(), streamOffset_, StreamStride());
  streamDirty_ = false;
}

// Position, colour and texture coordinates from `buffer`, laid out as the vertex format says.
void KvDevice::PointAttributes(GLuint buffer, size_t offset, UINT stride) {
  glBindBuffer(GL_ARRAY_BUFFER, buffer);
  glEnableVertexAttribArray(0);
  glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, GLsizei(stride), (const void*)offset);
  offset += 12;
  if (fvf_ & D3DFVF_NORMAL) offset += 12;
  if (fvf_ & 0x020) offset += 4;  // point size
  if (fvf_ & D3DFVF_DIFFUSE) {
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(1, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, GLsizei(stride),
                          (const void*)offset);
    offset += 4;
  } else {
    glDisableVertexAttribArray(1);
    glVertexAttrib4f(1, 1.0f, 1.0f, 1.0f, 1.0f);
  }
  if (fvf_ & D3DFVF_SPECULAR) offset += 4;
  if ((fvf_ & D3DFVF_TEXCOUNT_MASK) != 0) {
    glEnableVertexAttribArray(2);
    glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, GLsizei(stride), (const void*)offset);
  } else {
    glDisableVertexAttribArray(2);
    glVertexAttrib2f(2, 0.0f, 0.0f);
  }
}

HRESULT KvDevice::DrawPrimitive(D3DPRIMITIVETYPE type, UINT startVertex, UINT primitiveCount) {
  GLenum mode = 0;
  UINT vertices = 0;
  if (!Primitive(type, primitiveCount, mode, vertices)) return D3DERR_INVALIDCALL;
  if (primitiveCount == 0) return D3D_OK;
  if (!StreamHolds(startVertex, vertices)) return D3DERR_INVALIDCALL;
  const bool joins = !pending_.transforms.empty() && pending_.mode == mode &&
                     pending_.first == GLint(startVertex) && pending_.count == GLsizei(vertices);
  if (!joins) {
    FlushDraws();
    pending_.mode = mode;
    pending_.first = GLint(startVertex);
    pending_.count = GLsizei(vertices);
  }
  pending_.transforms.push_back(WorldViewProjection());
  if (!batching_) FlushDraws();
  return D3D_OK;
}

HRESULT KvDevice::DrawIndexedPrimitive(D3DPRIMITIVETYPE type, INT baseVertexIndex,
                                       UINT minVertexIndex, UINT numVertices, UINT startIndex,
                                       UINT primitiveCount) {
  GLenum mode = 0;
  UINT count = 0;
  auto* indices = static_cast<KvIndexBuffer*>(indices_);
  if (!Primitive(type, primitiveCount, mode, count) || !indices || baseVertexIndex < 0) {
    return D3DERR_INVALIDCALL;
  }
  if (primitiveCount == 0) return D3D_OK;
  const UINT indexSize = indices->Format() == D3DFMT_INDEX16 ? 2 : 4;
  if ((unsigned long long)(startIndex + count) * indexSize > indices->Length()) {
    return D3DERR_INVALIDCALL;
  }
  if (!StreamHolds(UINT(baseVertexIndex) + minVertexIndex, numVertices)) {
    return D3DERR_INVALIDCALL;
  }
  FlushDraws();
  ApplyState();
  BindVertexStream();
  SetTransformAttribute(WorldViewProjection());
  glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indices->Name());
  glDrawElementsBaseVertex(mode, GLsizei(count),
                           indexSize == 2 ? GL_UNSIGNED_SHORT : GL_UNSIGNED_INT,
                           (const void*)(size_t(startIndex) * indexSize), baseVertexIndex);
  return D3D_OK;
}
