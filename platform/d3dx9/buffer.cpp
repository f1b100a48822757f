// A plain block of memory handed out as an interface.
#include <vector>

#include "platform/d3dx9.h"
#include "platform/ref_counted.h"

namespace {

class Buffer final : public KvRefCounted<ID3DXBuffer> {
 public:
  explicit Buffer(DWORD size) : bytes_(size, 0) {}
  void* GetBufferPointer() override { return bytes_.empty() ? nullptr : bytes_.data(); }

 private:
  std::vector<BYTE> bytes_;
};

}  // namespace

HRESULT D3DXCreateBuffer(DWORD size, ID3DXBuffer** buffer) {
  if (!buffer) return D3DERR_INVALIDCALL;
  *buffer = new Buffer(size);
  return D3D_OK;
}
