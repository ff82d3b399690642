#include "animation_scene.h"

#include <string>

#include "io/design_file.h"
#include "model/facet_construction.h"
#include "trace/ray_tracer.h"
#include "view/animation_frame.h"
#include "view/screen_scale.h"

namespace brillora::testing {

AnimationScene BrilliantScene(int width, int height) {
  DesignReadResult read = OpenDesignFile(std::string(BRILLORA_SOURCE_DIR) + "/GEM_DAT/RoundBrilliant.brl");
  AnimationScene scene;
  scene.stone = std::make_shared<const Stone>(ConstructStone(read.design));
  const IlluminationModel light;
  scene.light = light.Snapshot();
  scene.background = light.BGColor();
  scene.maxLevel = 12;
  scene.options.RefractiveIndex = read.refractiveIndex;
  scene.width = width;
  scene.height = height;
  return scene;
}

ArrayOfFOS TracedFrame(const AnimationScene& scene, int i) {
  RayTracer tracer;
  ArrayOfFOS screen;
  const ScreenScale s = FastScale(scene.width, scene.height);
  tracer.RayTrace(*scene.stone, AnimationFrame(i), screen, scene.maxLevel, s.Scale, s.CentreY, scene.options,
                  *scene.light);
  return screen;
}

}  // namespace brillora::testing
