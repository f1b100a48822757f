// The state cache: every change it makes to OpenGL reports its device group, which the device
// applies again (after the overlay, presentation and uploads it rests on this), and setting what
// OpenGL already has reports nothing; a capability the cache does not know is refused.
#include <array>
#include <functional>

#include "platform/d3d9/device_state.h"
#include "platform/d3d9/gl_cache.h"
#include "tests/support/device_fixture.h"

TEST_F(KvDeviceTest, TheStateCacheReportsEachChangeOnceInItsGroup) {
  Open();  // its context is current
  KvGlCache cache;
  GLuint vertexArray = 0, texture = 0, sampler = 0, buffer = 0;
  glGenVertexArrays(1, &vertexArray), glGenTextures(1, &texture);
  glGenSamplers(1, &sampler), glGenBuffers(1, &buffer);
  std::optional<float> uniformValue;
  const KvVertexLayout layout = KvLayoutOf(D3DFVF_XYZ | D3DFVF_DIFFUSE, 16, 0);
  const std::array<float, 4> colour = {0.5f, 0, 0, 1};
  const std::array<bool, 4> writes = {true, false, true, true};
  const struct {
    const char* name;
    std::function<void()> change;
    unsigned group;
  } changes[] = {
      {"framebuffer", [&] { cache.BindFramebuffer(0); }, kKvDirtyFramebuffer},
      {"program", [&] { cache.UseProgram(0); }, kKvDirtyProgram},
      {"uniform", [&] { cache.Uniform(-1, uniformValue, 0.5f); }, kKvDirtyProgram},
      {"vertex array", [&] { cache.BindVertexArray(vertexArray); }, kKvDirtyStream},
      {"attributes", [&] { cache.PointVertexAttributes(buffer, layout); }, kKvDirtyStream},
      {"texture", [&] { cache.BindTexture(texture); }, kKvDirtyTexture},
      {"sampler", [&] { cache.BindSampler(sampler); }, kKvDirtyTexture},
      {"sampler filter",
       [&] { cache.SamplerParameter(sampler, GL_TEXTURE_MAG_FILTER, GL_NEAREST); },
       kKvDirtyTexture},
      {"viewport", [&] { cache.Viewport(0, 0, 20, 10); }, kKvDirtyViewport},
      {"depth range", [&] { cache.DepthRange(0.25f, 0.5f); }, kKvDirtyViewport},
      {"blend", [&] { cache.Enable(GL_BLEND, true); }, kKvDirtyBlend},
      {"blend function", [&] { cache.BlendFunc(GL_ONE, GL_ONE); }, kKvDirtyBlend},
      {"blend equation", [&] { cache.BlendEquation(GL_FUNC_SUBTRACT); }, kKvDirtyBlend},
      {"blend colour", [&] { cache.BlendColor(colour); }, kKvDirtyBlend},
      {"colour writes", [&] { cache.ColorMask(writes); }, kKvDirtyBlend},
      {"depth test", [&] { cache.Enable(GL_DEPTH_TEST, true); }, kKvDirtyDepth},
      {"depth function", [&] { cache.DepthFunc(GL_GREATER); }, kKvDirtyDepth},
      {"depth writes", [&] { cache.DepthMask(false); }, kKvDirtyDepth},
      {"culling", [&] { cache.Enable(GL_CULL_FACE, true); }, kKvDirtyCull},
      {"winding", [&] { cache.FrontFace(GL_CW); }, kKvDirtyCull},
  };
  for (const auto& c : changes) {
    cache.TakeChanged();
    c.change();
    EXPECT_EQ(cache.TakeChanged(), c.group) << c.name;
    c.change();
    EXPECT_EQ(cache.TakeChanged(), 0u) << c.name << " again";
  }
  EXPECT_FALSE(cache.Enable(GL_DITHER, false));
  EXPECT_TRUE(glIsEnabled(GL_DITHER)) << "an unknown capability reached OpenGL";
  EXPECT_TRUE(cache.Enable(GL_SCISSOR_TEST, true));
  EXPECT_TRUE(glIsEnabled(GL_SCISSOR_TEST));
  EXPECT_EQ(cache.TakeChanged(), 0u) << "the scissor test is no group's";
  cache.Enable(GL_SCISSOR_TEST, false);
  cache.DeleteBuffer(buffer), cache.DeleteVertexArray(vertexArray), cache.DeleteTexture(texture);
  glDeleteSamplers(1, &sampler);
  while (glGetError() != GL_NO_ERROR) {  // a uniform set with no program: nothing the device sees
  }
}
