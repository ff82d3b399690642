#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "model/editor_observer.h"
#include "model/step_editor.h"

namespace brillora::testing {

// Writes down every notice of the step editor, in order, as short words:
// "stale", "sound:NAME", "rebuilt", "turn". A turn turns the picture it
// stands for over and, as the application does, tells `editor` the side the
// picture shows now.
class RecordingObserver : public EditorObserver {
 public:
  void PictureStale() override { events.push_back("stale"); }
  void PlaySound(std::string_view name) override { events.push_back("sound:" + std::string(name)); }
  void StoneRebuilt() override { events.push_back("rebuilt"); }
  void TurnStoneOver() override {
    events.push_back("turn");
    showsCrown = !showsCrown;
    if (editor != nullptr) editor->SetPictureShowsCrown(showsCrown);
  }

  int Count(std::string_view event) const {
    int n = 0;
    for (const auto& e : events) n += e == event ? 1 : 0;
    return n;
  }

  std::vector<std::string> events;
  bool showsCrown = true;
  StepEditor* editor = nullptr;
};

}  // namespace brillora::testing
