// The render-state values a new device starts with.
#include <bit>

#include "platform/d3d9/device.h"

namespace {

DWORD FloatBits(float value) {
  return std::bit_cast<DWORD>(value);
}

}  // namespace

void KvDefaultRenderStates(std::array<DWORD, D3DRS_COUNT>& states, bool depthBuffer) {
  states.fill(0);
  states[D3DRS_ZENABLE] = depthBuffer ? D3DZB_TRUE : D3DZB_FALSE;
  states[D3DRS_FILLMODE] = D3DFILL_SOLID;
  states[D3DRS_SHADEMODE] = D3DSHADE_GOURAUD;
  states[D3DRS_ZWRITEENABLE] = TRUE;
  states[D3DRS_LASTPIXEL] = TRUE;
  states[D3DRS_SRCBLEND] = D3DBLEND_ONE;
  states[D3DRS_DESTBLEND] = D3DBLEND_ZERO;
  states[D3DRS_CULLMODE] = D3DCULL_CCW;
  states[D3DRS_ZFUNC] = D3DCMP_LESSEQUAL;
  states[D3DRS_ALPHAFUNC] = D3DCMP_ALWAYS;
  states[D3DRS_FOGEND] = FloatBits(1.0f);
  states[D3DRS_FOGDENSITY] = FloatBits(1.0f);
  states[D3DRS_STENCILFAIL] = D3DSTENCILOP_KEEP;
  states[D3DRS_STENCILZFAIL] = D3DSTENCILOP_KEEP;
  states[D3DRS_STENCILPASS] = D3DSTENCILOP_KEEP;
  states[D3DRS_STENCILFUNC] = D3DCMP_ALWAYS;
  states[D3DRS_STENCILMASK] = 0xFFFFFFFF;
  states[D3DRS_STENCILWRITEMASK] = 0xFFFFFFFF;
  states[D3DRS_TEXTUREFACTOR] = 0xFFFFFFFF;
  states[D3DRS_CLIPPING] = TRUE;
  states[D3DRS_LIGHTING] = TRUE;
  states[D3DRS_COLORVERTEX] = TRUE;
  states[D3DRS_LOCALVIEWER] = TRUE;
  states[D3DRS_DIFFUSEMATERIALSOURCE] = D3DMCS_COLOR1;
  states[D3DRS_SPECULARMATERIALSOURCE] = D3DMCS_COLOR2;
  states[D3DRS_POINTSIZE] = FloatBits(1.0f);
  states[D3DRS_POINTSIZE_MIN] = FloatBits(1.0f);
  states[D3DRS_POINTSCALE_A] = FloatBits(1.0f);
  states[D3DRS_MULTISAMPLEANTIALIAS] = TRUE;
  states[D3DRS_MULTISAMPLEMASK] = 0xFFFFFFFF;
  states[D3DRS_POINTSIZE_MAX] = FloatBits(64.0f);
  states[D3DRS_COLORWRITEENABLE] = 0xF;
  states[D3DRS_BLENDOP] = D3DBLENDOP_ADD;
  states[172] = 3;                // D3DRS_POSITIONDEGREE: cubic
  states[173] = 1;                // D3DRS_NORMALDEGREE: linear
  states[178] = FloatBits(1.0f);  // D3DRS_MINTESSELLATIONLEVEL
  states[179] = FloatBits(1.0f);  // D3DRS_MAXTESSELLATIONLEVEL
  states[182] = FloatBits(1.0f);  // D3DRS_ADAPTIVETESS_Z
  for (DWORD ccwStencil = 186; ccwStencil <= 188; ++ccwStencil) {
    states[ccwStencil] = D3DSTENCILOP_KEEP;
  }
  states[189] = D3DCMP_ALWAYS;                    // D3DRS_CCW_STENCILFUNC
  states[190] = states[191] = states[192] = 0xF;  // D3DRS_COLORWRITEENABLE1..3
  states[D3DRS_BLENDFACTOR] = 0xFFFFFFFF;
  states[D3DRS_SRCBLENDALPHA] = D3DBLEND_ONE;
  states[D3DRS_DESTBLENDALPHA] = D3DBLEND_ZERO;
  states[D3DRS_BLENDOPALPHA] = D3DBLENDOP_ADD;
}
