#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <tuple>
#include <vector>

#include "particles/billboard_vertex.h"
#include "particles/eruption_emitter.h"
#include "particles/fire_emitter.h"
#include "particles/fountain_emitter.h"
#include "particles/random_source.h"
#include "particles/waterfall_emitter.h"
#include "tests/support/image_files.h"
#include "tests/support/recording_device.h"

namespace {

using Call = KvDeviceCall;

template <typename Kind>
std::unique_ptr<Kind> MakeEmitter(KvRecordingDevice& device, UINT count,
                                  const char* texture = "Data\\Texture\\absent-in-unit-tests.png") {
  KvResetRandomSourceForTesting();
  auto emitter = std::make_unique<Kind>(&device, texture, 0xFFFF0000, count);
  emitter->SetPosition(1, 2, 3);
  emitter->SetCameraPosition(0, 4, -20);
  return emitter;
}

// The calls one Render makes for `count` particles, in order.
std::vector<KvDeviceCallRecord> ExpectedRender(UINT count, const void* texture,
                                               const void* buffer) {
  const DWORD on[][2] = {{D3DRS_ALPHATESTENABLE, TRUE},          {D3DRS_ALPHAREF, 8},
                         {D3DRS_ALPHAFUNC, D3DCMP_GREATEREQUAL}, {D3DRS_ALPHABLENDENABLE, TRUE},
                         {D3DRS_SRCBLEND, D3DBLEND_SRCALPHA},    {D3DRS_DESTBLEND, D3DBLEND_ONE}};
  std::vector<KvDeviceCallRecord> calls;
  for (auto [state, value] : on) calls.push_back({Call::kSetRenderState, 0, state, value});
  calls.push_back({.call = Call::kSetTexture, .resource = texture});
  calls.push_back({Call::kSetStreamSource, 0, 0, 0, 20, 0, buffer});
  calls.push_back({.call = Call::kSetFVF, .value = 0x102});
  for (UINT i = 0; i < count; ++i) {
    calls.push_back({.call = Call::kSetTransform, .state = D3DTS_WORLD});
    calls.push_back({Call::kDrawPrimitive, 0, D3DPT_TRIANGLESTRIP, 0, 0, 2, buffer});
  }
  calls.push_back({Call::kSetRenderState, 0, D3DRS_ALPHABLENDENABLE, 0});
  calls.push_back({Call::kSetRenderState, 0, D3DRS_ALPHATESTENABLE, 0});
  return calls;
}

auto Fields(const KvDeviceCallRecord& r) {
  return std::tuple(int(r.call), r.slot, r.state, r.value, r.start, r.primitiveCount, r.resource);
}

}  // namespace

TEST(EmitterRender, SetsStatesThenUpdatesAndDrawsEachParticleThenClearsBlending) {
  KvRecordingDevice device;
  for (UINT count : {0u, 7u}) {
    SCOPED_TRACE(count);
    auto emitter = MakeEmitter<KV_FIRE_EMITTER>(device, count);
    device.ClearCalls();
    emitter->Render();
    const auto want = ExpectedRender(count, emitter->texture, emitter->vertexBuffer);
    ASSERT_EQ(device.Calls().size(), want.size());
    for (std::size_t i = 0; i < want.size(); ++i) {
      EXPECT_EQ(Fields(device.Calls()[i]), Fields(want[i])) << "call " << i;
    }
  }
}

// Updates and draws interleave: each particle is spawned before its first draw, and the draw
// uses the roll its own update left. The first fresh flames keep the empty slot's roll of 0,
// eruption columns never roll, the water kinds roll by their own rotation in radians.
TEST(EmitterRender, FirstFrameSpawnsEachParticleAndDrawsItWithItsOwnRoll) {
  KvRecordingDevice device;
  auto fire = MakeEmitter<KV_FIRE_EMITTER>(device, 20);
  auto eruption = MakeEmitter<KV_ERUPTION_EMITTER>(device, 20);
  auto fountain = MakeEmitter<KV_FOUNTAIN_EMITTER>(device, 20);
  auto waterfall = MakeEmitter<KV_WATERFALL_EMITTER>(device, 20);
  KV_EMITTER_BASE* emitters[] = {fire.get(), eruption.get(), fountain.get(), waterfall.get()};
  device.ClearCalls();
  for (KV_EMITTER_BASE* emitter : emitters) emitter->Render();
  const auto draws = device.CallsOf(Call::kDrawPrimitive);
  ASSERT_EQ(draws.size(), 80u);
  for (int d = 0; d < 80; ++d) {
    KV_EMITTER_BASE& emitter = *emitters[d / 20];
    emitter.rollAngle = d < 40 ? 0.0f : emitter.particles[d % 20].rotation.z;
    const D3DXMATRIX own = emitter.BuildBillboardMatrix(d % 20);
    EXPECT_EQ(std::memcmp(&own, &draws[d].matrix, sizeof(own)), 0) << d;
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
  KvTempFolder folder;
  KvWriteBmp(folder.Path("red_green.bmp"), 2, 1, {0xFFFF0000, 0xFF00FF00});
  {
    auto emitter =
        MakeEmitter<KV_ERUPTION_EMITTER>(device, 3, folder.Path("red_green.bmp").c_str());
    const auto created = device.CallsOf(Call::kCreateVertexBuffer);
    ASSERT_EQ(created.size(), 1u);
    EXPECT_EQ(created[0].value, 80u);
    EXPECT_EQ(created[0].state, 0x102u);
    const auto* quad = static_cast<KvMemoryVertexBuffer*>(emitter->vertexBuffer);
    EXPECT_EQ(std::memcmp(quad->Bytes().data(), kBillboardQuad, 80), 0);
    EXPECT_FALSE(quad->Locked());

    ASSERT_NE(emitter->texture, nullptr);  // the red texel is keyed out, the green kept
    const auto& texels = static_cast<KvMemoryTexture*>(emitter->texture)->Texels(0);
    EXPECT_EQ(texels[0], 0u);
    EXPECT_EQ(texels[1], 0xFF00FF00u);
    emitter->Render();
    EXPECT_EQ(device.Texture(0), emitter->texture);
    EXPECT_EQ(device.LiveResources(), 2);
  }
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
