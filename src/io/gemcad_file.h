#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "model/gemcad_design.h"

namespace brillora {

// Limits that keep a hostile file from costing more than a real one could.
inline constexpr std::size_t kGemCadMaxBytes = 4 << 20;
inline constexpr std::size_t kGemCadMaxTiers = 1000;
inline constexpr std::size_t kGemCadMaxFacets = 5000;
inline constexpr int kGemCadMaxTeeth = 10000;
inline constexpr int kGemCadMaxSymmetry = 1000;
inline constexpr double kGemCadMinIndex = 1.0;  // refractive index
inline constexpr double kGemCadMaxIndex = 10.0;
// Tiers' distances and gear indices, in either direction.
inline constexpr double kGemCadMaxDistance = 1e6;
inline constexpr double kGemCadMaxGearIndex = 1e6;

struct GemCadReadResult {
  GemCadDesign design;
  std::string error;  // names the line (or byte) and what is wrong with it; empty when read
  // What a readable file says that disagrees with itself, such as corners
  // off their facets' planes.
  std::vector<std::string> warnings;

  bool ok() const { return error.empty(); }
};

// Whether a name ends in ".asc" or ".gem", in any case: a GemCad design.
bool IsGemCadName(const std::filesystem::path& file);
// Whether it ends in ".gem", in any case: GemCad's binary form, read only.
bool IsGemCadBinaryName(const std::filesystem::path& file);

GemCadReadResult ReadGemCadText(std::string_view text);
// Text or binary by the name's extension.
GemCadReadResult ReadGemCadFile(const std::filesystem::path& file);

// The lines of a GemCad text design.
std::string GemCadText(const GemCadDesign& design);

// Why the reader would refuse the design if it were written, naming the first
// bound it passes; empty when it keeps every bound of the reader.
std::string GemCadBeyondBounds(const GemCadDesign& design);

// Written beside the old file and renamed over it; empty when written, else
// the reason. A design beyond the reader's bounds is not written: every file
// written reads back. Designs are written as text only: a .gem name is refused.

std::string WriteGemCadFile(const std::filesystem::path& file, const GemCadDesign& design);

}  // namespace brillora
