#include "light/light_map_controls.h"

#include <algorithm>

namespace brillora {

LightMapEditor::LightMapEditor(IlluminationModel& model) : model_(model) {}

void LightMapEditor::Shown() {
  PressMode(controls_.PressedMode);
  ApplyZoneRules();
}

void LightMapEditor::PressMode(int tag) {
  controls_.PressedMode = std::clamp(tag, 0, 3);
  model_.SetSourceMode(controls_.PressedMode);
}

void LightMapEditor::SetZoneSpin(int which, int value) {
  RangedValue& spin = controls_.ZoneSpins[static_cast<std::size_t>(std::clamp(which, 0, 2))];
  spin.Value = std::clamp(value, spin.Minimum, spin.Maximum);
  ApplyZoneRules();
}

void LightMapEditor::MoveZoneTrack(int which, int position) {
  RangedValue& track = controls_.ZoneTracks[static_cast<std::size_t>(std::clamp(which, 0, 2))];
  track.Value = std::clamp(position, track.Minimum, track.Maximum);
  for (std::size_t k = 0; k < 3; ++k) {
    RangedValue& spin = controls_.ZoneSpins[k];
    spin.Value = std::clamp(controls_.ZoneTracks[k].Value, spin.Minimum, spin.Maximum);
  }
  ApplyZoneRules();
}

void LightMapEditor::ApplyZoneRules() {
  auto& [s1, s2, s3] = controls_.ZoneSpins;
  s1.Maximum = s2.Value;
  s2.Maximum = s3.Value;
  s2.Minimum = s1.Value;
  s3.Minimum = s2.Value;
  auto& [t1, t2, t3] = controls_.ZoneTracks;
  t1.Maximum = s1.Maximum;
  t1.Value = s1.Value;
  t2 = s2;
  t3.Minimum = s3.Minimum;
  t3.Value = s3.Value;
  model_.SetZoneAngles(s1.Value, s2.Value, s3.Value);
}

void LightMapEditor::ClickHead() {
  controls_.HeadDown = !controls_.HeadDown;
  controls_.BodyDown = false;
  ApplyMasks();
}

void LightMapEditor::ClickBody() {
  controls_.BodyDown = !controls_.BodyDown;
  controls_.HeadDown = true;
  ApplyMasks();
}

void LightMapEditor::SetHeadAngle(int degrees) {
  controls_.HeadAngle = std::clamp(degrees, 0, 30);
  if (controls_.HeadAngle > 0) controls_.HeadDown = true;
  ApplyMasks();
}

void LightMapEditor::ApplyMasks() {
  model_.SetHeadAndBody(controls_.HeadDown, controls_.BodyDown, controls_.HeadAngle);
}

void LightMapEditor::SetIntensityLaw(int law) {
  controls_.IntensityLaw = std::clamp(law, 0, 3);
  model_.SetIntensityLaw(controls_.IntensityLaw);
}

void LightMapEditor::SetBackgroundBrightness(int percent) {
  controls_.BackgroundBrightness = std::clamp(percent, 0, 100);
  model_.SetBackgroundBrightness(controls_.BackgroundBrightness);
}

void LightMapEditor::Reset() { model_.ResetTurns(); }

}  // namespace brillora
