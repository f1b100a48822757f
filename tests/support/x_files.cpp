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
  const std::string n = std::to_string(textures.size());
  std::string corners, faces, numbers, materials;
  for (size_t i = 0; i < textures.size(); ++i) {
    const std::string z = std::to_string(i), end = i + 1 == textures.size() ? ";;\n" : ";,\n";
    corners += " 0;0;" + z + ";,\n 0;1;" + z + ";,\n 1;0;" + z + end;
    faces += " 3;" + std::to_string(i * 3) + "," + std::to_string(i * 3 + 1) + "," +
             std::to_string(i * 3 + 2) + end;
    numbers += "  " + z + (end == ";;\n" ? ";;\n" : ",\n");
    materials +=
        "  Material {\n   1.0;1.0;1.0;1.0;;\n   0.0;\n   0.0;0.0;0.0;;\n   0.0;0.0;0.0;;\n";
    if (!textures[i].empty()) materials += "   TextureFilename { \"" + textures[i] + "\"; }\n";
    materials += "  }\n";
  }
  return "xof 0303txt 0032\nMesh parts {\n " + std::to_string(textures.size() * 3) + ";\n" +
         corners + " " + n + ";\n" + faces + " MeshMaterialList {\n  " + n + ";\n  " + n + ";\n" +
         numbers + materials + " }\n}\n";
}
