// Loads each mesh and texture named on the command line through whichever D3DX it is linked
// with (the system's, or ours) on a Direct3D 9 device, and prints one line per file: a mesh's
// faces, vertices and materials, a texture's size in the file, its size and its levels.
// The Wine suite compares the two builds' lines.
#include <windows.h>
#include <d3d9.h>
#include <d3dx9.h>

#include <cstdio>
#include <cstring>

namespace {

void Mesh(IDirect3DDevice9* device, const char* name) {
  ID3DXMesh* mesh = nullptr;
  ID3DXBuffer* materials = nullptr;
  DWORD count = 0;
  if (FAILED(D3DXLoadMeshFromXA(name, D3DXMESH_SYSTEMMEM, device, nullptr, &materials, nullptr,
                                &count, &mesh))) {
    std::printf("%s failed\n", name);
    return;
  }
  std::printf("%s faces %lu vertices %lu materials %lu\n", name, mesh->GetNumFaces(),
              mesh->GetNumVertices(), count);
  if (materials) materials->Release();
  mesh->Release();
}

void Texture(IDirect3DDevice9* device, const char* name) {
  IDirect3DTexture9* texture = nullptr;
  D3DXIMAGE_INFO info = {};
  D3DSURFACE_DESC desc = {};
  if (FAILED(D3DXCreateTextureFromFileExA(device, name, D3DX_DEFAULT, D3DX_DEFAULT, D3DX_DEFAULT,
                                          0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, D3DX_DEFAULT,
                                          D3DX_DEFAULT, 0, &info, nullptr, &texture)) ||
      FAILED(texture->GetLevelDesc(0, &desc))) {
    std::printf("%s failed\n", name);
    return;
  }
  std::printf("%s image %ux%u texture %ux%u levels %lu\n", name, info.Width, info.Height,
              desc.Width, desc.Height, texture->GetLevelCount());
  texture->Release();
}

}  // namespace

int main(int argc, char** argv) {
  HWND window = CreateWindowExA(0, "STATIC", "loader", WS_POPUP, 0, 0, 64, 64, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
  IDirect3D9* direct3D = Direct3DCreate9(D3D_SDK_VERSION);
  D3DPRESENT_PARAMETERS parameters = {};
  parameters.Windowed = TRUE;
  parameters.SwapEffect = D3DSWAPEFFECT_DISCARD;
  IDirect3DDevice9* device = nullptr;
  if (!window || !direct3D ||
      FAILED(direct3D->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window,
                                    D3DCREATE_SOFTWARE_VERTEXPROCESSING, &parameters, &device))) {
    std::fprintf(stderr, "no Direct3D 9 device\n");
    return 1;
  }
  for (int i = 1; i < argc; ++i) {
    const char* dot = std::strrchr(argv[i], '.');
    (dot && _stricmp(dot, ".x") == 0 ? Mesh : Texture)(device, argv[i]);
  }
  device->Release();
  direct3D->Release();
  return 0;
}
