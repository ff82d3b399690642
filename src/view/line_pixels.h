#pragma once

#include <QPoint>
#include <vector>

namespace brillora {

// The pixels of a line from `from` to `to`, the first included and the last
// not, so that lines drawn end to end touch each pixel once.
std::vector<QPoint> LinePixels(QPoint from, QPoint to);

}  // namespace brillora
