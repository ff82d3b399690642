#pragma once

#include <string_view>

namespace brillora {

// What the step editor asks of the world outside the design: the picture
// window, the sound player and the parameters window. Every notice defaults to
// doing nothing, so a caller without a picture (a script) can pass the base.
class EditorObserver {
 public:
  virtual ~EditorObserver() = default;

  // The stone changed: the picture must be traced again before it is drawn.
  virtual void PictureStale() {}
  // Play the sound cue of that name (never called with an empty name).
  virtual void PlaySound(std::string_view /*name*/) {}
  // A rebuild ended: repaint the picture and, when the parameters window is
  // shown, recompute the weight and heights.
  virtual void StoneRebuilt() {}
  // Whether the picture currently shows the crown (the viewer looks down on the
  // table) rather than the pavilion.
  virtual bool PictureShowsCrown() const { return true; }
  // Turn the stone over in the picture, as the side switch asks.
  virtual void TurnStoneOver() {}
};

}  // namespace brillora
