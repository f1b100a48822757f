// F3's figures, read from the shipped scene's picture: the particles the three emitters draw,
// and a draw per mesh subset plus a gathered run per emitter; F3 again hides them.
#include <gtest/gtest.h>

#include <array>
#include <map>
#include <string>

#include "app/window.h"
#include "particles/fire_emitter.h"
#include "particles/fountain_emitter.h"
#include "particles/random_source.h"
#include "particles/waterfall_emitter.h"
#include "platform/d3d9/overlay_text.h"
#include "platform/testing.h"
#include "scene/model.h"
#include "tests/support/fault_checks.h"
#include "tests/support/scene_on_recorder.h"

namespace {

using Cells = std::array<int, kKvGlyphRows>;  // a glyph's lit cells, a bit per column

// Each character's cells as the overlay's text builder lays them out, one pixel a cell.
std::map<Cells, char> GlyphsByCells() {
  std::map<Cells, char> glyphs;
  for (char c : std::string("0123456789.ACDEFILMPRSTW")) {
    std::vector<KvOverlayVertex> rectangles;
    KvAppendText(std::string(1, c), 0, 0, 1, 0xFFFFFFFF, rectangles);
    Cells cells{};
    for (size_t i = 0; i + 5 < rectangles.size(); i += 6) {  // two triangles a rectangle
      const KvOverlayVertex &first = rectangles[i], &last = rectangles[i + 4];
      for (int column = int(first.x); column < int(last.x); ++column)
        cells[size_t(first.y)] |= 1 << column;
    }
    glyphs[cells] = c;
  }
  return glyphs;
}

// Line `line` of the overlay in a picture of 800 pixels a row: cells of 2 pixels, glyphs 12
// pixels apart from x = 6, lines 20 pixels apart from y = 9. Text is white; the panel under it
// darkens the scene, so nothing else there is nearly white.
std::string ReadLine(const std::vector<DWORD>& pixels, int line) {
  static const std::map<Cells, char> glyphs = GlyphsByCells();
  std::string text;
  for (int character = 0; character < 16; ++character) {
    Cells cells{};
    for (int row = 0; row < kKvGlyphRows; ++row) {
      for (int column = 0; column < kKvGlyphColumns; ++column) {
        const int x = 6 + 12 * character + 2 * column + 1, y = 9 + 20 * line + 2 * row + 1;
        if ((pixels[size_t(y) * 800 + size_t(x)] & 0xFFFFFF) > 0xE0E0E0) cells[row] |= 1 << column;
      }
    }
    const auto found = glyphs.find(cells);
    text += cells == Cells{} ? ' ' : found != glyphs.end() ? found->second : '?';
  }
  return text.substr(0, text.find_last_not_of(' ') + 1);
}

size_t Subsets(KV_MODEL* model) {
  DWORD entries = 0;
  EXPECT_NE(model->GetMesh(), nullptr) << "Data/ is read from the working directory";
  if (model->GetMesh()) model->GetMesh()->GetAttributeTable(nullptr, &entries);
  return entries;
}

}  // namespace

TEST(FiguresOverlay, ShowsTheParticlesAndDrawsOfTheShippedScene) {
  KvResetRandomSourceForTesting();
  KvTestClock clock;
  KV_WINDOW window(GetModuleHandleA(nullptr), SW_SHOW);
  ASSERT_TRUE(window.started) << KvLastPlatformError();
  KV_APPLICATION& app = *window.application;
  kv_testing::PressKey(VK_F3), kv_testing::ReleaseKey(VK_F3);
  DWORD now = 1000;
  KvRunFrames(app, now, 3);
  std::vector<DWORD> pixels;
  UINT width = 0, height = 0;
  ASSERT_TRUE(kv_testing::ReadBackBuffer(app.device, pixels, width, height));
  const size_t particles = app.fireEmitter->particleCount + app.fountainEmitter->particleCount +
                           app.waterfallEmitter->particleCount;
  const size_t draws = Subsets(app.environmentModel) + Subsets(app.headModel) +
                       Subsets(app.firePitModel) + Subsets(app.fountainModel) + 3;
  EXPECT_EQ(ReadLine(pixels, 1), "PARTICLES " + std::to_string(particles));
  EXPECT_EQ(ReadLine(pixels, 2), "DRAWS " + std::to_string(draws));
  EXPECT_EQ(ReadLine(pixels, 0).substr(0, 4), "FPS ");
  kv_testing::PressKey(VK_F3), kv_testing::ReleaseKey(VK_F3);  // and hides them again
  KvRunFrames(app, now, 1);
  ASSERT_TRUE(kv_testing::ReadBackBuffer(app.device, pixels, width, height));
  EXPECT_NE(ReadLine(pixels, 1), "PARTICLES " + std::to_string(particles));
  app.Shutdown();
}
