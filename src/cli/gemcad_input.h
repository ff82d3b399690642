#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/design_json.h"
#include "io/gemcad_file.h"
#include "model/gemcad_design.h"
#include "params/weight.h"

namespace brillora::cli {

// Whether the design named on the command line is a GemCad design, text or binary.
bool IsGemCadInput(const std::optional<std::string>& file);

// Reads a GemCad design; an unreadable one throws CommandFailure with the reader's message.
GemCadDesign LoadGemCad(const std::string& file);
// The same with what the file says that disagrees with itself.
GemCadReadResult LoadGemCadWithWarnings(const std::string& file);

// A GemCad design read as its stone: the file's figures, and the stone's counts
// and volume in the file's own unit of length.
Json GemCadJson(const GemCadDesign& design, const Stone& stone);

// Heights and weight of a GemCad stone: its facets come in the file's order,
// so the heights are those of its highest and lowest corners over the
// file's centre.
StoneMeasures GemCadMeasures(const Stone& stone, double mmPerUnit, double specificGravity);

}  // namespace brillora::cli
