// 3D models of the stone: read back from the bytes written, every edge is
// shared by exactly two triangles running it in opposite directions, the
// normals point outward, and the enclosed volume is the stone's, measured by
// cutting a box with the design's planes.

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <map>
#include <random>
#include <set>
#include <sstream>

#include "io/design_file.h"
#include "io/mesh_file.h"
#include "model/facet_construction.h"
#include "model/stone_mesh.h"
#include "model/vec3.h"
#include "params/weight.h"
#include "support/halfspace_clip.h"
#include "support/random_design.h"
#include "support/stone_checks.h"

namespace brillora {
namespace {

const std::filesystem::path kSamples = std::filesystem::path(BRILLORA_SOURCE_DIR) / "GEM_DAT";

using Triangle = std::array<Vec3, 3>;

struct ReadMesh {
  std::vector<Triangle> triangles;
  std::vector<Vec3> normals;
  std::set<std::string> groups;
};

float FloatAt(const std::string& bytes, std::size_t at) {
  std::uint32_t v = 0;
  for (int i = 0; i < 4; ++i) v |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
  return std::bit_cast<float>(v);
}

ReadMesh ParseStl(const std::string& bytes) {
  ReadMesh mesh;
  std::uint32_t count = 0;
  for (int i = 0; i < 4; ++i) count |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[80 + i])) << (8 * i);
  EXPECT_EQ(bytes.size(), 84 + 50 * static_cast<std::size_t>(count));
  for (std::uint32_t t = 0; t < count; ++t) {
    const std::size_t at = 84 + 50 * static_cast<std::size_t>(t);
    const auto vec = [&](std::size_t k) {
      return Vec3{FloatAt(bytes, at + 12 * k), FloatAt(bytes, at + 12 * k + 4), FloatAt(bytes, at + 12 * k + 8)};
    };
    mesh.normals.push_back(vec(0));
    mesh.triangles.push_back({vec(1), vec(2), vec(3)});
  }
  return mesh;
}

ReadMesh ParseObj(const std::string& text) {
  ReadMesh mesh;
  std::vector<Vec3> vertices, normals;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    std::istringstream words(line);
    std::string key;
    words >> key;
    if (key == "v" || key == "vn") {
      Vec3 v;
      words >> v.x >> v.y >> v.z;
      (key == "v" ? vertices : normals).push_back(v);
    } else if (key == "g") {
      std::string name;
      words >> name;
      EXPECT_TRUE(mesh.groups.insert(name).second) << "group " << name << " twice";
    } else if (key == "f") {
      Triangle t;
      int normal = 0;
      for (Vec3& corner : t) {
        std::string ref;
        words >> ref;
        const auto slash = ref.find("//");
        corner = vertices.at(static_cast<std::size_t>(std::stoi(ref.substr(0, slash)) - 1));
        normal = std::stoi(ref.substr(slash + 2));
      }
      mesh.triangles.push_back(t);
      mesh.normals.push_back(normals.at(static_cast<std::size_t>(normal - 1)));
    }
  }
  return mesh;
}

// Edges by their end points as written: each directed edge once, and its
// reverse once.
void ExpectClosed(const ReadMesh& mesh, const std::string& what) {
  using Point = std::array<double, 3>;
  std::map<std::pair<Point, Point>, int> edges;
  const auto key = [](Vec3 v) { return Point{v.x, v.y, v.z}; };
  for (const Triangle& t : mesh.triangles) {
    for (int i = 0; i < 3; ++i) ++edges[{key(t[i]), key(t[(i + 1) % 3])}];
  }
  int faults = 0;
  for (const auto& [edge, count] : edges) {
    const auto reverse = edges.find({edge.second, edge.first});
    if (count != 1 || reverse == edges.end() || reverse->second != 1) ++faults;
  }
  EXPECT_EQ(faults, 0) << what << ": edges not shared by exactly two opposite triangles";
  EXPECT_GE(mesh.triangles.size(), 4u) << what;
}

// The signed volume by the divergence theorem; positive only when every
// triangle runs counter-clockwise seen from outside.
double Volume(const ReadMesh& mesh) {
  double six = 0.0;
  for (const Triangle& t : mesh.triangles) six += Dot(t[0], Cross(t[1], t[2]));
  return six / 6.0;
}

void ExpectOutwardNormals(const ReadMesh& mesh, const std::string& what) {
  // The mean of the corners lies inside the convex stone: every facet faces away from it.
  Vec3 inside;
  for (const Triangle& t : mesh.triangles) inside = inside + (1.0 / (3.0 * mesh.triangles.size())) * (t[0] + t[1] + t[2]);
  int faults = 0;
  for (std::size_t i = 0; i < mesh.triangles.size(); ++i) {
    const Triangle& t = mesh.triangles[i];
    const Vec3 n = mesh.normals[i];
    const Vec3 area = Cross(t[1] - t[0], t[2] - t[0]);
    if (std::abs(Length(n) - 1.0) > 1e-6 || Dot(n, t[0] - inside) <= 0 || Dot(area, n) < -1e-9) ++faults;
  }
  EXPECT_EQ(faults, 0) << what;
}

struct Built {
  Design design;
  Stone stone;
};

Built Build(Design design) {
  Stone stone = ConstructStone(design);
  return {std::move(design), std::move(stone)};
}

void CheckExports(const Built& b, double diameter, const std::string& what) {
  const double scale = diameter / 2.0;
  const StoneMesh mesh = MeshOfStone(
      b.stone, TierNames(static_cast<int>(b.design.PavilionSteps.size()), static_cast<int>(b.design.CrownSteps.size())),
      scale);
  const double cube = scale * scale * scale;
  // The stone's own volume, and that of the design's planes cutting a box:
  // the construction takes corners closer than its same-point distance as
  // one, which moves the volume by a few millionths.
  const double expected = SixfoldVolume(b.stone) / 6.0 * cube;
  const double clipped = testing::ClipBox(testing::PlanesOf(b.design)).volume * cube;
  EXPECT_NEAR(expected, clipped, clipped * 1e-4) << what;
  for (const bool stl : {true, false}) {
    const ReadMesh read = stl ? ParseStl(StlBytes(mesh, what)) : ParseObj(ObjText(mesh, what));
    const std::string format = what + (stl ? " STL" : " OBJ");
    ExpectClosed(read, format);
    ExpectOutwardNormals(read, format);
    // STL keeps single precision.
    EXPECT_NEAR(Volume(read), expected, expected * (stl ? 1e-5 : 1e-7)) << format;
    if (!stl) {
      EXPECT_EQ(read.groups.size(), mesh.groups.size()) << format;
    }
  }
}

TEST(MeshFile, EverySampleExportsAClosedMeshOfItsVolume) {
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(kSamples)) {
    if (entry.path().extension() != ".brl") continue;
    ++files;
    DesignReadResult read = OpenDesignFile(entry.path());
    ASSERT_TRUE(read.ok()) << entry.path();
    CheckExports(Build(read.design), 10.0, entry.path().filename().string());
  }
  EXPECT_GE(files, 40);
}

TEST(MeshFile, RandomClosedStonesExportClosedMeshes) {
  std::mt19937 random(3);
  int checked = 0;
  for (int n = 0; n < 200 && checked < 40; ++n) {
    Built b = Build(testing::RandomDesign(random, {.minSymOrder = 3}));
    if (b.stone.AllFacets.empty() || !testing::SurfaceFault(b.stone).empty()) continue;
    ++checked;
    CheckExports(b, 6.5, "random design " + std::to_string(n));
    if (HasFailure()) return;
  }
  EXPECT_GE(checked, 20);
}

TEST(MeshFile, GroupsNameEveryTierOfBothSidesAndTheMillimetresFollowTheDiameter) {
  DesignReadResult read = OpenDesignFile(kSamples / "Default.brl");
  ASSERT_TRUE(read.ok());
  const Built b = Build(read.design);
  const StoneMesh mesh = MeshOfStone(
      b.stone, TierNames(static_cast<int>(b.design.PavilionSteps.size()), static_cast<int>(b.design.CrownSteps.size())),
      5.0);
  std::vector<std::string> names;
  for (const MeshGroup& g : mesh.groups) names.push_back(g.name);
  // The default design: culet, one pavilion tier, the girdle, one crown tier, the table.
  EXPECT_EQ(names, (std::vector<std::string>{"pavilion_culet", "pavilion_1", "crown_girdle", "crown_1", "crown_table"}));
  double widest = 0.0;
  for (const Vec3& v : mesh.vertices) widest = std::max(widest, std::hypot(v.x, v.y));
  EXPECT_NEAR(widest, 5.0, 1e-9) << "10 mm across the girdle's corners";
}

}  // namespace
}  // namespace brillora
