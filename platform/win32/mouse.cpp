// The system mouse: relative motion since the last reading, the wheel, four buttons, read from
// the backend.
#include "platform/dinput8.h"

#include <cstring>

#include "platform/ref_counted.h"
#include "platform/win32/internal.h"

const GUID IID_IDirectInput8A = {
    0xBF798030, 0x483A, 0x4DA2, {0xAA, 0x99, 0x5D, 0x64, 0xED, 0x36, 0x97, 0x00}};
const GUID GUID_SysMouse = {
    0x6F1D2B60, 0xD5A0, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
const GUID GUID_SysKeyboard = {
    0x6F1D2B61, 0xD5A0, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
const DIDATAFORMAT c_dfDIMouse = {24, 16,     0x2 /* relative axes */, sizeof(DIMOUSESTATE),
                                  0,  nullptr};

namespace {

int wheelMotion = 0;

bool SameGuid(const GUID& a, const GUID& b) {
  return std::memcmp(&a, &b, sizeof(GUID)) == 0;
}

class Mouse final : public KvRefCounted<IDirectInputDevice8A> {
 public:
  HRESULT SetDataFormat(const DIDATAFORMAT* format) override {
    if (!format || format->dwDataSize != sizeof(DIMOUSESTATE)) return DIERR_INVALIDPARAM;
    formatSet_ = true;
    return DI_OK;
  }

  HRESULT SetCooperativeLevel(HWND window, DWORD flags) override {
    const bool oneExclusivity =
        ((flags & DISCL_EXCLUSIVE) != 0) != ((flags & DISCL_NONEXCLUSIVE) != 0);
    const bool oneScope = ((flags & DISCL_FOREGROUND) != 0) != ((flags & DISCL_BACKGROUND) != 0);
    if (!IsWindow(window) || !oneExclusivity || !oneScope) return DIERR_INVALIDPARAM;
    return DI_OK;
  }

  HRESULT Acquire() override {
    if (!formatSet_) return DIERR_INVALIDPARAM;
    if (acquired_) return S_FALSE;
    acquired_ = true;
    int dx = 0;
    int dy = 0;
    unsigned buttons = 0;
    KvReadMouse(dx, dy, buttons);  // motion counts from here
    KvMouseWheelTake();
    return DI_OK;
  }

  HRESULT Poll() override { return acquired_ ? DI_NOEFFECT : DIERR_NOTACQUIRED; }

  HRESULT GetDeviceState(DWORD size, LPVOID data) override {
    if (!data || size != sizeof(DIMOUSESTATE)) return DIERR_INVALIDPARAM;
    if (!acquired_) return DIERR_NOTACQUIRED;
    DIMOUSESTATE state{};
    int dx = 0;
    int dy = 0;
    unsigned buttons = 0;
    KvReadMouse(dx, dy, buttons);
    state.lX = dx;
    state.lY = dy;
    state.lZ = KvMouseWheelTake();
    for (int i = 0; i < 4; ++i) state.rgbButtons[i] = (buttons >> i & 1) ? 0x80 : 0;
    std::memcpy(data, &state, sizeof state);
    return DI_OK;
  }

 private:
  bool formatSet_ = false;
  bool acquired_ = false;
};

class DirectInput final : public KvRefCounted<IDirectInput8A> {
 public:
  HRESULT CreateDevice(REFGUID device, IDirectInputDevice8A** created, IUnknown* outer) override {
    if (!created) return E_POINTER;
    *created = nullptr;
    if (outer) return DIERR_NOINTERFACE;
    if (!SameGuid(device, GUID_SysMouse)) return DIERR_DEVICENOTREG;
    *created = new Mouse;
    return DI_OK;
  }
};

}  // namespace

void KvMouseWheelAdd(int delta) {
  wheelMotion += delta;
}

int KvMouseWheelTake() {
  const int motion = wheelMotion;
  wheelMotion = 0;
  return motion;
}

HRESULT DirectInput8Create(HINSTANCE instance, DWORD version, REFIID interfaceId, LPVOID* out,
                           IUnknown* outer) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (!instance) return DIERR_INVALIDPARAM;
  if (version < DIRECTINPUT_VERSION) return DIERR_OLDDIRECTINPUTVERSION;
  if (!SameGuid(interfaceId, IID_IDirectInput8A) || outer) return DIERR_NOINTERFACE;
  *out = static_cast<IDirectInput8A*>(new DirectInput);
  return DI_OK;
}
