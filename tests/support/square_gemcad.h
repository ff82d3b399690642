#pragma once

namespace brillora::testing {

// A square stone in GemCad's text: four girdle facets at distance 1, a crown
// at 45 degrees meeting the girdle at z = 0.5 and a table at z = 1, a
// pavilion at 45 degrees from the girdle's lower edge at z = 0 to a point at
// z = -1. By hand: table corners (+-0.5, +-0.5, 1), girdle corners
// (+-1, +-1, 0.5) and (+-1, +-1, 0), the culet point (0, 0, -1); volume
// 7/6 + 2 + 4/3 = 4.5. The girdle's line goes on over two more lines.
inline constexpr const char* kSquareGemCadStone =
    "GemCad 5.0\n"
    "g 96 0.0\n"
    "y 4 y\n"
    "I 1.760\n"
    "H A square stone\n"
    "H worked out by hand\n"
    "a -45 0.70710678118654752 0 24 48 72 n P1 G cut the pavilion first\n"
    "a 90 1 0 n G1 24\n"
    "  48 n G3\n"
    "72\n"
    "a 45 1.06066017177982128 0 24 48 72\n"
    "a 0 1 0 n T\n"
    "F footnote one\n";

}  // namespace brillora::testing
