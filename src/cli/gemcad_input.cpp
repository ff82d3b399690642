#include "cli/gemcad_input.h"

#include <algorithm>
#include <cmath>

#include "cli/commands.h"
#include "io/gemcad_file.h"
#include "params/weight.h"

namespace brillora::cli {

bool IsGemCadInput(const std::optional<std::string>& file) { return file && IsGemCadName(*file); }

GemCadDesign LoadGemCad(const std::string& file) { return LoadGemCadWithWarnings(file).design; }

GemCadReadResult LoadGemCadWithWarnings(const std::string& file) {
  GemCadReadResult read = ReadGemCadFile(file);
  if (!read.ok()) throw CommandFailure{kExitUnreadable, read.error};
  return read;
}

Json GemCadJson(const GemCadDesign& design, const Stone& stone) {
  Json tiers = Json::array();
  for (const GemCadTier& tier : design.tiers) {
    tiers.push_back({{"angle", tier.angle}, {"distance", tier.distance}, {"facets", tier.facets.size()}});
  }
  return {
      {"format", "GemCad"},
      {"symmetry", design.symmetry},
      {"gear", design.gearTeeth},
      {"mirror", design.mirror},
      {"refractive_index", design.refractiveIndex},
      {"headings", design.headings},
      {"tiers", tiers},
      {"vertices", stone.AllVertices.size()},
      {"facets", stone.AllFacets.size()},
      {"volume", SixfoldVolume(stone) / 6.0},
  };
}

StoneMeasures GemCadMeasures(const Stone& stone, double mmPerUnit, double specificGravity) {
  StoneMeasures m = MeasureStone(stone, mmPerUnit, specificGravity);
  if (stone.AllVertices.empty()) return m;
  const auto [low, high] = std::minmax_element(stone.AllVertices.begin(), stone.AllVertices.end(),
                                               [](const TVertex& a, const TVertex& b) { return a.z < b.z; });
  m.crownHeightMm = high->z * mmPerUnit;
  m.pavilionHeightMm = -low->z * mmPerUnit;
  m.totalHeightMm = m.crownHeightMm + m.pavilionHeightMm;
  return m;
}

}  // namespace brillora::cli
