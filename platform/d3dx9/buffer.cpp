// A plain block of memory handed out as an interface: the whole ID3DXBuffer.
#include <vector>

#include "platform/d3dx9/com_object.h"

namespace {

class Buffer final : public KvComObject<ID3DXBuffer> {
 public:
  explicit Buffer(DWORD size) : bytes_(size, 0) {}
  HRESULT QueryInterface(REFIID riid, void** out) override {
    return Query(riid, out, {&IID_ID3DXBuffer});
  }
  void* GetBufferPointer() override { return bytes_.empty() ? nullptr : bytes_.data(); }
  DWORD GetBufferSize() override { return DWORD(bytes_.size()); }

 private:
  std::vector<BYTE> bytes_;
};

}  // namespace

HRESULT D3DXCreateBuffer(DWORD size, ID3DXBuffer** buffer) {
  if (!buffer) return D3DERR_INVALIDCALL;
  *buffer = new Buffer(size);
  return D3D_OK;
}
