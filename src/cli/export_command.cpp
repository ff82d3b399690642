#include <filesystem>
#include <ostream>

#include "cli/commands.h"
#include "cli/design_json.h"
#include "io/mesh_file.h"
#include "model/stone_mesh.h"

namespace brillora::cli {

namespace {

// The girdle's corner-to-corner width a 3D model gets unless told otherwise.
constexpr double kDefaultDiameterMm = 10.0;

std::string Title(const std::optional<std::string>& file) {
  return "Brillora stone " + (file ? std::filesystem::path(*file).stem().string() : std::string("Default"));
}

}  // namespace

int RunExport(Arguments& args, std::ostream& out) {
  std::optional<std::string> file;
  std::optional<std::string> output;
  double diameter = kDefaultDiameterMm;
  while (!args.Done()) {
    const std::string word = args.Take();
    if (word == "--default") {
      file.reset();
    } else if (word == "-o") {
      output = args.TakeValue();
      if (!output || !IsMeshFileName(*output)) throw UsageError{"-o needs a file name ending in .stl or .obj"};
    } else if (word == "--diameter") {
      const auto value = args.TakeValue();
      const auto number = value ? ParseNumber(*value) : std::nullopt;
      if (!number || !(*number > 0 && *number <= 1e6)) throw UsageError{"--diameter needs a positive number of millimetres"};
      diameter = *number;
    } else if (!word.empty() && word.front() != '-' && !file) {
      file = word;
    } else {
      throw UsageError{"unexpected argument: " + word};
    }
  }
  if (!output) throw UsageError{"export needs -o OUT"};

  const DesignReadResult read = LoadDesign(file);
  EditorObserver quiet;
  const auto editor = StartEditor(file, read, quiet);
  const DesignState& state = editor->State();
  const Stone& stone = *state.stone;
  if (stone.AllFacets.empty()) {
    throw CommandFailure{kExitFailed, "brillora-cli export: the design's planes enclose no stone"};
  }
  // The girdle's corners lie at radius 1, so the width spans two model units.
  const StoneMesh mesh = MeshOfStone(stone, static_cast<int>(state.PavilionSteps.size()),
                                     static_cast<int>(state.CrownSteps.size()), diameter / 2.0);
  const std::string error = WriteMeshFile(*output, mesh, Title(file));
  if (!error.empty()) throw CommandFailure{kExitFailed, "brillora-cli export: " + error};
  Json written = {{"file", *output}, {"vertices", mesh.vertices.size()}, {"triangles", mesh.TriangleCount()},
                  {"groups", mesh.groups.size()}, {"diameter_mm", diameter}};
  out << written.dump(2) << '\n';
  return kExitOk;
}

}  // namespace brillora::cli
