#include "tests/support/x_files.h"

#include <cstdio>

std::string KvFlatSquareX(float cx, float cz, float half, float y) {
  char text[1024];
  std::snprintf(text, sizeof text,
                "xof 0303txt 0032\n"
                "Mesh ground {\n 4;\n %f;%f;%f;,\n %f;%f;%f;,\n %f;%f;%f;,\n %f;%f;%f;;\n"
                " 2;\n 3;0,1,2;,\n 3;0,2,3;;\n}\n",
                cx - half, y, cz - half, cx - half, y, cz + half, cx + half, y, cz + half,
                cx + half, y, cz - half);
  return text;
}

std::string KvMaterialsX(const std::vector<std::string>& textures) {
  const size_t n = textures.size();
  std::string x = "xof 0303txt 0032\nMesh parts {\n " + std::to_string(n * 3) + ";\n";
  for (size_t i = 0; i < n; ++i) {
    const std::string z = std::to_string(i);
    x += " 0;0;" + z + ";,\n 0;1;" + z + ";,\n 1;0;" + z + (i + 1 == n ? ";;\n" : ";,\n");
  }
  x += " " + std::to_string(n) + ";\n";
  for (size_t i = 0; i < n; ++i) {
    x += " 3;" + std::to_string(i * 3) + "," + std::to_string(i * 3 + 1) + "," +
         std::to_string(i * 3 + 2) + (i + 1 == n ? ";;\n" : ";,\n");
  }
  x += " MeshMaterialList {\n  " + std::to_string(n) + ";\n  " + std::to_string(n) + ";\n";
  for (size_t i = 0; i < n; ++i) x += "  " + std::to_string(i) + (i + 1 == n ? ";;\n" : ",\n");
  for (const std::string& texture : textures) {
    x += "  Material {\n   1.0;1.0;1.0;1.0;;\n   0.0;\n   0.0;0.0;0.0;;\n   0.0;0.0;0.0;;\n";
    if (!texture.empty()) x += "   TextureFilename { \"" + texture + "\"; }\n";
    x += "  }\n";
  }
  x += " }\n}\n";
  return x;
}
