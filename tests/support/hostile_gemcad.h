#pragma once

#include <cstdint>
#include <string>

namespace brillora::testing {

// The text of a GemCad design no cutter would make, as large as the reader
// takes: `tiers` tiers of `facetsPerTier` facets at random slopes and gear
// indices, every plane touching the unit sphere, so that
// every one becomes a facet of the stone: thousands of small facets of
// every shape, slivers among them, in diamond's refractive index, which keeps
// light inside longest. The same seed gives the same text.
std::string HostileGemCadText(std::uint32_t seed, int tiers = 1000, int facetsPerTier = 5);

}  // namespace brillora::testing
