#include "view/animation_frame.h"

#include <cmath>
#include <numbers>

namespace brillora {

Frame AnimationFrame(int i) {
  Frame m = IdentityFrame();
  RotateFrame(m, 1, 0, std::sin((i + 1) * std::numbers::pi / 50) / 3);
  RotateFrame(m, 0, 1, std::sin((i + 1) * std::numbers::pi / 25) / 2);
  return m;
}

}  // namespace brillora
