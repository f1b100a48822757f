#include "tests/support/x_files.h"

#include <cstdio>

#include "tests/support/image_files.h"

static void WriteText(const std::string& path, const std::string& text) {
  KvWriteBytes(path, std::vector<unsigned char>(text.begin(), text.end()));
}

void KvWriteGroundX(const std::string& path, float y) {
  char text[1024];
  std::snprintf(text, sizeof text,
                "xof 0303txt 0032\n"
                "Mesh ground {\n 4;\n -10;%f;-10;,\n -10;%f;10;,\n 10;%f;10;,\n 10;%f;-10;;\n"
                " 2;\n 3;0,1,2;,\n 3;0,2,3;;\n}\n",
                y, y, y, y);
  WriteText(path, text);
}

void KvWriteMaterialsX(const std::string& path, const std::vector<std::string>& textures) {
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
  WriteText(path, "xof 0303txt 0032\nMesh parts {\n " + std::to_string(textures.size() * 3) +
                      ";\n" + corners + " " + n + ";\n" + faces + " MeshMaterialList {\n  " + n +
                      ";\n  " + n + ";\n" + numbers + materials + " }\n}\n");
}
