// Drawing: the dirty groups of the device's state applied to OpenGL through the state cache,
// and the draw calls. DrawPrimitive hands its transform to the batch, which gathers draws that
// differ only in it.
#include "platform/d3d9/device.h"
#include "platform/d3d9/gl_check.h"
#include "platform/d3d9/gl_values.h"
#include "platform/d3d9/resources.h"
#include "platform/d3d9/shader_inputs.h"

void KvDevice::ApplyViewport() {
  const D3DVIEWPORT9& v = state_.viewport;
  cache_.Viewport(GLint(v.X), GLint(height_ - v.Y - v.Height), GLsizei(v.Width), GLsizei(v.Height));
  cache_.DepthRange(v.MinZ, v.MaxZ);
}

void KvDevice::ApplyBlend() {
  const auto& rs = state_.renderStates;
  const bool blending = rs[D3DRS_ALPHABLENDENABLE] != FALSE;
  cache_.Enable(GL_BLEND, blending);
  if (blending) {
    GLenum source = KvBlendFactor(rs[D3DRS_SRCBLEND]);
    GLenum destination = KvBlendFactor(rs[D3DRS_DESTBLEND]);
    if (rs[D3DRS_SRCBLEND] == D3DBLEND_BOTHSRCALPHA) {
      source = GL_SRC_ALPHA;
      destination = GL_ONE_MINUS_SRC_ALPHA;
    } else if (rs[D3DRS_SRCBLEND] == D3DBLEND_BOTHINVSRCALPHA) {
      source = GL_ONE_MINUS_SRC_ALPHA;
      destination = GL_SRC_ALPHA;
    }
    cache_.BlendFunc(source, destination);
    cache_.BlendEquation(KvBlendEquation(rs[D3DRS_BLENDOP]));
    const DWORD f = rs[D3DRS_BLENDFACTOR];
    cache_.BlendColor({((f >> 16) & 0xFF) / 255.0f, ((f >> 8) & 0xFF) / 255.0f, (f & 0xFF) / 255.0f,
                       (f >> 24) / 255.0f});
  }
  const DWORD writes = rs[D3DRS_COLORWRITEENABLE];
  cache_.ColorMask({(writes & 1) != 0, (writes & 2) != 0, (writes & 4) != 0, (writes & 8) != 0});
}

void KvDevice::ApplyDepth() {
  const auto& rs = state_.renderStates;
  const bool testing = rs[D3DRS_ZENABLE] != D3DZB_FALSE;
  cache_.Enable(GL_DEPTH_TEST, testing);
  if (testing) cache_.DepthFunc(KvDepthFunction(rs[D3DRS_ZFUNC]));
  cache_.DepthMask(rs[D3DRS_ZWRITEENABLE] != FALSE);
}

// Direct3D names the winding as seen on the screen; so does OpenGL's window space, which
// shows the same picture, so clockwise there is clockwise here. Back faces are culled (OpenGL's
// default, never changed).
void KvDevice::ApplyCulling() {
  const DWORD cull = state_.renderStates[D3DRS_CULLMODE];
  const bool culling = cull == D3DCULL_CW || cull == D3DCULL_CCW;
  cache_.Enable(GL_CULL_FACE, culling);
  if (culling) cache_.FrontFace(cull == D3DCULL_CW ? GL_CCW : GL_CW);
}

void KvDevice::ApplyTexture() {
  auto* texture = static_cast<KvTexture*>(static_cast<IDirect3DTexture9*>(state_.texture));
  cache_.BindTexture(texture ? texture->Name() : 0);
  const auto& s = state_.samplerStates[0];
  cache_.SamplerParameter(sampler_, GL_TEXTURE_WRAP_S, KvWrap(s[D3DSAMP_ADDRESSU]));
  cache_.SamplerParameter(sampler_, GL_TEXTURE_WRAP_T, KvWrap(s[D3DSAMP_ADDRESSV]));
  cache_.SamplerParameter(sampler_, GL_TEXTURE_MAG_FILTER,
                          s[D3DSAMP_MAGFILTER] >= D3DTEXF_LINEAR ? GL_LINEAR : GL_NEAREST);
  cache_.SamplerParameter(sampler_, GL_TEXTURE_MIN_FILTER,
                          KvMinFilter(s[D3DSAMP_MINFILTER], s[D3DSAMP_MIPFILTER]));
  cache_.BindSampler(sampler_);
}

// The program variant for texturing, the alpha test and vertex colour; the alpha test's values
// and the half pixel of the viewport are the chosen program's own uniforms, set where they
// differ from what it has.
void KvDevice::SelectProgram() {
  const auto& rs = state_.renderStates;
  const bool alphaTested = rs[D3DRS_ALPHATESTENABLE] != FALSE;
  const unsigned variant = (state_.texture ? kKvTextured : 0) | (alphaTested ? kKvAlphaTested : 0) |
                           ((state_.fvf & D3DFVF_DIFFUSE) ? kKvVertexColor : 0);
  KvShaderProgram& chosen = programs_[variant];
  if (chosen.name == 0) KvCreateFixedFunctionProgram(variant, chosen, cache_);
  cache_.UseProgram(chosen.name);
  // Half a pixel is 1 / width of clip space (2 spans the viewport), and OpenGL's y runs up. A
  // shade under half (63/64 of it) leaves an edge that lay on a pixel centre just above or left
  // of it, so the pixel counts for a top or left edge and not for a bottom or right one, as
  // Direct3D's fill rule has it, whatever OpenGL's own rule for a centre on an edge.
  const D3DVIEWPORT9& v = state_.viewport;
  const float half = 63.0f / 64.0f;
  KvSetHalfPixel(cache_, chosen, half / float(v.Width), -half / float(v.Height));
  if (alphaTested) {
    KvSetAlphaTest(cache_, chosen, GLint(rs[D3DRS_ALPHAFUNC]), float(rs[D3DRS_ALPHAREF] & 0xFF));
  }
}

// The groups the device changed, and those whose OpenGL state anything else changed since the
// device last applied its own (the overlay, presentation, an upload), are applied; the cache
// skips what OpenGL already has.
void KvDevice::ApplyState() {
  MakeCurrent();
  const unsigned dirty = state_.Take(kKvDirtyOpenGl) | cache_.TakeChanged();
  if (dirty & kKvDirtyFramebuffer) cache_.BindFramebuffer(target_);
  if (dirty & kKvDirtyViewport) ApplyViewport();
  if (dirty &
      (kKvDirtyProgram | kKvDirtyTexture | kKvDirtyAlphaTest | kKvDirtyViewport | kKvDirtyStream)) {
    SelectProgram();
  }
  if (dirty & kKvDirtyBlend) ApplyBlend();
  if (dirty & kKvDirtyDepth) ApplyDepth();
  if (dirty & kKvDirtyCull) ApplyCulling();
  if (dirty & kKvDirtyTexture) ApplyTexture();
  if (dirty & kKvDirtyStream) cache_.BindVertexArray(vertexArray_);
  cache_.TakeChanged();  // what was just applied is the device's own
}

UINT KvDevice::StreamStride() const {
  return state_.streamStride ? state_.streamStride : D3DXGetFVFVertexSize(state_.fvf);
}

// Whether the current stream holds the vertices a draw reads, in a format that has positions.
bool KvDevice::StreamHolds(unsigned long long firstVertex, UINT vertexCount) const {
  auto* buffer = static_cast<KvVertexBuffer*>(state_.stream);
  if (!buffer || (state_.fvf & D3DFVF_POSITION_MASK) != D3DFVF_XYZ) return false;
  const UINT stride = StreamStride();
  if (stride == 0 || state_.streamOffset > buffer->Length()) return false;
  return firstVertex + vertexCount <= (buffer->Length() - state_.streamOffset) / stride;
}

// The vertex attributes are pointed at the stream by the draw that reads it: a gathered run of
// triangles reads its own transformed copy instead.
KvDrawBatch::Stream KvDevice::CurrentStream(UINT firstVertex) const {
  const auto* buffer = static_cast<KvVertexBuffer*>(state_.stream);
  const std::size_t first = state_.streamOffset + std::size_t(firstVertex) * StreamStride();
  return {buffer->Data() + state_.streamOffset, StreamStride(), state_.fvf, buffer->Name(),
          KvLayoutOf(state_.fvf, StreamStride(), first)};
}

const D3DXMATRIX& KvDevice::WorldViewProjection() {
  if (state_.Take(kKvDirtyTransforms)) {
    D3DXMATRIX worldView;
    D3DXMatrixMultiply(&worldView, &state_.world, &state_.view);
    D3DXMatrixMultiply(&worldViewProjection_, &worldView, &state_.projection);
  }
  return worldViewProjection_;
}

void KvDevice::SetDrawBatching(bool on) {
  FlushDraws();
  batching_ = on;
}

void KvDevice::FlushDraws() {
  if (batch_.Empty()) return;
  if (contextLost_) {  // nothing drawn would show: the waiting draws are dropped
    batch_.Start({});
    return;
  }
  ApplyState();
  figures_.CountDraw(batch_.Size());
  batch_.Flush(CurrentStream(0), cache_);
  KvCheckGl("a draw");
}

HRESULT KvDevice::DrawPrimitive(D3DPRIMITIVETYPE type, UINT startVertex, UINT primitiveCount) {
  GLenum mode = 0;
  UINT vertices = 0;
  if (!KvPrimitive(type, primitiveCount, mode, vertices)) return D3DERR_INVALIDCALL;
  if (primitiveCount == 0) return D3D_OK;
  if (!StreamHolds(startVertex, vertices)) return D3DERR_INVALIDCALL;
  const KvDrawBatch::Run run{mode, GLint(startVertex), GLsizei(vertices)};
  if (!batch_.Joins(run)) {
    FlushDraws();
    batch_.Start(run);
  }
  batch_.Add(WorldViewProjection());
  if (!batching_) FlushDraws();
  return D3D_OK;
}

HRESULT KvDevice::DrawIndexedPrimitive(D3DPRIMITIVETYPE type, INT baseVertexIndex,
                                       UINT minVertexIndex, UINT numVertices, UINT startIndex,
                                       UINT primitiveCount) {
  GLenum mode = 0;
  UINT count = 0;
  auto* indices = static_cast<KvIndexBuffer*>(state_.indices);
  if (!KvPrimitive(type, primitiveCount, mode, count) || !indices || baseVertexIndex < 0) {
    return D3DERR_INVALIDCALL;
  }
  if (primitiveCount == 0) return D3D_OK;
  if (contextLost_) return D3D_OK;  // validated, but nothing drawn shows
  const UINT indexSize = indices->Format() == D3DFMT_INDEX16 ? 2 : 4;
  if (((unsigned long long)startIndex + count) * indexSize > indices->Length() ||
      !StreamHolds((unsigned long long)baseVertexIndex + minVertexIndex, numVertices)) {
    return D3DERR_INVALIDCALL;
  }
  FlushDraws();
  ApplyState();
  figures_.CountDraw(0);
  cache_.TransformAttribute(WorldViewProjection());
  // The base vertex moves where the attributes start (OpenGL ES 3.0 has no base-vertex draws).
  const KvDrawBatch::Stream stream = CurrentStream(UINT(baseVertexIndex));
  cache_.PointVertexAttributes(stream.buffer, stream.layout);
  cache_.BindElementBuffer(indices->Name());
  glDrawElements(mode, GLsizei(count), indexSize == 2 ? GL_UNSIGNED_SHORT : GL_UNSIGNED_INT,
                 (const void*)(size_t(startIndex) * indexSize));
  KvCheckGl("an indexed draw");
  return D3D_OK;
}
