#pragma once

#include <memory>

#include "light/illumination_model.h"
#include "model/design.h"
#include "trace/screen_polygon.h"
#include "view/animation_player.h"

namespace brillora::testing {

// The round brilliant sample at 12 reflections in grey surroundings, as an
// animation of a window of width x height pixels traces it.
AnimationScene BrilliantScene(int width, int height);

// Frame i of that scene traced by a tracer of the test's own, mapped to the
// frame's pixels.
ArrayOfFOS TracedFrame(const AnimationScene& scene, int i);

}  // namespace brillora::testing
