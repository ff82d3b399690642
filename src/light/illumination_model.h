#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>

#include "light/env_picture.h"
#include "trace/linear_color.h"
#include "trace/beam_shader.h"
#include "trace/frame.h"
#include "trace/screen_polygon.h"

namespace brillora {

enum class PictureSide { Front, Back };

// The settings of the light map window that the model reads.
struct IlluminationSettings {
  int IntensityLaw = 0;  // 0 "Const", 1 "Cos", 2 "Cos^2", 3 "Cos^4"
  bool HeadOn = false;
  bool BodyOn = false;
  int HeadAngle = 0;               // degrees, 0 .. 30
  int BackgroundBrightness = 100;  // percent, applies to the pictures mode
  std::array<double, 3> ZoneAngles{30, 60, 90};  // degrees, ascending
};

// The surroundings of the stone as a function from directions (view
// coordinates) to linear colours, in one of four modes, with its orientation,
// masks, pictures and the derived background and inner colours.
class IlluminationModel : public BeamShader {
 public:
  IlluminationModel();

  // Source functions; `d` is already turned by EnvTurn.
  LinearColor IlluminationSource(const Vec3& d) const;
  // The colour of the surroundings in view direction `d`.
  LinearColor Lookup(Vec3 d) const;

  // Colours every polygon from its beam chain; `plain` for "Non-transparent".
  void ShadeScreenFacets(ArrayOfFOS& polygons, bool plain) const override;

  // 0 grey, 1 red and blue, 2 zones, 3 pictures.
  int SourceMode() const { return sourceMode_; }
  void SetSourceMode(int mode);

  const IlluminationSettings& Settings() const { return settings_; }
  void SetZoneAngles(double a1, double a2, double a3);
  void SetBackgroundBrightness(int percent);
  // The intensity law of the front picture: rebuilds its weights and masking.
  void SetIntensityLaw(int law);
  // Head and body switches and head angle: rebuild the front weights and mask
  // both pictures.
  void SetHeadAndBody(bool headOn, bool bodyOn, int headAngle);

  // Stretches an RGB pixel buffer (rows from the top) over the whole picture and
  // masks it anew. An empty buffer leaves Source as it was.
  void SetPicture(PictureSide side, std::span<const std::uint8_t> rgb, int width, int height);
  // The same into the rectangle (left, top) to (right, bottom) of Source; the
  // rest keeps what it had.
  void PastePicture(PictureSide side, std::span<const std::uint8_t> rgb, int width, int height, int left, int top,
                    int right, int bottom);
  // Fills the whole picture with one colour and masks it anew.
  void FillPicture(PictureSide side, std::uint8_t r, std::uint8_t g, std::uint8_t b);

  void MasCreate(PictureSide side, bool headOn);
  void Masking(PictureSide side, bool bodyOn);

  // A mouse drag on the sphere display from (prevX, prevY) to (x, y) on a
  // display `width` pixels wide. The left button turns display and surroundings
  // together; the right button turns the surroundings relative to the stone.
  void TurnByMouse(int prevX, int prevY, int x, int y, int width, bool rightButton);
  void ResetTurns();
  // Turns the display and the surroundings together by `turn`, as a left drag
  // does: the stone's colours stay.
  void TurnDisplay(const Frame& turn);

  // Recomputes InnerColor and BGColor and tells the owner (OnChanged).
  void SetBGColor();
  // Called at the end of SetBGColor so that the owner can recolour its polygons.
  std::function<void()> OnChanged;

  // The surroundings as they are now, for readers on other threads: an
  // immutable copy without OnChanged, shared by every caller until the next
  // change (every change ends in SetBGColor). Call it from the thread that
  // owns the model.
  std::shared_ptr<const IlluminationModel> Snapshot() const;

  const Frame& MapView() const { return mapView_; }
  const Frame& MapTurn() const { return mapTurn_; }
  const Frame& EnvTurn() const { return envTurn_; }
  const EnvPicture& Picture(PictureSide side) const { return side == PictureSide::Front ? front_ : back_; }
  const std::array<double, 3>& ZoneCos() const { return zoneCos_; }
  LinearColor InnerColor() const { return innerColor_; }
  LinearColor BGColor() const { return bgColor_; }
  int CosTable(int i, int j) const { return cosTable_[static_cast<std::size_t>(i * kWeightStride + j)]; }

 private:
  EnvPicture& PictureOf(PictureSide side) { return side == PictureSide::Front ? front_ : back_; }
  LinearColor SourcePictures(const Vec3& d) const;
  void UpdateZoneCos();

  IlluminationSettings settings_;
  int sourceMode_ = 0;
  Frame mapView_ = IdentityFrame();
  Frame mapTurn_ = IdentityFrame();
  Frame envTurn_ = IdentityFrame();
  EnvPicture front_;
  EnvPicture back_;
  std::vector<std::int32_t> cosTable_;
  std::array<double, 3> zoneCos_{};
  LinearColor innerColor_;
  LinearColor bgColor_;
  mutable std::shared_ptr<const IlluminationModel> snapshot_;
};

}  // namespace brillora
