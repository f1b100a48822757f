#include "xfile_writer.h"

#include <cstdarg>
#include <cstdio>

namespace datagen {
namespace {

class Writer {
 public:
  void Line(const char* format, ...) __attribute__((format(printf, 2, 3)));
  void Raw(const std::string& text) { out_ += text; }
  void Blank() { out_ += '\n'; }
  std::string Take() { return std::move(out_); }

 private:
  std::string out_;
};

void Writer::Line(const char* format, ...) {
  char buffer[256];
  va_list args;
  va_start(args, format);
  std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  out_ += buffer;
  out_ += '\n';
}

// Fixed-point text of v; negative zero is written as zero.
double Clean(double v) {
  return v + 0.0;
}

const char* Separator(std::size_t i, std::size_t count) {
  return i + 1 < count ? "," : ";";
}

void WriteVertices(Writer& w, const Mesh& mesh) {
  std::size_t n = mesh.vertices.size();
  w.Line("  %zu;", n);
  for (std::size_t i = 0; i < n; ++i) {
    Vec3 p = mesh.vertices[i].position;
    w.Line(" %.4f;%.4f;%.4f;%s", Clean(p.x), Clean(p.y), Clean(p.z), Separator(i, n));
  }
}

void WriteFaces(Writer& w, const Mesh& mesh, const char* indent) {
  std::size_t n = mesh.faces.size();
  w.Line("%s%zu;", indent, n);
  for (std::size_t i = 0; i < n; ++i) {
    const auto& f = mesh.faces[i];
    w.Line("%s3;%u,%u,%u;%s", indent, f[0], f[1], f[2], Separator(i, n));
  }
}

void WriteNormals(Writer& w, const Mesh& mesh) {
  std::size_t n = mesh.vertices.size();
  w.Blank();
  w.Line("  MeshNormals {");
  w.Line("   %zu;", n);
  for (std::size_t i = 0; i < n; ++i) {
    Vec3 v = mesh.vertices[i].normal;
    w.Line(" %.4f;%.4f;%.4f;%s", Clean(v.x), Clean(v.y), Clean(v.z), Separator(i, n));
  }
  WriteFaces(w, mesh, " ");
  w.Line("  }");
}

void WriteTextureCoords(Writer& w, const Mesh& mesh) {
  std::size_t n = mesh.vertices.size();
  w.Blank();
  w.Line("  MeshTextureCoords {");
  w.Line("   %zu;", n);
  for (std::size_t i = 0; i < n; ++i) {
    const Vertex& v = mesh.vertices[i];
    w.Line(" %.4f;%.4f;%s", Clean(v.u), Clean(v.v), Separator(i, n));
  }
  w.Line("  }");
}

void WriteColors(Writer& w, const Mesh& mesh) {
  std::size_t n = mesh.vertices.size();
  w.Blank();
  w.Line("  MeshVertexColors {");
  w.Line("   %zu;", n);
  for (std::size_t i = 0; i < n; ++i) {
    Rgb c = mesh.vertices[i].color;
    w.Line(" %zu;%.4f;%.4f;%.4f;1.0000;;%s", i, Clamp(c.r, 0, 1), Clamp(c.g, 0, 1),
           Clamp(c.b, 0, 1), Separator(i, n));
  }
  w.Line("  }");
}

void WriteMaterial(Writer& w, const Material& m) {
  w.Blank();
  w.Line("   Material %s {", m.name.c_str());
  w.Line("    %.6f;%.6f;%.6f;1.000000;;", m.diffuse.r, m.diffuse.g, m.diffuse.b);
  w.Line("    %.6f;", m.power);
  w.Line("    %.6f;%.6f;%.6f;;", m.specular.r, m.specular.g, m.specular.b);
  w.Line("    %.6f;%.6f;%.6f;;", m.emissive.r, m.emissive.g, m.emissive.b);
  if (!m.texture.empty()) {
    // Inside a string a backslash is written twice.
    std::string escaped;
    for (char ch : m.texture) {
      if (ch == '\\') escaped += '\\';
      escaped += ch;
    }
    w.Blank();
    w.Line("    TextureFilename {");
    w.Raw("     \"" + escaped + "\";\n");
    w.Line("    }");
  }
  w.Line("   }");
}

void WriteMaterialList(Writer& w, const Mesh& mesh) {
  std::size_t n = mesh.faceMaterials.size();
  w.Blank();
  w.Line("  MeshMaterialList {");
  w.Line("   %zu;", mesh.materials.size());
  w.Line("   %zu;", n);
  for (std::size_t i = 0; i < n; ++i) w.Line(" %u%s", mesh.faceMaterials[i], Separator(i, n));
  for (const Material& m : mesh.materials) WriteMaterial(w, m);
  w.Line("  }");
}

}  // namespace

std::string FormatXFile(const Mesh& mesh) {
  Writer w;
  w.Line("xof 0303txt 0032");
  w.Blank();
  w.Line("Frame %s {", mesh.name.c_str());
  w.Blank();
  w.Line(" FrameTransformMatrix {");
  w.Line(
      "  1.000000,0.000000,0.000000,0.000000,0.000000,1.000000,0.000000,0.000000,"
      "0.000000,0.000000,1.000000,0.000000,0.000000,0.000000,0.000000,1.000000;;");
  w.Line(" }");
  w.Blank();
  w.Line(" Mesh %sMesh {", mesh.name.c_str());
  WriteVertices(w, mesh);
  WriteFaces(w, mesh, " ");
  WriteNormals(w, mesh);
  WriteTextureCoords(w, mesh);
  WriteColors(w, mesh);
  WriteMaterialList(w, mesh);
  w.Line(" }");
  w.Line("}");
  return w.Take();
}

}  // namespace datagen
