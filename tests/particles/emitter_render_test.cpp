#include <gtest/gtest.h>

#include <cstring>
#include <memory>
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

template <typename Kind>
std::unique_ptr<Kind> MakeEmitter(KvRecordingDevice& device, UINT count,
                                  const char* texture = "Data\\Texture\\absent-in-unit-tests.png") {
  KvResetRandomSourceForTesting();
  auto emitter = std::make_unique<Kind>(&device, texture, 0xFFFF0000, count);
  emitter->SetPosition(1, 2, 3);
  emitter->SetCameraPosition(0, 4, -20);
  return emitter;
}

}  // namespace

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
  for (KV_EMITTER_BASE* emitter : emitters) emitter->Render();
  const auto& draws = device.draws;
  ASSERT_EQ(draws.size(), 80u);
  for (int d = 0; d < 80; ++d) {
    KV_EMITTER_BASE& emitter = *emitters[d / 20];
    emitter.rollAngle = d < 40 ? 0.0f : emitter.particles[d % 20].rotation.z;
    const D3DXMATRIX own = emitter.BuildBillboardMatrix(d % 20);
    EXPECT_EQ(std::memcmp(&own, &draws[d].world, sizeof(own)), 0) << d;
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
  unfilled->Render();
  bufferless->Render();
  EXPECT_EQ(device.draws.size(), 4u);
}
