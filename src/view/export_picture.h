#pragma once

#include <functional>
#include <optional>
#include <span>
#include <string_view>

#include <QImage>

#include "trace/screen_polygon.h"
#include "view/paint_style.h"
#include "view/screen_scale.h"

namespace brillora {

inline constexpr std::string_view kPictureTooHigh = "The picture size is too high!";

// Gives the polygons of the view to export mapped with the given scale, one
// list or three (PictureTraces::Lines): a new trace at that scale, or a
// second mapping of the last one.
using PolygonsAt = std::function<std::span<const ArrayOfFOS>(const ScreenScale&)>;

// The export of the current view: a 24-bit bitmap of the size asked for, drawn
// by the refined pass run to its end (the export window highlights no step:
// SelectedStep -1). nullopt when memory cannot hold the bitmap (kPictureTooHigh).
std::optional<QImage> ExportPicture(int width, int height, const PolygonsAt& polygonsAt,
                                    const PaintStyle& style);

}  // namespace brillora
