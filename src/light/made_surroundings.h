#pragma once

#include <cstdint>
#include <vector>

#include "light/illumination_model.h"

namespace brillora {

// Surroundings made in code for the pictures mode: a front picture (the
// half-space toward the viewer, as EnvPicture maps it) and a black back
// picture. The pictures are RGB bytes of kPictureSize x kPictureSize.

// "Lamps": black, with white discs of kLampRadius degrees at 25, 45 and 65
// degrees from the view axis, seven on each ring, each ring turned a third of
// the lamps' spacing against the one inside it. Fire shows under small
// bright lights on dark surroundings.
inline constexpr double kLampRadius = 2.0;
inline constexpr int kLampsPerRing = 7;
std::vector<std::uint8_t> LampsPicture();

// "ASET": the trade's map of where the light a stone returns comes from:
// blue within `headDegrees` of the view axis (the viewer's head), red to 45
// degrees, green to 90. Under it the picture of the stone is its ASET picture.
std::vector<std::uint8_t> AsetPicture(double headDegrees);
// The head's angle for the ASET map: the light map's head radius, or, while
// that is 0, the light figures' usual 10 degrees.
double AsetHeadDegrees(int headRadius);

// Makes them the model's pictures (masked by its present weights); the mode
// is left to the caller.
void UseLamps(IlluminationModel& model);
void UseAset(IlluminationModel& model, double headDegrees);

}  // namespace brillora
