#include "params/stone_parameters.h"

#include <algorithm>

#include "model/number_text.h"
#include "params/materials.h"

namespace brillora {

StoneParameters::StoneParameters() {
  for (const Material& m : kMaterials) {
    const int sg = sgBox_.Add(MaterialEntry(m.specificGravity, m.name));
    const int ri = riBox_.Add(MaterialEntry(m.refractiveIndex, m.name));
    if (m.name == kDefaultMaterial) {
      sgBox_.Select(sg);
      riBox_.Select(ri);
      specificGravity_ = m.specificGravity;
      refractiveIndex_ = m.refractiveIndex;
      dispersion_ = m.dispersion;
      riBar_ = static_cast<int>(RoundHalfEven(m.refractiveIndex * 100.0));
    }
  }
}

std::string StoneParameters::RILabel() const {
  return "Refractive Index = " + FormatFixed(refractiveIndex_, 4, 2);
}

void StoneParameters::SelectEntry(Box box, int index) {
  MaterialList& list = ListOf(box);
  if (index < 0 || index >= static_cast<int>(list.Entries().size())) return;
  list.Select(index);
  BoxChange(box);
  NotifyControls();
}

void StoneParameters::TypeText(Box box, std::string text) {
  ListOf(box).SetText(std::move(text));
  BoxChange(box);
  NotifyControls();
}

void StoneParameters::SetSizeText(std::string text) {
  sizeText_ = std::move(text);
  SizeChange();
}

void StoneParameters::SizeChange() {
  // A text that is not a number keeps the last valid size for later computations.
  double value = 0.0;
  if (!ParseCleanNumber(sizeText_, value)) return;
  size_ = value;
  ComputeWeight();
}

void StoneParameters::BoxChange(Box sender) {
  const MaterialList& own = ListOf(sender);
  const Box otherBox = sender == Box::SG ? Box::RI : Box::SG;
  MaterialList& other = ListOf(otherBox);
  double value = 0.0;
  // A typed value that is not a clean number leaves the stored value as it was.
  if (!ParseCleanNumber(std::string_view(own.Text()).substr(0, 4), value)) return;
  (sender == Box::SG ? specificGravity_ : refractiveIndex_) = value;
  const std::string name(EntryName(own.Text()));
  // The index list names the material whose dispersion the stone has, unless
  // the bar and the custom dispersion override it.
  if (sender == Box::RI && !custom_) {
    if (const auto material = FindMaterial(name)) dispersion_ = material->dispersion;
  }
  if (name == EntryName(other.Text())) return;
  const int match = other.FindName(name);
  if (match >= 0) {
    other.Select(match);
    BoxChange(otherBox);
  }
  ComputeWeight();
  RIBarChange();
}

void StoneParameters::RIBarChange() {
  if (custom_) {
    refractiveIndex_ = riBar_ / 100.0;
  } else {
    MoveRIBar(static_cast<int>(RoundHalfEven(refractiveIndex_ * 100.0)));
  }
  if (listener_ != nullptr) listener_->RefractiveIndexApplied();
}

void StoneParameters::MoveRIBar(int position) {
  position = std::clamp(position, kRIBarMin, kRIBarMax);
  if (position == riBar_) return;
  riBar_ = position;
  RIBarChange();
  NotifyControls();
}

void StoneParameters::SetCustom(bool checked) {
  if (checked == custom_) return;
  custom_ = checked;
  CustomCheckBoxClick();
  NotifyControls();
}

void StoneParameters::SetDispersion(double dispersion) {
  dispersion = std::clamp(dispersion, 0.0, kDispersionMax);
  SetCustom(true);
  if (dispersion == dispersion_) return;
  dispersion_ = dispersion;
  if (listener_ != nullptr) listener_->RefractiveIndexApplied();
  NotifyControls();
}

void StoneParameters::CustomCheckBoxClick() {
  riBoxColour_ = custom_ ? ListColour::WindowText : ListColour::Window;
  BoxChange(Box::RI);
  RIBarChange();
}

void StoneParameters::RIBoxEnter() {
  SetCustom(false);
  riBoxColour_ = ListColour::Window;
  NotifyControls();
}

void StoneParameters::RIBarEnter() {
  SetCustom(true);
  riBoxColour_ = ListColour::WindowText;
  NotifyControls();
}

void StoneParameters::ArrangeAlphabetically() {
  sgBox_.ArrangeByName();
  BoxChange(Box::RI);
  riBox_.ArrangeByName();
  BoxChange(Box::SG);
  NotifyControls();
}

void StoneParameters::ArrangeByValue() {
  sgBox_.ArrangeByValue();
  BoxChange(Box::RI);
  riBox_.ArrangeByValue();
  BoxChange(Box::SG);
  NotifyControls();
}

void StoneParameters::ApplyLoadedIndex(double refractiveIndex, std::optional<double> dispersion) {
  refractiveIndex_ = refractiveIndex;
  if (dispersion) dispersion_ = std::clamp(*dispersion, 0.0, kDispersionMax);
  MoveRIBar(static_cast<int>(RoundHalfEven(refractiveIndex * 100.0)));
  SetCustom(true);
  NotifyControls();
}

void StoneParameters::ComputeWeight() {
  report_ = brillora::ComputeWeight(*stone_, size_, specificGravity_, segmentStart_, segmentEnd_,
                                    std::max(pictureWidth_, 1));
  segmentLabel_ = report_.Label5;
  if (listener_ != nullptr) listener_->WeightComputed();
}

void StoneParameters::NotifyControls() {
  if (listener_ != nullptr) listener_->ControlsChanged();
}

}  // namespace brillora
