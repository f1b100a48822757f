// The running scene on an offscreen window, judged by properties of the picture: a landscape
// rather than a flat colour, a fire brighter than the ground beside it, a view that follows
// the walking camera, and a narrower field of view that magnifies the centre.
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "app/window.h"
#include "platform/testing.h"
#include "tests/support/scene_on_recorder.h"

namespace {

// An 800 × 600 back buffer.
struct Picture {
  std::vector<DWORD> pixels;
  int Channel(int x, int y, int shift) const { return int((pixels[y * 800 + x] >> shift) & 0xFF); }
  // Mean of the three channels over [x0, x1) × [y0, y1), clipped to the picture.
  double Brightness(int x0, int y0, int x1, int y1) const {
    double sum = 0;
    int count = 0;
    for (int y = std::max(0, y0); y < std::min(600, y1); ++y) {
      for (int x = std::max(0, x0); x < std::min(800, x1); ++x, ++count) {
        sum += Channel(x, y, 16) + Channel(x, y, 8) + Channel(x, y, 0);
      }
    }
    return count ? sum / (3.0 * count) : 0;
  }
};

// Mean absolute difference per channel between b and a scaled up by `scale` about the centre.
double Difference(const Picture& a, const Picture& b, double scale = 1.0) {
  double sum = 0;
  for (int y = 0; y < 600; y += 2) {
    for (int x = 0; x < 800; x += 2) {
      const int ax = int(400 + (x - 400) / scale), ay = int(300 + (y - 300) / scale);
      for (int shift : {16, 8, 0})
        sum += std::abs(a.Channel(ax, ay, shift) - b.Channel(x, y, shift));
    }
  }
  return sum / (300 * 400 * 3);
}

class Scene : public ::testing::Test {
 protected:
  Scene() : window(GetModuleHandleA(nullptr), SW_SHOW) { kv_testing::ReleaseAllKeys(); }
  ~Scene() override {
    window.application->Shutdown();
    kv_testing::ReleaseAllKeys();
  }
  KV_APPLICATION& app() { return *window.application; }

  // Runs `count` frames with the keys held, and returns the back buffer after them.
  Picture Frames(int count, std::initializer_list<int> held = {}) {
    for (int key : held) kv_testing::PressKey(key);
    for (int i = 0; i < count; ++i) {
      KvTestClock::Set(now += 17);
      app().Frame();
    }
    for (int key : held) kv_testing::ReleaseKey(key);
    Picture picture;
    UINT width = 0, height = 0;
    EXPECT_TRUE(kv_testing::ReadBackBuffer(app().device, picture.pixels, width, height));
    EXPECT_EQ(width * height, 800u * 600u);
    picture.pixels.resize(800 * 600);
    return picture;
  }

  KvTestClock clock;
  DWORD now = 1000;
  KV_WINDOW window;
};

}  // namespace

TEST_F(Scene, FirstFramesShowTheLandscapeWithSkyAboveAndGroundBelow) {
  ASSERT_TRUE(window.started);
  const Picture picture = Frames(20);
  EXPECT_GT(std::set<DWORD>(picture.pixels.begin(), picture.pixels.end()).size(), 2000u);
  EXPECT_GT(picture.Brightness(0, 0, 800, 600), 30.0);
  // Green grass in the lower part of the picture.
  EXPECT_GT(picture.Channel(400, 560, 8), picture.Channel(400, 560, 16));
  EXPECT_GT(picture.Channel(400, 560, 8), picture.Channel(400, 560, 0));
}

TEST_F(Scene, TheFireIsBrighterThanTheGroundBesideIt) {
  ASSERT_TRUE(window.started);
  const Picture picture = Frames(60);
  D3DXVECTOR3 fire = app().firePitModel->GetPosition(), screen;
  fire.y += 0.8f;  // the middle of the flames
  D3DVIEWPORT9 viewport;
  D3DXMATRIX view, projection, identity;
  app().device->GetViewport(&viewport);
  app().device->GetTransform(D3DTS_VIEW, &view);
  app().device->GetTransform(D3DTS_PROJECTION, &projection);
  D3DXMatrixIdentity(&identity);
  D3DXVec3Project(&screen, &fire, &viewport, &projection, &view, &identity);
  const int x = int(screen.x), y = int(screen.y);
  const double flames = picture.Brightness(x - 20, y - 20, x + 20, y + 20);
  const double beside = picture.Brightness(x + 120, y + 40, x + 160, y + 80);
  EXPECT_GT(flames, beside + 40.0) << "fire at " << x << ", " << y;
}

TEST_F(Scene, WalkingChangesTheViewAndF7MagnifiesTheCentre) {
  ASSERT_TRUE(window.started);
  const Picture start = Frames(20);
  const Picture walked = Frames(60, {'W'});
  EXPECT_GT(Difference(start, walked), 8.0);
  EXPECT_GT(app().camera1->GetPosition().z, -10.0f + 14.0f);
  Frames(1, {VK_F7});
  const Picture zoomed = Frames(80);  // the zoom reaches 10 from 2.5 in 75 frames
  EXPECT_EQ(app().zoom, 10.0f);
  const double magnification = std::tan(3.1415927 / 2.5 / 2) / std::tan(3.1415927 / 10 / 2);
  EXPECT_LT(Difference(walked, zoomed, magnification), Difference(walked, zoomed));
}
