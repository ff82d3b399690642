#include <filesystem>
#include <ostream>

#include "cli/commands.h"
#include "cli/design_json.h"
#include "cli/gemcad_input.h"
#include "io/file_text.h"
#include "io/gemcad_file.h"
#include "io/mesh_file.h"
#include "params/weight.h"
#include "model/stone_mesh.h"

namespace brillora::cli {

namespace {

// The girdle's corner-to-corner width a 3D model gets unless told otherwise.
constexpr double kDefaultDiameterMm = 10.0;

std::string Title(const std::optional<std::string>& file) {
  return "Brillora stone " + (file ? std::filesystem::path(*file).stem().string() : std::string("Default"));
}

// A design that makes no stone is refused for every format alike: a mesh of
// it would be empty, and a GemCad file of it one the readers refuse.
void RefuseEmptyStone(const Stone& stone) {
  if (stone.AllFacets.empty()) {
    throw CommandFailure{kExitUnusable, "brillora-cli export: the design's planes enclose no stone"};
  }
}

int WriteMesh(const Stone& stone, const std::vector<std::string>& names, double diameter, double unitsAcross,
              const std::string& output, const std::string& title, std::ostream& out) {
  const StoneMesh mesh = MeshOfStone(stone, names, diameter / unitsAcross);
  const std::string error = WriteMeshFile(output, mesh, title);
  if (!error.empty()) throw CommandFailure{kExitFailed, "brillora-cli export: " + error};
  Json written = {{"file", output}, {"vertices", mesh.vertices.size()}, {"triangles", mesh.TriangleCount()},
                  {"groups", mesh.groups.size()}, {"diameter_mm", diameter}};
  PrintJson(out, written);
  return kExitOk;
}

int WriteGemCad(const GemCadDesign& design, const std::string& output, const Stone& stone, std::ostream& out) {
  const std::string error = WriteGemCadFile(output, design);
  if (!error.empty()) throw CommandFailure{kExitFailed, "brillora-cli export: " + error};
  std::size_t facets = 0;
  for (const GemCadTier& tier : design.tiers) facets += tier.facets.size();
  Json written = {{"file", output}, {"tiers", design.tiers.size()}, {"facets", facets},
                  {"volume", SixfoldVolume(stone) / 6.0}};
  PrintJson(out, written);
  return kExitOk;
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
      if (output && IsGemCadBinaryName(*output)) {
        throw UsageError{"-o cannot write .gem: GemCad designs are written as .asc text"};
      }
      if (!output || !(IsMeshFileName(*output) || IsGemCadName(*output))) {
        throw UsageError{"-o needs a file name ending in .asc, .stl or .obj"};
      }
    } else if (word == "--diameter") {
      diameter = TakeDiameter(args);
    } else if (!word.empty() && word.front() != '-' && !file) {
      file = word;
    } else {
      throw UsageError{"unexpected argument: " + word};
    }
  }
  if (!output) throw UsageError{"export needs -o OUT"};

  if (IsGemCadInput(file)) {
    const GemCadDesign gemcad = LoadGemCad(*file);
    const Stone stone = GemCadStone(gemcad);
    RefuseEmptyStone(stone);
    if (IsGemCadName(*output)) return WriteGemCad(gemcad, *output, stone, out);
    // The width is measured across the girdle's corners in the file's own unit.
    return WriteMesh(stone, GemCadTierNames(gemcad), diameter, 2.0 * WidestRadius(stone), *output, Title(file), out);
  }
  const DesignReadResult read = LoadDesign(file);
  EditorObserver quiet;
  const auto editor = StartEditor(file, read, quiet);
  const DesignState& state = editor->State();
  RefuseEmptyStone(*state.stone);
  if (IsGemCadName(*output)) {
    // The heading is text: a name that is not UTF-8 is read as the file texts are.
    const std::string name = file ? Utf8FromFileText(std::filesystem::path(*file).stem().string()) : std::string("Default");
    return WriteGemCad(GemCadOf(editor->CurrentDesign(), read.refractiveIndex, name), *output, *state.stone, out);
  }
  // The girdle's corners lie at radius 1, so the width spans two model units.
  return WriteMesh(*state.stone,
                   TierNames(static_cast<int>(state.PavilionSteps.size()), static_cast<int>(state.CrownSteps.size())),
                   diameter, 2.0, *output, Title(file), out);
}

}  // namespace brillora::cli
