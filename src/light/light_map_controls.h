#pragma once

#include <array>
#include <string>

#include "light/illumination_model.h"

namespace brillora {

// A spin edit or track bar: value and limits.
struct RangedValue {
  int Value = 0;
  int Minimum = 0;
  int Maximum = 0;
};

// The state of the light map window's controls, as its rules leave it.
struct LightMapControls {
  int PressedMode = 0;  // Tag of the mode button that is down: 0 BW, 1 RB, 2 UP, 3 CM
  std::array<RangedValue, 3> ZoneSpins{{{30, 0, 60}, {60, 30, 90}, {90, 60, 180}}};
  std::array<RangedValue, 3> ZoneTracks{{{0, 0, 0}, {60, 30, 90}, {0, 0, 180}}};
  bool HeadDown = false;
  bool BodyDown = false;
  int HeadAngle = 0;  // BodyTrackBar
  int IntensityLaw = 0;
  int BackgroundBrightness = 100;

  bool ZonesPageShown() const { return PressedMode == 2; }
  bool PicturePagesShown() const { return PressedMode == 3; }
  // Pictures of the head and body buttons: 2 or 3 for the head down or up,
  // 4 or 5 for the body.
  int HeadImage() const { return HeadDown ? 2 : 3; }
  int BodyImage() const { return BodyDown ? 4 : 5; }
  std::string HeadLabel() const { return "Head radius = " + std::to_string(HeadAngle) + " deg."; }
  std::string BrightnessLabel() const { return "BG Brightness = " + std::to_string(BackgroundBrightness) + "%."; }
};

// The rules of the light map window's controls, applied to the illumination
// model: the window forwards every user action here and shows the controls
// this leaves.
class LightMapEditor {
 public:
  explicit LightMapEditor(IlluminationModel& model);

  const LightMapControls& Controls() const { return controls_; }
  IlluminationModel& Model() { return model_; }
  const IlluminationModel& Model() const { return model_; }

  // The window shows: the surroundings follow the pressed mode button, and the
  // zone limits are applied.
  void Shown();
  // A mode button is pressed (0 .. 3).
  void PressMode(int tag);
  // A zone spin edit (0 .. 2) takes a value, within its present limits.
  void SetZoneSpin(int which, int value);
  // The user moved a zone track bar (0 .. 2).
  void MoveZoneTrack(int which, int position);
  void ClickHead();
  void ClickBody();
  void SetHeadAngle(int degrees);
  void SetIntensityLaw(int law);
  void SetBackgroundBrightness(int percent);
  // "Reset": the turns of display and surroundings back to none.
  void Reset();

 private:
  // The zone angles stay in order through the limits of the three edits.
  void ApplyZoneRules();
  void ApplyMasks();

  IlluminationModel& model_;
  LightMapControls controls_;
};

}  // namespace brillora
