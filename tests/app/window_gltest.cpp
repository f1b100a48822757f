// The whole program on an offscreen window: the message pump's endings, the mouse input,
// the set-up on the shipped data and without it, and shutdowns after failed set-ups.
#include <gtest/gtest.h>
#include <unistd.h>

#include "app/window.h"
#include "platform/testing.h"
#include "tests/support/fault_checks.h"
#include "tests/support/image_files.h"

namespace {

// Drains what the previous test left in the message queue.
void DrainMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
  }
}

class Program : public ::testing::Test {
 protected:
  Program() { DrainMessages(); }
  ~Program() override { DrainMessages(); }
  HINSTANCE instance = GetModuleHandleA(nullptr);
};

}  // namespace

TEST_F(Program, EscapeEndsThePumpWithZeroAndLeavesTheWindowOpen) {
  KV_WINDOW* window = new KV_WINDOW(instance, SW_SHOW);
  ASSERT_TRUE(window->started) << KvLastPlatformError();
  PostMessageA(window->windowHandle, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_EQ(RunMessageLoop(*window), 0);
  EXPECT_EQ(window->application->device, nullptr);  // shut down
  EXPECT_EQ(window->application->direct3D, nullptr);
  EXPECT_TRUE(IsWindow(window->windowHandle));
  HWND handle = window->windowHandle;
  delete window;
  DestroyWindow(handle);
}

TEST_F(Program, ClosingTheWindowEndsThePumpWithZero) {
  KV_WINDOW* window = new KV_WINDOW(instance, SW_SHOW);
  ASSERT_TRUE(window->started);
  PostMessageA(window->windowHandle, WM_CLOSE, 0, 0);
  EXPECT_EQ(RunMessageLoop(*window), 0);
  EXPECT_FALSE(IsWindow(window->windowHandle));
  delete window;
}

TEST_F(Program, SetUpOnTheShippedDataGroundsTheSceneAndPlacesTheEmitters) {
  KV_WINDOW window(instance, SW_SHOW);
  ASSERT_TRUE(window.started);
  KV_APPLICATION& app = *window.application;
  EXPECT_FLOAT_EQ(app.zoom, 1.1f);
  EXPECT_EQ(app.activeCamera, &app.camera1);
  const D3DXVECTOR3 eye = app.camera1->GetPosition();
  const D3DXVECTOR3 target = app.camera1->GetTarget();
  EXPECT_EQ(eye.y, target.y);
  EXPECT_LT(eye.y, 2.0f);  // the valley floor lies below 0
  const float ground = app.GroundHeight(D3DXVECTOR3(eye.x, 50, eye.z), 0.0f);
  EXPECT_NEAR(eye.y, ground + 2.0f, 1e-4);
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
  char* previous = getcwd(nullptr, 0);
  ASSERT_EQ(chdir(empty.Path("").c_str()), 0);
  {
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
  ASSERT_EQ(chdir(previous), 0);
  free(previous);
}

TEST_F(Program, MouseInputFailsOnlyAtTheCooperativeLevelWithoutAWindow) {
  KV_WINDOW window(instance, SW_SHOW);
  ASSERT_TRUE(window.started);
  HWND handle = window.windowHandle;
  window.windowHandle = nullptr;
  KV_INPUT input(window, instance);
  window.windowHandle = handle;
  EXPECT_FALSE(input.IsReady());
  ASSERT_NE(input.mouse, nullptr);
  EXPECT_EQ(input.mouse->Acquire(), S_FALSE);  // acquiring was still attempted, and worked
  EXPECT_EQ(input.mouseX, 0);
  EXPECT_EQ(input.mouseY, 0);

  input.mouseState.lX = 5;
  input.AccumulateMotion();
  input.mouseState.lX = -3;
  input.AccumulateMotion();
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

  HWND handle = window.windowHandle;
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
