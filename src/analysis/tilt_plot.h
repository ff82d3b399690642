#pragma once

#include <optional>
#include <string>
#include <vector>

#include "analysis/tilt_curve.h"

namespace brillora {

// True for a file name the plot can be written to: .png or .svg.
bool PlotFormatKnown(const std::string& path);

// Draws the tilt curves into `path` as a PNG picture or an SVG drawing, by the
// file's extension. Needs a QApplication. The file is saved as designs and
// pictures are (AtomicSave): whole or not at all, and only over a regular file
// the user may write. nullopt on success, else the reason it could not be
// written.
std::optional<std::string> WriteTiltPlot(const std::vector<TiltCurve>& curves, const std::string& path);

}  // namespace brillora
