#include "camera/input.h"

#include "app/window.h"

// Every step is attempted in order; a failure clears `ready` without stopping the sequence.
// Steps that would need an interface that could not be created are skipped.
KV_INPUT::KV_INPUT(KV_WINDOW& window, HINSTANCE instance) {
  ready = true;
  void* created = nullptr;
  if (FAILED(DirectInput8Create(instance, DIRECTINPUT_VERSION, IID_IDirectInput8A, &created,
                                nullptr))) {
    ready = false;
  }
  directInput = static_cast<IDirectInput8A*>(created);
  if (!directInput || FAILED(directInput->CreateDevice(GUID_SysMouse, &mouse, nullptr))) {
    ready = false;
  }
  if (!mouse || FAILED(mouse->SetDataFormat(&c_dfDIMouse))) ready = false;
  if (!mouse || FAILED(mouse->SetCooperativeLevel(window.windowHandle,
                                                  DISCL_NONEXCLUSIVE | DISCL_FOREGROUND))) {
    ready = false;
  }
  if (!mouse || FAILED(mouse->Acquire())) ready = false;
  mouseY = 0;
  mouseX = 0;
}

KV_INPUT::~KV_INPUT() {
  if (mouse) mouse->Release();
  if (directInput) directInput->Release();
}

bool KV_INPUT::IsReady() {
  return ready;
}

void KV_INPUT::Update() {
  if (!ready) return;
  mouse->Poll();
  mouse->GetDeviceState(sizeof(DIMOUSESTATE), &mouseState);
  AccumulateMotion();
}

void KV_INPUT::AccumulateMotion() {
  mouseX += mouseState.lX;
  mouseY += mouseState.lY;
}

bool KV_INPUT::IsButtonDown(int button) {
  if (button < 0 || button > 3) return false;
  return (mouseState.rgbButtons[button] & 0x80) != 0;
}
