#include "particles/emitter_base.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "particles/billboard_vertex.h"

namespace {

// Inline so that the products with the constant front direction fold away; the same
// single-precision sum as D3DXVec3Dot.
inline float Dot(const D3DXVECTOR3& a, const D3DXVECTOR3& b) {
  return a.x * b.x + a.y * b.y + a.z * b.z;
}

// The turn about the vertical axis that points the quad's front face (-z) at the camera,
// from the horizontal direction alone. A camera straight above or below the particle gives
// no direction, and any yaw faces it equally: take 0. The cosine is clamped because a
// direction normalised in single precision can put it just past -1 or 1.
float BillboardYaw(const D3DXVECTOR3& particle, const D3DXVECTOR3& camera) {
  D3DXVECTOR3 toCamera(camera.x - particle.x, 0.0f, camera.z - particle.z);
  if (toCamera.x == 0.0f && toCamera.z == 0.0f) return 0.0f;
  D3DXVECTOR3 direction;
  D3DXVec3Normalize(&direction, &toCamera);
  const D3DXVECTOR3 front(0.0f, 0.0f, -1.0f);
  const float cosine =
      Dot(front, direction) / (std::sqrt(Dot(front, front)) * std::sqrt(Dot(direction, direction)));
  if (!std::isfinite(cosine)) return 0.0f;
  const float angle = std::acos(std::clamp(cosine, -1.0f, 1.0f));
  // A particle level with the camera in x takes the negative sign.
  return particle.x <= camera.x ? -angle : angle;
}

}  // namespace

void KV_EMITTER_BASE::Initialize(IDirect3DDevice9* device, const char* texturePath,
                                 D3DCOLOR colorKey, UINT particleCount) {
  this->device = device;
  this->particleCount = particleCount;
  rollAngle = 0.0f;
  if (FAILED(device->CreateVertexBuffer(kBillboardQuadBytes, 0, kBillboardFvf, D3DPOOL_DEFAULT,
                                        &vertexBuffer, nullptr))) {
    vertexBuffer = nullptr;  // nothing to fill; the particles are drawn from no source
  }
  FillVertexBuffer();
  if (FAILED(D3DXCreateTextureFromFileExA(device, texturePath, D3DX_DEFAULT, D3DX_DEFAULT,
                                          D3DX_DEFAULT, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED,
                                          D3DX_FILTER_TRIANGLE, D3DX_FILTER_TRIANGLE, colorKey,
                                          nullptr, nullptr, &texture))) {
    texture = nullptr;  // drawn untextured
  }
  particles = new KV_PARTICLE[particleCount]();
}

// The quad is written once; a failed lock leaves the buffer unfilled.
void KV_EMITTER_BASE::FillVertexBuffer() {
  if (vertexBuffer == nullptr) return;
  void* data = nullptr;
  if (FAILED(vertexBuffer->Lock(0, kBillboardQuadBytes, &data, 0))) return;
  std::memcpy(data, kBillboardQuad, kBillboardQuadBytes);
  vertexBuffer->Unlock();
}

void KV_EMITTER_BASE::SetPosition(float x, float y, float z) {
  position = {x, y, z};
}

void KV_EMITTER_BASE::SetCameraPosition(float x, float y, float z) {
  cameraPosition = {x, y, z};
}

void KV_EMITTER_BASE::Render() {
  // Additive blending; texels with alpha below 8 write neither colour nor depth.
  device->SetRenderState(D3DRS_ALPHATESTENABLE, TRUE);
  device->SetRenderState(D3DRS_ALPHAREF, 8);
  device->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATEREQUAL);
  device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
  device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
  device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE);

  device->SetTexture(0, texture);
  device->SetStreamSource(0, vertexBuffer, 0, kBillboardStride);
  device->SetFVF(kBillboardFvf);

  for (UINT index = 0; index < particleCount; ++index) {
    UpdateParticle(static_cast<int>(index));
    const D3DXMATRIX world = BuildBillboardMatrix(static_cast<int>(index));
    device->SetTransform(D3DTS_WORLD, &world);
    device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2);
  }

  device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
  device->SetRenderState(D3DRS_ALPHATESTENABLE, FALSE);
}

D3DXMATRIX KV_EMITTER_BASE::BuildBillboardMatrix(int index) const {
  const KV_PARTICLE& p = particles[index];
  D3DXMATRIX scaling, roll, turn, translation;
  D3DXMatrixScaling(&scaling, p.scale.x, p.scale.y, p.scale.z);
  D3DXMatrixRotationZ(&roll, rollAngle);
  D3DXMatrixRotationY(&turn, BillboardYaw(p.position, cameraPosition));
  D3DXMatrixTranslation(&translation, p.position.x, p.position.y, p.position.z);

  // M = I x S x Rz x Ry x T, row vectors.
  D3DXMATRIX m, product;
  D3DXMatrixIdentity(&m);
  D3DXMatrixMultiply(&product, &m, &scaling);
  D3DXMatrixMultiply(&m, &product, &roll);
  D3DXMatrixMultiply(&product, &m, &turn);
  D3DXMatrixMultiply(&m, &product, &translation);
  return m;
}

KV_EMITTER_BASE::~KV_EMITTER_BASE() {
  if (vertexBuffer != nullptr) {
    vertexBuffer->Release();
    vertexBuffer = nullptr;
  }
  if (texture != nullptr) {
    texture->Release();
    texture = nullptr;
  }
  delete[] particles;
  particles = nullptr;
}
