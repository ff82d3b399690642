#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "model/stone_mesh.h"

namespace brillora {

// Binary STL: an 80-byte header holding `title`, the triangle count, and per
// triangle its normal, three corners and an empty attribute, little-endian
// 32-bit floats.
std::string StlBytes(const StoneMesh& mesh, std::string_view title);

// Wavefront OBJ: the vertices, then one group per tier and side with its
// normals and triangles.
std::string ObjText(const StoneMesh& mesh, std::string_view title);

// Whether a name ends in ".stl" or ".obj", in any case.
bool IsMeshFileName(const std::filesystem::path& file);

// Writes the mesh in the format the extension names; empty when written,
// else the reason.
std::string WriteMeshFile(const std::filesystem::path& file, const StoneMesh& mesh, std::string_view title);

}  // namespace brillora
