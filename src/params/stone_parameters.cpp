#include "params/stone_parameters.h"

#include <algorithm>
#include <cmath>

#include "model/number_text.h"
#include "params/materials.h"

namespace brillora {

namespace {

// The most decimals an index shows: a design file keeps three, a GemCad file
// may hold a few more.
constexpr int kMostIndexDecimals = 6;

// The bar's position nearest an index, within the bar's range.
int BarPositionOf(double refractiveIndex) {
  const double position = RoundHalfEven(refractiveIndex * 100.0);
  if (!(position >= StoneParameters::kRIBarMin)) return StoneParameters::kRIBarMin;
  return position < StoneParameters::kRIBarMax ? static_cast<int>(position) : StoneParameters::kRIBarMax;
}

// Two decimals, as the bar and the lists give an index, or as many more as an
// index read from a file needs to show as it is.
int IndexDecimals(double refractiveIndex) {
  int decimals = 2;
  while (decimals < kMostIndexDecimals) {
    const double scale = std::pow(10.0, decimals);
    if (std::abs(std::round(refractiveIndex * scale) / scale - refractiveIndex) < 1e-9) break;
    ++decimals;
  }
  return decimals;
}

}  // namespace

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
      riBar_ = BarPositionOf(m.refractiveIndex);
      customIndex_ = riBar_ / 100.0;
    }
  }
}

std::string StoneParameters::RILabel() const {
  return "Refractive Index = " + FormatFixed(refractiveIndex_, 4, IndexDecimals(refractiveIndex_));
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
    refractiveIndex_ = customIndex_;
  } else {
    MoveRIBar(static_cast<int>(RoundHalfEven(refractiveIndex_ * 100.0)));
    customIndex_ = riBar_ / 100.0;
  }
  if (listener_ != nullptr) listener_->RefractiveIndexApplied();
}

void StoneParameters::MoveRIBar(int position) {
  position = std::clamp(position, kRIBarMin, kRIBarMax);
  if (position == riBar_) return;
  riBar_ = position;
  customIndex_ = riBar_ / 100.0;
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
  // The index read is the one in use, as the file holds it, until the user
  // changes it: the bar, in steps of 0.01 from 1.00 to 3.00, only comes as
  // near as it can, and the label shows the index itself.
  refractiveIndex_ = customIndex_ = refractiveIndex;
  if (dispersion) dispersion_ = std::clamp(*dispersion, 0.0, kDispersionMax);
  riBar_ = BarPositionOf(refractiveIndex);
  custom_ = true;
  riBoxColour_ = ListColour::WindowText;
  if (listener_ != nullptr) listener_->RefractiveIndexApplied();
  NotifyControls();
}

void StoneParameters::ComputeWeight() {
  report_ = brillora::ComputeWeight(*stone_, size_, specificGravity_, segmentStart_, segmentEnd_,
                                    std::max(pictureWidth_, 1), heights_);
  segmentLabel_ = report_.Label5;
  if (listener_ != nullptr) listener_->WeightComputed();
}

void StoneParameters::NotifyControls() {
  if (listener_ != nullptr) listener_->ControlsChanged();
}

}  // namespace brillora
