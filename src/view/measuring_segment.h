#pragma once

#include <QPoint>
#include <vector>

namespace brillora {

// The pixels of the measuring segment drawn as a dimension line: the segment
// from `start` to `end` and a 40-pixel tick across each end.
std::vector<QPoint> SegmentPixels(QPoint start, QPoint end);

// True when (x, y) lies closer than 5 pixels to p: near enough to grab a
// segment end.
bool NearPoint(int x, int y, QPoint p);

}  // namespace brillora
