#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

#include "particles/billboard_vertex.h"
#include "particles/eruption_emitter.h"
#include "particles/fire_emitter.h"
#include "particles/fountain_emitter.h"
#include "particles/random_source.h"
#include "particles/waterfall_emitter.h"
#include "tests/support/recording_device.h"

namespace {

constexpr const char* kNoTexture = "Data\\Texture\\absent-in-unit-tests.png";
using Call = KvDeviceCall;

template <typename Kind>
std::unique_ptr<Kind> MakeEmitter(KvRecordingDevice& device, UINT count,
                                  const char* texture = kNoTexture) {
  KvResetRandomSourceForTesting();
  auto emitter = std::make_unique<Kind>(&device, texture, 0xFFFF0000, count);
  emitter->SetPosition(1, 2, 3);
  emitter->SetCameraPosition(0, 4, -20);
  return emitter;
}

// The calls one Render makes for `count` particles, in order.
std::vector<KvDeviceCallRecord> ExpectedRender(UINT count, const void* texture,
                                               const void* buffer) {
  std::vector<KvDeviceCallRecord> calls = {
      {.call = Call::kSetRenderState, .state = D3DRS_ALPHATESTENABLE, .value = TRUE},
      {.call = Call::kSetRenderState, .state = D3DRS_ALPHAREF, .value = 8},
      {.call = Call::kSetRenderState, .state = D3DRS_ALPHAFUNC, .value = D3DCMP_GREATEREQUAL},
      {.call = Call::kSetRenderState, .state = D3DRS_ALPHABLENDENABLE, .value = TRUE},
      {.call = Call::kSetRenderState, .state = D3DRS_SRCBLEND, .value = D3DBLEND_SRCALPHA},
      {.call = Call::kSetRenderState, .state = D3DRS_DESTBLEND, .value = D3DBLEND_ONE},
      {.call = Call::kSetTexture, .slot = 0, .resource = texture},
      {.call = Call::kSetStreamSource, .slot = 0, .value = 0, .start = 20, .resource = buffer},
      {.call = Call::kSetFVF, .value = 0x102},
  };
  for (UINT i = 0; i < count; ++i) {
    calls.push_back({.call = Call::kSetTransform, .state = D3DTS_WORLD});
    calls.push_back({.call = Call::kDrawPrimitive,
                     .state = D3DPT_TRIANGLESTRIP,
                     .start = 0,
                     .primitiveCount = 2,
                     .resource = buffer});
  }
  calls.push_back({.call = Call::kSetRenderState, .state = D3DRS_ALPHABLENDENABLE, .value = 0});
  calls.push_back({.call = Call::kSetRenderState, .state = D3DRS_ALPHATESTENABLE, .value = 0});
  return calls;
}

void ExpectCalls(const KvRecordingDevice& device, const std::vector<KvDeviceCallRecord>& want) {
  const auto& got = device.Calls();
  ASSERT_EQ(got.size(), want.size());
  for (std::size_t i = 0; i < got.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(got[i].call, want[i].call);
    EXPECT_EQ(got[i].slot, want[i].slot);
    EXPECT_EQ(got[i].state, want[i].state);
    EXPECT_EQ(got[i].value, want[i].value);
    EXPECT_EQ(got[i].start, want[i].start);
    EXPECT_EQ(got[i].primitiveCount, want[i].primitiveCount);
    EXPECT_EQ(got[i].resource, want[i].resource);
  }
}

float RowLength(const D3DMATRIX& m, int row) {
  return std::hypot(m.m[row][0], m.m[row][1], m.m[row][2]);
}

// A 2 x 1 24-bit BMP: one opaque red texel, one opaque green texel.
std::filesystem::path WriteRedGreenBitmap() {
  const unsigned char file[] = {
      'B', 'M', 62,  0, 0,   0, 0, 0, 0, 0, 54, 0, 0, 0,                     // file header
      40,  0,   0,   0, 2,   0, 0, 0, 1, 0, 0,  0, 1, 0, 24, 0, 0, 0, 0, 0,  // info header
      8,   0,   0,   0, 0,   0, 0, 0, 0, 0, 0,  0, 0, 0, 0,  0, 0, 0, 0, 0,  //
      0,   0,   255, 0, 255, 0, 0, 0};                                       // BGR texels, padding
  const auto path = std::filesystem::temp_directory_path() /
                    ("kv_particles_" + std::to_string(getpid()) + ".bmp");
  if (std::FILE* out = std::fopen(path.c_str(), "wb")) {
    std::fwrite(file, 1, sizeof(file), out);
    std::fclose(out);
  }
  return path;
}

}  // namespace

TEST(EmitterRender, SetsStatesThenUpdatesAndDrawsEachParticleThenClearsBlending) {
  KvRecordingDevice device;
  for (UINT count : {0u, 7u}) {
    SCOPED_TRACE(count);
    auto emitter = MakeEmitter<KV_FIRE_EMITTER>(device, count);
    device.ClearCalls();
    emitter->Render();
    ExpectCalls(device, ExpectedRender(count, emitter->texture, emitter->vertexBuffer));
    EXPECT_EQ(device.RenderState(D3DRS_ALPHABLENDENABLE), 0u);
    EXPECT_EQ(device.RenderState(D3DRS_ALPHATESTENABLE), 0u);
    EXPECT_EQ(device.RenderState(D3DRS_SRCBLEND), DWORD{D3DBLEND_SRCALPHA});
    EXPECT_EQ(device.RenderState(D3DRS_DESTBLEND), DWORD{D3DBLEND_ONE});
  }
}

TEST(EmitterRender, FirstFrameSpawnsEveryParticleBeforeDrawingIt) {
  KvRecordingDevice device;
  auto fire = MakeEmitter<KV_FIRE_EMITTER>(device, 20);
  auto fountain = MakeEmitter<KV_FOUNTAIN_EMITTER>(device, 20);
  auto waterfall = MakeEmitter<KV_WATERFALL_EMITTER>(device, 20);
  auto eruption = MakeEmitter<KV_ERUPTION_EMITTER>(device, 20);
  device.ClearCalls();
  fire->Render();
  fountain->Render();
  waterfall->Render();
  eruption->Render();
  const auto draws = device.CallsOf(Call::kDrawPrimitive);
  ASSERT_EQ(draws.size(), 80u);
  for (const auto& draw : draws) {
    EXPECT_GT(RowLength(draw.matrix, 0), 0.1f);
    EXPECT_GT(RowLength(draw.matrix, 1), 0.1f);
  }
}

// The roll is one value for the emitter: each draw must use the roll its own update left.
TEST(EmitterRender, DrawsEachParticleWithItsOwnRoll) {
  KvRecordingDevice device;
  auto emitter = MakeEmitter<KV_FOUNTAIN_EMITTER>(device, 10);
  emitter->Render();
  device.ClearCalls();
  emitter->Render();
  const auto draws = device.CallsOf(Call::kDrawPrimitive);
  ASSERT_EQ(draws.size(), 10u);
  for (int i = 0; i < 10; ++i) {
    emitter->rollAngle = emitter->particles[i].rotation.z;
    const D3DXMATRIX own = emitter->BuildBillboardMatrix(i);
    EXPECT_EQ(std::memcmp(&own, &draws[i].matrix, sizeof(own)), 0) << i;
  }
}

TEST(EmitterRender, SetPositionMovesOnlyLaterSpawns) {
  KvRecordingDevice device;
  auto emitter = MakeEmitter<KV_WATERFALL_EMITTER>(device, 1);
  emitter->Render();
  emitter->SetPosition(100, 2, 3);
  emitter->Render();
  EXPECT_LT(emitter->particles[0].position.x, 2.0f);
  while (emitter->particles[0].life > 1) emitter->Render();
  emitter->Render();
  EXPECT_GT(emitter->particles[0].position.x, 99.0f);
}

TEST(EmitterResources, QuadTextureAndReleaseOnDestruction) {
  KvRecordingDevice device;
  const auto bitmap = WriteRedGreenBitmap();
  {
    auto emitter = MakeEmitter<KV_ERUPTION_EMITTER>(device, 3, bitmap.c_str());
    const auto created = device.CallsOf(Call::kCreateVertexBuffer);
    ASSERT_EQ(created.size(), 1u);
    EXPECT_EQ(created[0].value, 80u);
    EXPECT_EQ(created[0].state, 0x102u);
    const auto& bytes = static_cast<KvMemoryVertexBuffer*>(emitter->vertexBuffer)->Memory();
    EXPECT_EQ(std::memcmp(bytes.Bytes().data(), kBillboardQuad, 80), 0);
    EXPECT_FALSE(bytes.Locked());

    ASSERT_NE(emitter->texture, nullptr);  // the red texel is keyed out, the green kept
    const auto& texels = static_cast<KvMemoryTexture*>(emitter->texture)->Texels(0);
    EXPECT_EQ(texels[0], 0u);
    EXPECT_EQ(texels[1], 0xFF00FF00u);
    emitter->Render();
    EXPECT_EQ(device.Texture(0), emitter->texture);
    EXPECT_EQ(device.LiveResources(), 2);
  }
  std::filesystem::remove(bitmap);
  EXPECT_EQ(device.LiveResources(), 0);
  EXPECT_EQ(device.RefCount(), 1u);  // the emitter never releases the device
}

TEST(EmitterResources, FailedBufferOrLockOrTextureStillRenders) {
  KvRecordingDevice device;
  device.SetBufferLockResult(D3DERR_INVALIDCALL);
  auto unfilled = MakeEmitter<KV_FIRE_EMITTER>(device, 2);
  EXPECT_NE(unfilled->vertexBuffer, nullptr);
  EXPECT_EQ(unfilled->texture, nullptr);
  device.SetCreateVertexBufferResult(D3DERR_OUTOFVIDEOMEMORY);
  auto bufferless = MakeEmitter<KV_FIRE_EMITTER>(device, 2);
  EXPECT_EQ(bufferless->vertexBuffer, nullptr);
  device.ClearCalls();
  unfilled->Render();
  bufferless->Render();
  EXPECT_EQ(device.CountOf(Call::kDrawPrimitive), 4u);
}
