#pragma once

#include "model/design.h"

namespace brillora {

// Position of the position bar at start: girdle thickness in thousandths, or a
// tier position in hundredths.
inline constexpr int kStartPositBar = 70;

// The design made at start when no file was named: a girdle tier and one crown
// tier at 40 degrees above a single pavilion tier, 8-fold on the 96 gear. The
// steps are as stored before the editing rules first run.
Design DefaultDesign();

}  // namespace brillora
