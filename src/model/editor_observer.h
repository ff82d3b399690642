#pragma once

#include <string_view>

namespace brillora {

// What the step editor asks of the world outside the design: the picture
// window, the sound player and the parameters window. Every notice defaults to
// doing nothing, so a caller without a picture (a script) can pass the base.
class EditorObserver {
 public:
  virtual ~EditorObserver() = default;

  // The design changed: a new stone is being built (the picture learns it
  // from the stone it is then given).
  virtual void PictureStale() {}
  // Play the sound cue of that name (never called with an empty name).
  virtual void PlaySound(std::string_view /*name*/) {}
  // A rebuild ended: repaint the picture and, when the parameters window is
  // shown, recompute the weight and heights.
  virtual void StoneRebuilt() {}
  // Turn the stone over in the picture, as the side switch asks. The editor
  // is told the side the picture then shows (SetPictureShowsCrown) by whoever
  // shows it.
  virtual void TurnStoneOver() {}
};

}  // namespace brillora
