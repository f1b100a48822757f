// The whole program on an offscreen window: the message pump's endings, the mouse input, the
// set-up on the shipped data and without it, and shutdowns after failed set-ups.
#include <gtest/gtest.h>

#include "app/window.h"
#include "platform/testing.h"
#include "tests/support/fault_checks.h"
#include "tests/support/image_files.h"

namespace {

class Program : public ::testing::Test {
 protected:
  Program() { DrainMessages(); }
  ~Program() override { DrainMessages(); }
  static void DrainMessages() {  // what the previous test left in the queue
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
  }
  HINSTANCE instance = GetModuleHandleA(nullptr);
};

}  // namespace

// Escape ends the pump and leaves the window open; closing the window ends it too.
TEST_F(Program, EscapeOrClosingEndsThePumpWithZeroAfterTheShutdown) {
  for (const UINT message : {UINT(WM_KEYDOWN), UINT(WM_CLOSE)}) {
    DrainMessages();  // the quit that destroying the first window posted
    auto* window = new KV_WINDOW(instance, SW_SHOW);
    ASSERT_TRUE(window->started) << KvLastPlatformError();
    const HWND handle = window->windowHandle;
    PostMessageA(handle, message, message == WM_KEYDOWN ? VK_ESCAPE : 0, 0);
    EXPECT_EQ(RunMessageLoop(*window), 0);
    EXPECT_EQ(window->application->device, nullptr);
    EXPECT_EQ(window->application->direct3D, nullptr);
    EXPECT_EQ(bool(IsWindow(handle)), message == WM_KEYDOWN);
    delete window;
    if (message == WM_KEYDOWN) DestroyWindow(handle);
  }
}

TEST_F(Program, SetUpOnTheShippedDataGroundsTheSceneAndPlacesTheEmitters) {
  KV_WINDOW window(instance, SW_SHOW);
  ASSERT_TRUE(window.started);
  KV_APPLICATION& app = *window.application;
  EXPECT_FLOAT_EQ(app.zoom, 1.1f);
  EXPECT_EQ(app.activeCamera, &app.camera1);
  const D3DXVECTOR3 eye = app.camera1->GetPosition();
  EXPECT_EQ(eye.y, app.camera1->GetTarget().y);
  EXPECT_LT(eye.y, 2.0f);  // the valley floor lies below 0
  EXPECT_NEAR(eye.y, app.GroundHeight(D3DXVECTOR3(eye.x, 50, eye.z), 0.0f) + 2.0f, 1e-4);
  ASSERT_NE(app.environmentModel->GetMesh(), nullptr);
  EXPECT_EQ(app.fireEmitter->position, app.firePitModel->GetPosition());
  EXPECT_EQ(app.fountainEmitter->position, app.fountainModel->GetPosition());
  EXPECT_LT(app.firePitModel->GetPosition().y, 0.0f);
  EXPECT_EQ(app.waterfallEmitter->position, D3DXVECTOR3(11, 17, 17));
  EXPECT_EQ(app.camera2->GetPosition(), D3DXVECTOR3(2, 2, -5));
  app.Shutdown();
}

TEST_F(Program, SetUpWithoutDataStillSucceedsAndFramesRun) {
  KvTempFolder empty;
  KvWorkingFolder inEmpty(empty.Path(""));
  KV_WINDOW window(instance, SW_SHOW);
  EXPECT_TRUE(window.started);
  KV_APPLICATION& app = *window.application;
  EXPECT_EQ(app.environmentModel->GetMesh(), nullptr);
  EXPECT_EQ(app.fireEmitter->texture, nullptr);
  kv_testing::KeepPresentedPictures(true);
  for (int i = 0; i < 3; ++i) {
    app.lastFrameTime = timeGetTime() - 100;
    app.Frame();
  }
  kv_testing::KeepPresentedPictures(false);
  std::vector<DWORD> pixels;
  UINT width = 0, height = 0;
  EXPECT_TRUE(kv_testing::ReadPresentedPicture(app.device, pixels, width, height));
  EXPECT_FLOAT_EQ(app.camera1->GetPosition().y, 2.0f);  // no ground: the offset alone
  KvExpectShutdownReleasesEverything(app);
}

TEST_F(Program, MouseInputFailsOnlyAtTheCooperativeLevelWithoutAWindow) {
  KV_WINDOW window(instance, SW_SHOW);
  ASSERT_TRUE(window.started);
  const HWND handle = window.windowHandle;
  window.windowHandle = nullptr;
  KV_INPUT input(window, instance);
  window.windowHandle = handle;
  EXPECT_FALSE(input.IsReady());
  ASSERT_NE(input.mouse, nullptr);
  EXPECT_EQ(input.mouse->Acquire(), S_FALSE);  // acquiring was still attempted, and worked
  EXPECT_EQ(std::pair(input.mouseX, input.mouseY), std::pair(0, 0));
  for (int motion : {5, -3}) {
    input.mouseState.lX = motion;
    input.AccumulateMotion();
  }
  EXPECT_EQ(input.mouseX, 2);
  for (auto [value, down] : {std::pair{0x80, true}, {0xFF, true}, {0x7F, false}}) {
    input.mouseState.rgbButtons[1] = BYTE(value);
    EXPECT_EQ(input.IsButtonDown(1), down) << value;
  }
  window.application->Shutdown();
}

TEST_F(Program, ShutdownAfterAFailedSetUpReleasesWhatExists) {
  KV_WINDOW window(instance, SW_SHOW);
  ASSERT_TRUE(window.started);
  KV_APPLICATION failsAtInput(true, 800, 600);
  EXPECT_FALSE(failsAtInput.Initialize(window, nullptr));  // no module: no DirectInput
  EXPECT_NE(failsAtInput.device, nullptr);
  EXPECT_NE(failsAtInput.input, nullptr);
  EXPECT_EQ(failsAtInput.environmentModel, nullptr);
  failsAtInput.Shutdown();
  EXPECT_EQ(failsAtInput.device, nullptr);

  const HWND handle = window.windowHandle;
  window.windowHandle = nullptr;
  KV_APPLICATION failsAtDevice(true, 800, 600);
  EXPECT_FALSE(failsAtDevice.Initialize(window, instance));
  window.windowHandle = handle;
  EXPECT_NE(failsAtDevice.direct3D, nullptr);
  EXPECT_EQ(failsAtDevice.device, nullptr);
  EXPECT_EQ(failsAtDevice.input, nullptr);
  failsAtDevice.Shutdown();
  EXPECT_EQ(failsAtDevice.direct3D, nullptr);
  window.application->Shutdown();
}
