// The system mouse, opened and acquired for the life of the application.
#pragma once

#include "platform/dinput8.h"

class KV_WINDOW;

class KV_INPUT {
 public:
  KV_INPUT(KV_WINDOW& window, HINSTANCE instance);
  ~KV_INPUT();
  KV_INPUT(const KV_INPUT&) = delete;
  KV_INPUT& operator=(const KV_INPUT&) = delete;

  bool IsReady();
  // Reads the mouse once and adds its motion to the virtual cursor.
  void Update();
  void AccumulateMotion();
  bool IsButtonDown(int button);

  bool ready = true;
  IDirectInput8A* directInput = nullptr;
  IDirectInputDevice8A* mouse = nullptr;
  DIMOUSESTATE mouseState{};
  int mouseX = 0;
  int mouseY = 0;
};
