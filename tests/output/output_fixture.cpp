#include "output_fixture.h"

#include "params/materials.h"

using namespace brillora;

OutputFixture::OutputFixture()
    : editor_(std::make_unique<StepEditor>(quiet_)), stone_(editor_->State().stone) {}

RefineRequest OutputFixture::Request(int width, int height) const {
  TraceOptions options;
  options.RefractiveIndex = FindMaterial(kDefaultMaterial)->refractiveIndex;
  const PaintStyle style{light_.BGColor(), true, false, -1};
  return RefineRequest{stone_, light_.Snapshot(), IdentityFrame(), 12, options, style, width, height, std::nullopt};
}
