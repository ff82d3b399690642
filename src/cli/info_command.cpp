#include <ostream>

#include "cli/commands.h"
#include "cli/design_json.h"
#include "cli/gemcad_input.h"
#include "params/materials.h"
#include "params/weight.h"

namespace brillora::cli {
namespace {

void AddMeasures(Json& info, const StoneMeasures& m) {
  info["crown_height_mm"] = m.crownHeightMm;
  info["pavilion_height_mm"] = m.pavilionHeightMm;
  info["total_height_mm"] = m.totalHeightMm;
  info["weight_ct"] = m.weightCarats;
}

}  // namespace

int RunInfo(Arguments& args, std::ostream& out) {
  std::optional<std::string> file;
  std::optional<double> diameter;
  double specificGravity = FindMaterial(kDefaultMaterial)->specificGravity;
  bool materialGiven = false, gravityGiven = false, withFacets = false;

  while (!args.Done()) {
    const std::string word = args.Take();
    if (word == "--default") {
      file.reset();
    } else if (word == "--diameter") {
      diameter = TakeDiameter(args);
    } else if (word == "--material") {
      const auto name = args.TakeName();
      if (!name) throw UsageError{"--material needs a material name"};
      const auto material = FindMaterial(*name);
      if (!material) throw UsageError{"unknown material: " + *name};
      specificGravity = material->specificGravity;
      materialGiven = true;
    } else if (word == "--sg") {
      const auto value = args.TakeValue();
      const auto gravity = value ? ParseNumber(*value) : std::nullopt;
      if (!gravity || *gravity <= 0) throw UsageError{"--sg needs a positive number"};
      specificGravity = *gravity;
      gravityGiven = true;
    } else if (word == "--facets") {
      withFacets = true;
    } else if (!word.empty() && word.front() != '-' && !file) {
      file = word;
    } else {
      throw UsageError{"unexpected argument: " + word};
    }
  }
  if (materialGiven && gravityGiven) throw UsageError{"give either --material or --sg"};

  if (IsGemCadInput(file)) {
    // A GemCad design keeps its own unit: the width scales from its girdle's corners.
    const GemCadReadResult read = LoadGemCadWithWarnings(*file);
    const GemCadDesign& gemcad = read.design;
    const Stone stone = GemCadStone(gemcad);
    Json info = GemCadJson(gemcad, stone);
    info["warnings"] = read.warnings;
    if (diameter && !stone.AllFacets.empty()) {
      AddMeasures(info, GemCadMeasures(stone, *diameter / 2.0 / WidestRadius(stone), specificGravity));
    }
    if (withFacets) info["facet_list"] = FacetListJson(stone);
    PrintJson(out, info);
    return kExitOk;
  }
  // The design as the desktop shows it once its editor has installed it.
  const DesignReadResult read = LoadDesign(file);
  EditorObserver quiet;
  const auto editor = StartEditor(file, read, quiet);
  const Stone& stone = *editor->State().stone;
  Json info = DesignJson(editor->CurrentDesign(), stone);
  if (diameter) {
    // The girdle's corner-to-corner width spans two model units.
    AddMeasures(info, MeasureStone(stone, *diameter / 2.0, specificGravity));
  }
  if (withFacets) info["facet_list"] = FacetListJson(stone);
  PrintJson(out, info);
  return kExitOk;
}

}  // namespace brillora::cli
