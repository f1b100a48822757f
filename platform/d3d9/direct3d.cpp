// The Direct3D object: creates devices on windows.
#include "platform/d3d9/device.h"

namespace {

bool SupportedDepthFormat(D3DFORMAT format) {
  return format == D3DFMT_D16 || format == D3DFMT_D32 || format == D3DFMT_D32F_LOCKABLE ||
         format == 75 /* D24S8 */ || format == 77 /* D24X8 */;
}

class Direct3D final : public KvRefCounted<IDirect3D9> {
 public:
  HRESULT CreateDevice(UINT adapter, D3DDEVTYPE deviceType, HWND focusWindow, DWORD,
                       D3DPRESENT_PARAMETERS* parameters, IDirect3DDevice9** device) override {
    if (!device) return D3DERR_INVALIDCALL;
    *device = nullptr;
    if (!parameters || adapter != D3DADAPTER_DEFAULT || deviceType != D3DDEVTYPE_HAL) {
      return D3DERR_INVALIDCALL;
    }
    HWND window = parameters->hDeviceWindow ? parameters->hDeviceWindow : focusWindow;
    if (!IsWindow(window) || !parameters->Windowed) return D3DERR_INVALIDCALL;
    if (parameters->EnableAutoDepthStencil &&
        !SupportedDepthFormat(parameters->AutoDepthStencilFormat)) {
      return D3DERR_INVALIDCALL;
    }
    KvDevice* created = KvDevice::Create(this, window, *parameters);
    if (!created) return D3DERR_NOTAVAILABLE;
    *device = created;
    return D3D_OK;
  }
};

}  // namespace

IDirect3D9* Direct3DCreate9(UINT sdkVersion) {
  if (sdkVersion != D3D_SDK_VERSION) return nullptr;
  return new Direct3D;
}
