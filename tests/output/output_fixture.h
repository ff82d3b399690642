#pragma once

#include <memory>

#include "light/illumination_model.h"
#include "model/step_editor.h"
#include "view/refined_pass.h"

// The default design's stone in the grey surroundings, as the windows under
// test draw it.
class OutputFixture {
 public:
  OutputFixture();
  std::shared_ptr<const brillora::Stone> StoneValue() const { return stone_; }
  const brillora::DesignState& State() const { return editor_->State(); }
  const brillora::IlluminationModel& Light() const { return light_; }
  // The crown seen from the front, twelve reflections, edges on.
  brillora::RefineRequest Request(int width, int height) const;

 private:
  brillora::EditorObserver quiet_;
  std::unique_ptr<brillora::StepEditor> editor_;
  std::shared_ptr<const brillora::Stone> stone_;
  brillora::IlluminationModel light_;
};
