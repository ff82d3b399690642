#include "io/mesh_file.h"

#include <algorithm>
#include <bit>
#include <cctype>
#include <cstdint>
#include <cstdio>

#include "io/atomic_write.h"

namespace brillora {

namespace {

void PutU32(std::string& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xff));
}

void PutFloat(std::string& out, double v) { PutU32(out, std::bit_cast<std::uint32_t>(static_cast<float>(v))); }

void PutVec(std::string& out, Vec3 v) {
  PutFloat(out, v.x);
  PutFloat(out, v.y);
  PutFloat(out, v.z);
}

std::string LowerExtension(const std::filesystem::path& file) {
  std::string extension = file.extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return extension;
}

std::string Line(const char* format, double a, double b, double c, const char* lead) {
  char text[128];
  std::snprintf(text, sizeof text, format, lead, a, b, c);
  return text;
}

}  // namespace

std::string StlBytes(const StoneMesh& mesh, std::string_view title) {
  std::string out(title.substr(0, 80));
  out.resize(80, ' ');
  PutU32(out, static_cast<std::uint32_t>(mesh.TriangleCount()));
  for (const MeshGroup& g : mesh.groups) {
    for (std::size_t t = 0; t < g.triangles.size(); ++t) {
      PutVec(out, g.normals[t]);
      for (int corner : g.triangles[t]) PutVec(out, mesh.vertices[static_cast<std::size_t>(corner)]);
      out.append(2, '\0');
    }
  }
  return out;
}

std::string ObjText(const StoneMesh& mesh, std::string_view title) {
  std::string out = "# ";
  out += title;
  out += "\n# millimetres\n";
  for (const Vec3& v : mesh.vertices) out += Line("%s %.9g %.9g %.9g\n", v.x, v.y, v.z, "v");
  std::size_t normals = 0;
  for (const MeshGroup& g : mesh.groups) {
    out += "g ";
    out += g.name;
    out += '\n';
    for (std::size_t t = 0; t < g.triangles.size(); ++t) {
      out += Line("%s %.9g %.9g %.9g\n", g.normals[t].x, g.normals[t].y, g.normals[t].z, "vn");
      ++normals;
      const std::string n = std::to_string(normals);
      out += "f";
      for (int corner : g.triangles[t]) {
        out += ' ';
        out += std::to_string(corner + 1);
        out += "//";
        out += n;
      }
      out += "\n";
    }
  }
  return out;
}

bool IsMeshFileName(const std::filesystem::path& file) {
  const std::string extension = LowerExtension(file);
  return extension == ".stl" || extension == ".obj";
}

std::string WriteMeshFile(const std::filesystem::path& file, const StoneMesh& mesh, std::string_view title) {
  const std::string extension = LowerExtension(file);
  if (extension == ".stl") return WriteFileAtomically(file, StlBytes(mesh, title));
  if (extension == ".obj") return WriteFileAtomically(file, ObjText(mesh, title));
  std::string message = "Cannot write \"";
  message += file.string();
  message += "\": not an .stl or .obj name";
  return message;
}

}  // namespace brillora
