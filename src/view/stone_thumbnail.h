#pragma once

#include <optional>

#include <QImage>

#include "model/design.h"
#include "trace/beam_optics.h"

namespace brillora {

// The level the thumbnail traces to: the "N of Reflections" menu's item "12".
inline constexpr int kThumbnailLevel = 12;

// The crown seen from above in the default light, as `render` draws it, in a
// square picture of `size` pixels: the picture a file manager or the gallery
// shows of a design. Drawn without a window, so any thread may draw one;
// nullopt when memory cannot hold the picture.
std::optional<QImage> StoneThumbnail(const Stone& stone, const TraceOptions& options, int size);

}  // namespace brillora
