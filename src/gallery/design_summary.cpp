#include "gallery/design_summary.h"

#include <cctype>
#include <memory>
#include <optional>
#include <utility>

#include "analysis/light_figures.h"
#include "io/design_file.h"
#include "io/gemcad_file.h"
#include "model/editor_observer.h"
#include "model/gemcad_design.h"
#include "model/step_editor.h"
#include "trace/frame.h"
#include "view/stone_thumbnail.h"

namespace brillora {
namespace {

// The stone and what the file says of it, before it is judged.
struct BuiltDesign {
  std::shared_ptr<const Stone> stone;
  int symmetry = 0;
  bool mirror = false;
  double refractiveIndex = 0.0;
  std::string error;
};

BuiltDesign Unreadable(std::string error) {
  BuiltDesign built;
  built.error = std::move(error);
  return built;
}

BuiltDesign BuildGemCad(const std::filesystem::path& file) {
  const GemCadReadResult read = ReadGemCadFile(file);
  if (!read.ok()) return Unreadable(read.error);
  return {std::make_shared<const Stone>(GemCadStone(read.design)), read.design.symmetry, read.design.mirror,
          read.design.refractiveIndex, {}};
}

// Built by the step editor, as the design window installs it.
BuiltDesign BuildTiers(const std::filesystem::path& file) {
  const DesignReadResult read = OpenDesignFile(file);
  if (!read.ok()) return Unreadable(read.error);
  EditorObserver quiet;
  const StepEditor editor(read.design, quiet);
  return {editor.State().stone, read.design.SymOrder, false, read.refractiveIndex, {}};
}

std::string Lowercase(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

}  // namespace

bool IsGalleryDesignName(const std::filesystem::path& file) {
  const std::string extension = Lowercase(file.extension().string());
  return extension == ".brl" || extension == ".txt" || IsGemCadName(file);
}

DesignSummary SummariseDesign(const std::filesystem::path& file, int thumbnailSize) {
  DesignSummary summary;
  summary.file = file;
  summary.name = file.stem().string();
  const BuiltDesign built = IsGemCadName(file) ? BuildGemCad(file) : BuildTiers(file);
  if (!built.error.empty()) {
    summary.error = built.error;
    return summary;
  }
  if (!built.stone || built.stone->AllFacets.empty()) {
    summary.error = "its facets enclose no stone";
    return summary;
  }
  summary.symmetry = built.symmetry;
  summary.mirror = built.mirror;
  summary.facets = built.stone->AllFacets.size();
  summary.refractiveIndex = built.refractiveIndex;

  // Dispersion does not change the light returned, only how its colours spread.
  AnalysisSettings settings;
  settings.RefractiveIndex = built.refractiveIndex;
  LightAnalyzer analyzer;
  const LightFigures figures = analyzer.Analyze(*built.stone, IdentityFrame(), settings);
  summary.iso = figures.Iso;
  summary.isoCutShort = figures.CutShort;

  TraceOptions options;
  options.RefractiveIndex = built.refractiveIndex;
  if (std::optional<QImage> picture = StoneThumbnail(*built.stone, options, thumbnailSize)) {
    summary.thumbnail = std::move(*picture);
  }
  return summary;
}

}  // namespace brillora
