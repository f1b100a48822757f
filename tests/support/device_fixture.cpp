#include "tests/support/device_fixture.h"

#include <cstring>

#include "platform/testing.h"

void KvDeviceTest::Open(int windowWidth, int windowHeight) {
  static const bool registered = [] {
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.lpszClassName = "device test";
    return RegisterClassExA(&windowClass) != 0;
  }();
  ASSERT_TRUE(registered);
  window = CreateWindowExA(0, "device test", "device test", WS_OVERLAPPEDWINDOW, 0, 0, windowWidth,
                           windowHeight, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(window, nullptr) << KvLastPlatformError();
  direct3D = Direct3DCreate9(D3D_SDK_VERSION);
  ASSERT_NE(direct3D, nullptr);
  D3DPRESENT_PARAMETERS parameters = {};
  parameters.BackBufferWidth = 800;
  parameters.BackBufferHeight = 600;
  parameters.BackBufferFormat = D3DFMT_X8R8G8B8;
  parameters.BackBufferCount = 1;
  parameters.SwapEffect = D3DSWAPEFFECT_DISCARD;
  parameters.hDeviceWindow = window;
  parameters.Windowed = TRUE;
  parameters.EnableAutoDepthStencil = TRUE;
  parameters.AutoDepthStencilFormat = D3DFMT_D32F_LOCKABLE;
  parameters.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
  direct3D->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window,
                         D3DCREATE_SOFTWARE_VERTEXPROCESSING, &parameters, &device);
  ASSERT_NE(device, nullptr) << KvLastPlatformError();
}

void KvDeviceTest::TearDown() {
  for (IUnknown* resource : owned)
    if (resource) resource->Release();
  if (device) device->Release();
  if (direct3D) direct3D->Release();
  if (window) DestroyWindow(window);
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) continue;
}

IDirect3DVertexBuffer9* KvDeviceTest::Buffer(const std::vector<KvTestVertex>& vertices) {
  IDirect3DVertexBuffer9* buffer = nullptr;
  const UINT bytes = UINT(vertices.size() * sizeof(KvTestVertex));
  void* memory = nullptr;
  EXPECT_EQ(device->CreateVertexBuffer(bytes, 0, kTestVertexFvf, D3DPOOL_DEFAULT, &buffer, nullptr),
            D3D_OK);
  owned.push_back(buffer);
  if (!buffer || buffer->Lock(0, bytes, &memory, 0) != D3D_OK) {
    ADD_FAILURE() << "no vertex buffer";
    return buffer;
  }
  std::memcpy(memory, vertices.data(), bytes);
  buffer->Unlock();
  device->SetStreamSource(0, buffer, 0, sizeof(KvTestVertex));
  device->SetFVF(kTestVertexFvf);
  return buffer;
}

void KvDeviceTest::DrawQuad(float x0, float y0, float x1, float y1, float z, D3DCOLOR color) {
  // Strip order: bottom left, top left, bottom right, top right (clockwise on screen).
  IDirect3DVertexBuffer9* buffer = Buffer({{x0, y0, z, color, 0, 1},
                                           {x0, y1, z, color, 0, 0},
                                           {x1, y0, z, color, 1, 1},
                                           {x1, y1, z, color, 1, 0}});
  ASSERT_NE(buffer, nullptr);
  EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2), D3D_OK);
  device->SetStreamSource(0, nullptr, 0, 0);
  owned.pop_back();
  buffer->Release();
}

std::vector<DWORD> KvDeviceTest::ReadBack() {
  std::vector<DWORD> pixels;
  UINT width = 0, height = 0;
  EXPECT_TRUE(kv_testing::ReadBackBuffer(device, pixels, width, height));
  EXPECT_EQ(std::pair(width, height), std::pair(800u, 600u));
  pixels.resize(800 * 600);
  return pixels;
}
