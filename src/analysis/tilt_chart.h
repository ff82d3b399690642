#pragma once

#include <vector>

#include <QChart>

#include "analysis/tilt_curve.h"

namespace brillora {

// Shows the tilt curves in `chart`, replacing what it showed: ISO, COS and
// SC2 in percent against the tilt angle, one colour per figure and one line
// style per axis.
void ShowTiltCurves(QChart& chart, const std::vector<TiltCurve>& curves);

}  // namespace brillora
