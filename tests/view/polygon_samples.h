#pragma once

#include <QImage>

#include "model/design.h"
#include "trace/frame.h"
#include "trace/screen_polygon.h"

namespace brillora::testing {

// The facets of `stone` that face the viewer, each coloured by its cosine with
// the view axis as an untraced view shows it, mapped to pixels with the given
// scale and centre row.
ArrayOfFOS ProjectedFacets(const Stone& stone, const Frame& view, int scale, int centreY);

// Convex polygons of random colours scattered over (and past the edges of) a
// bitmap of the given size; `seed` makes the set repeatable.
ArrayOfFOS RandomPolygons(int width, int height, int count, unsigned seed);

// Number of pixels of a 24-bit image with exactly the given colour.
int CountColor(const QImage& image, int red, int green, int blue);

}  // namespace brillora::testing
