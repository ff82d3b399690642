#pragma once

#include <memory>
#include <optional>
#include <string>

#include "model/design.h"
#include "params/material_list.h"
#include "params/weight.h"

namespace brillora {

// Hears what a change of the stone parameters means for the windows.
class StoneParametersListener {
 public:
  virtual ~StoneParametersListener() = default;
  // The lists, the bar, the check box, the index label or the size text changed.
  virtual void ControlsChanged() {}
  // Weight, heights and segment ratio were computed anew.
  virtual void WeightComputed() {}
  // The refractive index or the dispersion may have changed: the picture
  // must be traced again.
  virtual void RefractiveIndexApplied() {}
};

// The material, size and refractive index of the stone and the controls that
// edit them, without any toolkit: the parameters window shows this state and
// forwards the user's actions to it. The application owns exactly one.
class StoneParameters {
 public:
  enum class Box { SG, RI };
  // The background of the index list: the window colour in list mode, the
  // window-text colour while the bar overrides the list.
  enum class ListColour { Initial, Window, WindowText };

  static constexpr int kRIBarMin = 100;
  static constexpr int kRIBarMax = 300;
  // The dispersions a custom material may have.
  static constexpr double kDispersionMax = 0.3;

  StoneParameters();

  void SetListener(StoneParametersListener* listener) { listener_ = listener; }

  // What the weight is computed from, and where its heights are read.
  void SetStone(std::shared_ptr<const Stone> stone, HeightsFrom heights = HeightsFrom::TableAndCulet) {
    stone_ = std::move(stone);
    heights_ = heights;
  }
  void SetPictureWidth(int width) { pictureWidth_ = width; }

  // --- state shown by the window ---
  const MaterialList& List(Box box) const { return box == Box::SG ? sgBox_ : riBox_; }
  double Size() const { return size_; }
  const std::string& SizeText() const { return sizeText_; }
  double SpecificGravity() const { return specificGravity_; }
  double RefractiveIndex() const { return refractiveIndex_; }
  // The material's dispersion, n(430.8 nm) - n(686.7 nm): the listed
  // material's, or in custom mode the one the user gave. An index typed
  // without a known name keeps the dispersion there was.
  double Dispersion() const { return dispersion_; }
  int RIBar() const { return riBar_; }
  bool Custom() const { return custom_; }
  bool RILabelVisible() const { return custom_; }
  std::string RILabel() const;
  ListColour RIBoxColour() const { return riBoxColour_; }
  PixelPoint SegmentStart() const { return segmentStart_; }
  PixelPoint SegmentEnd() const { return segmentEnd_; }
  // The five result texts; empty (and "[mm]" for the ratio) before the first computation.
  const WeightReport& Report() const { return report_; }
  const std::string& SegmentLabel() const { return segmentLabel_; }

  // --- the user's actions and the rules they run ---
  void SelectEntry(Box box, int index);  // an entry chosen from a list
  void TypeText(Box box, std::string text);
  void SetSizeText(std::string text);
  void SizeChange();  // also when the window is shown
  void MoveRIBar(int position);
  void SetCustom(bool checked);
  // A custom dispersion, kept within 0 .. kDispersionMax: the material
  // becomes custom if it was not.
  void SetDispersion(double dispersion);
  void RIBoxEnter();
  void RIBarEnter();
  void ArrangeAlphabetically();  // "Alfabatical arange"
  void ArrangeByValue();         // "Value arange"
  // After a design file was read with this index, and the dispersion if the
  // file holds one (else the dispersion stays as it was): the index in use,
  // exactly, with the bar as near to it as it goes and "Custom" checked.
  void ApplyLoadedIndex(double refractiveIndex, std::optional<double> dispersion = std::nullopt);
  void SetSegmentStart(PixelPoint p) { segmentStart_ = p; }
  void SetSegmentEnd(PixelPoint p) { segmentEnd_ = p; }

  void BoxChange(Box sender);
  void RIBarChange();
  void ComputeWeight();

 private:
  MaterialList& ListOf(Box box) { return box == Box::SG ? sgBox_ : riBox_; }
  void CustomCheckBoxClick();
  void NotifyControls();

  StoneParametersListener* listener_ = nullptr;
  std::shared_ptr<const Stone> stone_ = std::make_shared<const Stone>();
  HeightsFrom heights_ = HeightsFrom::TableAndCulet;
  int pictureWidth_ = 1;

  MaterialList sgBox_;
  MaterialList riBox_;
  std::string sizeText_ = "10";
  double size_ = 10.0;
  double specificGravity_ = 0.0;
  double refractiveIndex_ = 0.0;
  double dispersion_ = 0.0;
  int riBar_ = kRIBarMin;
  // The index "Custom" stands for: the bar's, or one read from a design file
  // until the bar moves.
  double customIndex_ = 0.0;
  bool custom_ = false;
  ListColour riBoxColour_ = ListColour::Initial;
  PixelPoint segmentStart_{20, 20};
  PixelPoint segmentEnd_{120, 20};
  WeightReport report_;
  std::string segmentLabel_ = "[mm]";
};

}  // namespace brillora
