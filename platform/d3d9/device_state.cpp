// A new device's state: the platform's default render states, written out by name, sampler
// states that wrap and sample the nearest texel, identity transforms and a viewport over the
// whole back buffer.
#include "platform/d3d9/device_state.h"

#include <bit>

namespace {

struct RenderStateDefault {
  D3DRENDERSTATETYPE state;
  DWORD value;
};

constexpr DWORD kOne = std::bit_cast<DWORD>(1.0f);
constexpr DWORD kAllBits = 0xFFFFFFFF;
constexpr DWORD kAllChannels = 0xF;

// States not listed start at 0; the depth test (D3DRS_ZENABLE) depends on the depth buffer.
constexpr RenderStateDefault kRenderStateDefaults[] = {
    {D3DRS_FILLMODE, D3DFILL_SOLID},
    {D3DRS_SHADEMODE, D3DSHADE_GOURAUD},
    {D3DRS_ZWRITEENABLE, TRUE},
    {D3DRS_LASTPIXEL, TRUE},
    {D3DRS_SRCBLEND, D3DBLEND_ONE},
    {D3DRS_DESTBLEND, D3DBLEND_ZERO},
    {D3DRS_CULLMODE, D3DCULL_CCW},
    {D3DRS_ZFUNC, D3DCMP_LESSEQUAL},
    {D3DRS_ALPHAFUNC, D3DCMP_ALWAYS},
    {D3DRS_FOGEND, kOne},
    {D3DRS_FOGDENSITY, kOne},
    {D3DRS_STENCILFAIL, D3DSTENCILOP_KEEP},
    {D3DRS_STENCILZFAIL, D3DSTENCILOP_KEEP},
    {D3DRS_STENCILPASS, D3DSTENCILOP_KEEP},
    {D3DRS_STENCILFUNC, D3DCMP_ALWAYS},
    {D3DRS_STENCILMASK, kAllBits},
    {D3DRS_STENCILWRITEMASK, kAllBits},
    {D3DRS_TEXTUREFACTOR, kAllBits},
    {D3DRS_CLIPPING, TRUE},
    {D3DRS_LIGHTING, TRUE},
    {D3DRS_COLORVERTEX, TRUE},
    {D3DRS_LOCALVIEWER, TRUE},
    {D3DRS_DIFFUSEMATERIALSOURCE, D3DMCS_COLOR1},
    {D3DRS_SPECULARMATERIALSOURCE, D3DMCS_COLOR2},
    {D3DRS_POINTSIZE, kOne},
    {D3DRS_POINTSIZE_MIN, kOne},
    {D3DRS_POINTSCALE_A, kOne},
    {D3DRS_MULTISAMPLEANTIALIAS, TRUE},
    {D3DRS_MULTISAMPLEMASK, kAllBits},
    {D3DRS_POINTSIZE_MAX, std::bit_cast<DWORD>(64.0f)},
    {D3DRS_COLORWRITEENABLE, kAllChannels},
    {D3DRS_BLENDOP, D3DBLENDOP_ADD},
    {D3DRS_POSITIONDEGREE, D3DDEGREE_CUBIC},
    {D3DRS_NORMALDEGREE, D3DDEGREE_LINEAR},
    {D3DRS_MINTESSELLATIONLEVEL, kOne},
    {D3DRS_MAXTESSELLATIONLEVEL, kOne},
    {D3DRS_ADAPTIVETESS_Z, kOne},
    {D3DRS_CCW_STENCILFAIL, D3DSTENCILOP_KEEP},
    {D3DRS_CCW_STENCILZFAIL, D3DSTENCILOP_KEEP},
    {D3DRS_CCW_STENCILPASS, D3DSTENCILOP_KEEP},
    {D3DRS_CCW_STENCILFUNC, D3DCMP_ALWAYS},
    {D3DRS_COLORWRITEENABLE1, kAllChannels},
    {D3DRS_COLORWRITEENABLE2, kAllChannels},
    {D3DRS_COLORWRITEENABLE3, kAllChannels},
    {D3DRS_BLENDFACTOR, kAllBits},
    {D3DRS_SRCBLENDALPHA, D3DBLEND_ONE},
    {D3DRS_DESTBLENDALPHA, D3DBLEND_ZERO},
    {D3DRS_BLENDOPALPHA, D3DBLENDOP_ADD},
};

D3DXMATRIX Identity() {
  D3DXMATRIX m;
  D3DXMatrixIdentity(&m);
  return m;
}

}  // namespace

KvDeviceState::KvDeviceState(UINT width, UINT height, bool depthBuffer)
    : world(Identity()), view(Identity()), projection(Identity()), viewport{0,      0,    width,
                                                                            height, 0.0f, 1.0f} {
  for (const RenderStateDefault& entry : kRenderStateDefaults) {
    renderStates[entry.state] = entry.value;
  }
  renderStates[D3DRS_ZENABLE] = depthBuffer ? D3DZB_TRUE : D3DZB_FALSE;
  for (auto& sampler : samplerStates) {
    sampler[D3DSAMP_ADDRESSU] = sampler[D3DSAMP_ADDRESSV] = sampler[D3DSAMP_ADDRESSW] =
        D3DTADDRESS_WRAP;
    sampler[D3DSAMP_MAGFILTER] = sampler[D3DSAMP_MINFILTER] = D3DTEXF_POINT;
    sampler[D3DSAMP_MIPFILTER] = D3DTEXF_NONE;
    sampler[D3DSAMP_MAXANISOTROPY] = 1;
  }
}

unsigned KvRenderStateGroup(D3DRENDERSTATETYPE state) {
  switch (state) {
    case D3DRS_ALPHABLENDENABLE:
    case D3DRS_SRCBLEND:
    case D3DRS_DESTBLEND:
    case D3DRS_BLENDOP:
    case D3DRS_BLENDFACTOR:
    case D3DRS_COLORWRITEENABLE:
      return kKvDirtyBlend;
    case D3DRS_ZENABLE:
    case D3DRS_ZFUNC:
    case D3DRS_ZWRITEENABLE:
      return kKvDirtyDepth;
    case D3DRS_CULLMODE:
      return kKvDirtyCull;
    case D3DRS_ALPHATESTENABLE:
    case D3DRS_ALPHAFUNC:
    case D3DRS_ALPHAREF:
      return kKvDirtyAlphaTest;
    default:
      return 0;
  }
}
